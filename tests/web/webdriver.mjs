// WebKitGTK, the engine of Safari, driven through its W3C WebDriver server
// (WebKitWebDriver, from Debian's webkit2gtk-driver) over plain HTTP. It offers
// the few calls of a browser and a page that the browser tests make, so the
// same table of cases runs here; what WebDriver cannot express (a device pixel
// ratio, the requests a page makes) the tests leave to the other engines.
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import {bound} from './page.mjs';

const miniBrowser = process.env.VELMAR_MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer().listen(0, '127.0.0.1', () => {
      const {port} = server.address();
      server.close(() => resolve(port));
    }).on('error', reject);
  });
}

// Key names as the tests give them, to WebDriver's key values.
const special = {
  Alt: '\uE00A', Shift: '\uE008', Control: '\uE009', Tab: '\uE004', Enter: '\uE007',
  Escape: '\uE00C', End: '\uE010', Home: '\uE011',
};
const keyValue = name => special[name] ||
  (/^Digit\d$/.test(name) ? name.slice(5) : /^Key[A-Z]$/.test(name) ? name.slice(3).toLowerCase() : name);

class Page {
  constructor(call) {
    this.call = call;
    this.keyboard = {
      down: key => this.keys([{type: 'keyDown', value: keyValue(key)}]),
      up: key => this.keys([{type: 'keyUp', value: keyValue(key)}]),
      press: key => this.keys([{type: 'keyDown', value: keyValue(key)}, {type: 'keyUp', value: keyValue(key)}]),
      type: text => this.keys([...text].flatMap(c => [{type: 'keyDown', value: c}, {type: 'keyUp', value: c}])),
    };
  }
  keys(actions) {
    return this.call('POST', '/actions', {actions: [{type: 'key', id: 'keyboard', actions}]});
  }
  goto(url) { return this.call('POST', '/url', {url}); }
  reload() { return this.call('POST', '/refresh', {}); }
  evaluate(fn, ...args) {
    return this.call('POST', '/execute/sync', {script: `return (${fn}).apply(null, arguments);`, args});
  }
  async waitForFunction(fn, options = {}, ...args) {
    const deadline = Date.now() + (options.timeout || bound);
    for (;;) {
      const value = await this.evaluate(fn, ...args);
      if (value)
        return value;
      if (Date.now() > deadline)
        throw new Error(`waiting for ${fn} timed out`);
      await new Promise(resolve => setTimeout(resolve, 50));
    }
  }
  async $(selector) {
    const element = await this.call('POST', '/element', {using: 'css selector', value: selector});
    const id = Object.values(element)[0];
    return {
      click: () => this.call('POST', `/element/${id}/click`, {}),
      screenshot: async ({path}) => fs.writeFileSync(path, Buffer.from(await this.call('GET', `/element/${id}/screenshot`), 'base64')),
    };
  }
  async click(selector) { await (await this.$(selector)).click(); }
  focus(selector) { return this.evaluate(s => document.querySelector(s).focus(), selector); }
  addScriptTag({content}) { return this.call('POST', '/execute/sync', {script: content, args: []}); }
  // The window's size as the page's viewport; a device pixel ratio of its own
  // is beyond WebDriver.
  async setViewport({width, height, deviceScaleFactor = 1}) {
    if (deviceScaleFactor !== 1)
      throw new Error('WebDriver sets no device pixel ratio');
    const [dw, dh] = await this.evaluate(() => [outerWidth - innerWidth, outerHeight - innerHeight]);
    await this.call('POST', '/window/rect', {width: width + dw, height: height + dh});
  }
  on() {} // no request events: the tests read the page's own resource timing instead
  async close() {}
}

export async function openWebKit() {
  const port = await freePort();
  const driver = spawn('WebKitWebDriver', [`--port=${port}`], {stdio: 'ignore'});
  const base = `http://127.0.0.1:${port}`;
  const request = async (method, url, body) => {
    const response = await fetch(base + url, {
      method, headers: {'Content-Type': 'application/json'}, body: body && JSON.stringify(body),
    });
    const {value} = await response.json();
    if (!response.ok)
      throw new Error(`${method} ${url}: ${value.error}: ${value.message}`);
    return value;
  };
  // Ready once it answers; a driver that has ended, or the bound, ends the wait.
  let ended = null;
  driver.on('exit', code => { ended = code; });
  for (const deadline = Date.now() + bound; ;) {
    try {
      if ((await request('GET', '/status')).ready)
        break;
    } catch (error) {
      if (ended !== null || Date.now() > deadline)
        throw error;
    }
    await new Promise(resolve => setTimeout(resolve, 50));
  }
  const {sessionId} = await request('POST', '/session', {capabilities: {alwaysMatch: {
    browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': {binary: miniBrowser, args: ['--automation']},
  }}});
  const call = (method, url, body) => request(method, `/session/${sessionId}${url}`, body);
  // One window for all: each case opens the page afresh in it, at its size.
  const size = await call('GET', '/window/rect');
  return {
    async newPage() {
      await call('POST', '/window/rect', {width: size.width, height: size.height});
      return new Page(call);
    },
    async close() {
      await request('DELETE', `/session/${sessionId}`).catch(() => {});
      driver.kill();
    },
  };
}
