// The browser edition end to end: the one page, opened from disk in a real
// browser, driven with the browser's own key and mouse input, checked from what
// a user sees and hears and from the text the form reads back.
//   node e2e.mjs chromium|firefox|webkit MODE PAGE CASES [DESKTOP_SHOTS]
// MODE "file" opens the page from disk; "served" from a web server on loopback,
// under the README's Content-Security-Policy and sandboxed with scripts only;
// "jitless" (Chromium) from disk with the JavaScript JIT off, where
// WebAssembly cannot compile; "no-webassembly" from disk with WebAssembly gone
// (Chromium: deleted before the page's scripts run; Firefox: turned off);
// "site" (Chromium, WebKitGTK) from the course site (build-web/site/ beside PAGE) on
// loopback, each case after a first visit and with the site's server gone.
// CASES is the desktop tests' cases.json: the four exact texts, and the box's
// texts with what the box shows of each; DESKTOP_SHOTS the
// folder where the desktop's end-to-end test leaves its window's pictures
// (startup.png, calculated.png), for the page's canvas to equal. A case is one
// row of the table below; each runs on a freshly opened page.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {createRequire} from 'node:module';
import {open, bound, cases as sharedCases} from './page.mjs';
import {openWebKit} from './webdriver.mjs';

const [browserName, mode, pageFile, casesFile, desktopShots] = process.argv.slice(2);
const require = createRequire(import.meta.url);
const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const {runs: expected, spoken, boxTexts, accessKeys} = sharedCases(casesFile);
const chromium = browserName === 'chromium';
const webkit = browserName === 'webkit';
const served = mode === 'served';
const withoutWebAssembly = mode === 'jitless' || mode === 'no-webassembly';
// The rows that open pages of their own try rooms and frames, not the program's
// build: they run in the plain modes.
const plain = mode === 'file';
const fromSite = mode === 'site';
const siteFolder = path.join(path.dirname(pageFile), 'site');
// WebDriver sets no device pixel ratio: the cases that need one run in the
// other two engines.
const setsRatio = !webkit;
const opened = () => performance.getEntriesByName('velmar-open').length > 0;

// The page on loopback, as a course site serves it: under the README's policy
// (and, for the table, sandboxed with scripts only), or sandboxed without
// scripts; and a course page on another port (another origin) that frames it.
const policy = fs.readFileSync(new URL('../../README.md', import.meta.url), 'utf8')
  .match(/^Content-Security-Policy: (.+)$/m)[1];
const pageBytes = fs.readFileSync(pageFile);
function serve(routes) {
  const server = http.createServer((request, response) => {
    const route = routes[new URL(request.url, 'http://x').pathname];
    if (!route) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': 'text/html; charset=utf-8', ...route.headers}).end(route.body);
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => {
    server.unref();
    resolve(`http://127.0.0.1:${server.address().port}`);
  }));
}
const site = await serve({
  '/integration-velmar.html': {body: pageBytes, headers: {'Content-Security-Policy': policy}},
  '/sandboxed.html': {body: pageBytes, headers: {'Content-Security-Policy': [policy, 'sandbox allow-scripts']}},
  '/no-scripts.html': {body: pageBytes, headers: {'Content-Security-Policy': 'sandbox'}},
});
const course = await serve({'/course.html': {body: `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Numerical integration, week 3</title></head>
<body><h1>Numerical integration</h1><label>Notes <input id="notes"></label>
<div style="height: 2000px">The reading for this week.</div><div id="lesson"></div></body></html>`}});
let url = served ? `${site}/sandboxed.html` : 'file://' + path.resolve(pageFile);

// A folder served as a static site, as a course site serves it (under the
// README's policy); closed, it is the network gone.
const types = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.png': 'image/png',
  '.svg': 'image/svg+xml', '.webmanifest': 'application/manifest+json'};
function serveFolder(folder) {
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/+/, '') || 'index.html';
    const file = path.join(folder, name);
    if (name.includes('..') || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream',
      'Content-Security-Policy': policy}).end(fs.readFileSync(file));
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise(done => { server.closeAllConnections(); server.close(done); }),
  })));
}

// The first visit to a site: its service worker installed and in charge.
async function firstVisit(page, address) {
  await page.goto(address);
  await page.waitForFunction(opened, {timeout: bound});
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, {timeout: bound});
}
// The desktop's pictures exist once its e2e_xvfb has run (script/test runs it
// first); a selection of tests without it runs the other cases.
const haveDesktopShots = desktopShots &&
  ['startup.png', 'calculated.png'].every(shot => fs.existsSync(path.join(desktopShots, shot)));
if (desktopShots && !haveDesktopShots)
  console.log(`skip the same pictures as the desktop window: no pictures in ${desktopShots} (run e2e_xvfb first)`);
const order = ['picGraph', 'cmd1rect', 'cmd2rect', 'cmdcalc', 'cmdclear', 'cmdexit', 'txtRes', 'cmd10Rec'];
const button = {1: 'cmd1rect', 2: 'cmd2rect', 10: 'cmd10Rec', 10000: 'cmdcalc'};

class Failure extends Error {}
function equal(what, actual, wanted) {
  const a = JSON.stringify(actual), w = JSON.stringify(wanted);
  if (a !== w)
    throw new Failure(`${what}\n    expected ${w}\n    actual   ${a}`);
}
function holds(what, condition) {
  if (!condition)
    throw new Failure(what);
}

// In the page: the picture's colours and a digest of its pixels, snapshots to
// compare, the clicks the buttons took and what the live region said.
function watch() {
  window.seen = {clicks: [], spoken: [], prevented: [], snaps: {}};
  document.addEventListener('click', e => e.target.closest('button') &&
    seen.clicks.push(e.target.closest('button').id), true);
  // Whether the browser's own action for a chord was stopped, once it is dispatched.
  addEventListener('keydown', e => e.altKey && /^(Digit|Key)/.test(e.code) && seen.prevented.push(e), true);
  new MutationObserver(() => seen.spoken.push(document.getElementById('announcement').textContent))
    .observe(document.getElementById('announcement'), {childList: true, characterData: true, subtree: true});
  window.picture = () => {
    const c = document.getElementById('picGraph');
    const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    return new Uint32Array(data.buffer);
  };
  window.snap = name => { seen.snaps[name] = picture(); };
  // Pixels by colour, as RRGGBB (the canvas gives R, G, B, A in memory order).
  window.colours = () => {
    const counts = {};
    for (const p of picture()) {
      const rgb = ((p & 0xff) << 16 | (p & 0xff00) | (p >>> 16 & 0xff)).toString(16).padStart(6, '0');
      counts[rgb] = (counts[rgb] || 0) + 1;
    }
    return counts;
  };
  window.digest = () => {
    let h = 2166136261;
    for (const p of picture())
      h = Math.imul(h ^ p, 16777619) >>> 0;
    return h;
  };
  // Every pixel lit in a is lit in b: b piles on a.
  window.covers = (a, b) => seen.snaps[a].every((p, i) => (p & 0xffffff) === 0 || (seen.snaps[b][i] & 0xffffff) !== 0);
  window.same = (a, b) => seen.snaps[a].length === seen.snaps[b].length &&
    seen.snaps[a].every((p, i) => p === seen.snaps[b][i]);
  window.boxReadBack = () => Module.UTF8ToString(Module._velmar_box_text());
}

// Whether the canvas shows the pixels of the desktop window's canvas in a
// screenshot of it (its drawing area 2 px inside the border at 48, 8).
async function sameAsDesktop(page, shot) {
  const file = path.join(desktopShots, shot);
  const url = 'data:image/png;base64,' + fs.readFileSync(file).toString('base64');
  return page.evaluate(async url => {
    const image = new Image();
    image.src = url;
    await image.decode();
    const scratch = document.createElement('canvas');
    scratch.width = image.width;
    scratch.height = image.height;
    const context = scratch.getContext('2d');
    context.drawImage(image, 0, 0);
    const desktop = new Uint32Array(context.getImageData(50, 10, 597, 397).data.buffer);
    const shown = picture();
    return shown.length === desktop.length && shown.every((p, i) => p === desktop[i]);
  }, url);
}

const state = page => page.evaluate(() => ({
  box: document.getElementById('txtRes').value,
  readBack: boxReadBack(),
  spoken: seen.spoken.map(t => t.replace(/\u00a0$/, '')),
  described: document.getElementById('picGraphDescription').textContent,
  clicks: seen.clicks,
}));
const spokenRun = n => spoken[n];
const described = n => 'The sine curve over one period, from 0 to 2π, on axes.' + {
  0: '',
  1: ' 1 trapezoid approximates the area under it from 0 to π.',
  2: ' 2 trapezoids approximate the area under it from 0 to π.',
  10: ' 10 trapezoids approximate the area under it from 0 to π.',
  10000: ' 10000 trapezoids approximate the area under it from 0 to π.',
}[n];

// Alt with the key at a place (KeyboardEvent.code) that types `key` on the
// layout in use. Chromium takes the two apart; Firefox's driver types by key
// and takes the place from a US layout.
async function chord(page, code, key, shift = false) {
  await chords(page, [[code, key, shift]]);
}

// Several chords typed at once: Chromium is handed them all before the first
// has run, so the later ones wait behind it; Firefox's driver types them one
// after another.
async function chords(page, list) {
  if (chromium) {
    const session = await page.createCDPSession();
    const sent = [];
    for (const [code, key, shift] of list) {
      const keyCode = /^Digit/.test(code) ? 48 + +code.slice(5) : code.charCodeAt(3);
      const event = {modifiers: 1 | (shift ? 8 : 0), code, key, windowsVirtualKeyCode: keyCode};
      sent.push(session.send('Input.dispatchKeyEvent', {type: 'rawKeyDown', ...event}),
                session.send('Input.dispatchKeyEvent', {type: 'keyUp', ...event}));
    }
    await Promise.all(sent);
    await session.detach();
    return;
  }
  for (const [code, , shift] of list) {
    await page.keyboard.down('Alt');
    if (shift)
      await page.keyboard.down('Shift');
    await page.keyboard.press(code);
    if (shift)
      await page.keyboard.up('Shift');
    await page.keyboard.up('Alt');
  }
}

// The access keys on every keyboard layout (cases.json): by layout, the key's
// place as KeyboardEvent.code, what it types there and the button it presses;
// Exit last, since it ends the program.
const layouts = accessKeys.reduce((m, r) => m.set(r.layout, [...(m.get(r.layout) || []), r]), new Map());
const codeOf = place => (/[0-9]/.test(place) ? 'Digit' : 'Key') + place;

async function fitsRatio(page, ratio) {
  await page.setViewport({width: 900, height: 700, deviceScaleFactor: ratio});
  const want = [Math.round(597 * ratio), Math.round(397 * ratio)];
  await page.waitForFunction(w => {
    const c = document.getElementById('picGraph');
    return c.width === w[0] && c.height === w[1];
  }, {timeout: bound}, want).catch(() => {});
  return page.evaluate(() => [document.getElementById('picGraph').width, document.getElementById('picGraph').height]);
}

// The same presses on a page opened afresh at a device pixel ratio, where the
// form is at its own size: its backing store and picture.
async function drawnFresh(ratio, presses) {
  const fresh = await newPage();
  try {
    await fresh.setViewport({width: 900, height: 700, deviceScaleFactor: ratio});
    await fresh.goto(url);
    await fresh.waitForFunction(opened, {timeout: bound});
    await fresh.evaluate(watch);
    for (const id of presses)
      await fresh.click('#' + id);
    return await fresh.evaluate(() => ({
      ratio: devicePixelRatio, digest: digest(),
      store: [document.getElementById('picGraph').width, document.getElementById('picGraph').height],
    }));
  } finally {
    await fresh.close();
  }
}

// Where the form stands in the visual viewport, the scale it is shown at, and
// its canvas's backing store beside the device pixels its drawing area covers
// on screen.
const fit = page => page.evaluate(() => {
  const form = document.getElementById('frmvelmar').getBoundingClientRect();
  const c = document.getElementById('picGraph');
  const scale = form.width / document.getElementById('frmvelmar').offsetWidth;
  return {
    form: [form.left, form.top, form.right, form.bottom],
    viewport: [visualViewport.width, visualViewport.height],
    scale,
    ratio: devicePixelRatio,
    store: [c.width, c.height],
    covered: [c.clientWidth * scale * devicePixelRatio, c.clientHeight * scale * devicePixelRatio],
  };
});
// The form in a room of width x height CSS px: whole inside it, scaled as one
// piece to fill it (to within a 64th), and its canvas's backing store the
// device pixels the drawing area covers. Returns the device pixels a CSS pixel
// of the drawing area covers (a whole number of 64ths, the layout measured to
// within float precision), the ratio a fresh page draws the same picture at.
function fitsWhole(what, got, width, height) {
  const room = Math.min(1, width / 698, height / 526);
  holds(`${what}: the form inside the visual viewport ${got.viewport}: ${got.form}`,
    got.form[0] >= 0 && got.form[1] >= 0 && got.form[2] <= got.viewport[0] + 0.01 &&
    got.form[3] <= got.viewport[1] + 0.01);
  holds(`${what}: scaled as one piece to fill the room (${room}), not by ${got.scale}`,
    got.scale <= room && got.scale > room - 1 / 64);
  equal(`${what}: backing store, the device pixels the canvas covers (${got.covered})`, got.store,
    got.covered.map(Math.round));
  return Math.round(got.scale * got.ratio * 64) / 64;
}

async function tap(page, id) {
  const r = await page.evaluate(id => {
    const b = document.getElementById(id).getBoundingClientRect();
    return [b.left + b.width / 2, b.top + b.height / 2];
  }, id);
  await page.touchscreen.tap(r[0], r[1]);
}

const cases = [
  ['opens from disk as the desktop form, at its size', async page => {
    const got = await page.evaluate(() => {
      const form = document.getElementById('frmvelmar').getBoundingClientRect();
      const {controls} = JSON.parse(Module.UTF8ToString(Module._velmar_layout()));
      return {
        title: document.title, lang: document.documentElement.lang,
        icon: document.querySelector('link[rel=icon]').href.slice(0, 41),
        form: [form.width, form.height],
        canvasArea: [document.getElementById('picGraph').clientWidth, document.getElementById('picGraph').clientHeight],
        controls: controls.map(({name, left, top, width, height}) => {
          const e = document.getElementById(name), r = e.getBoundingClientRect();
          return [name, e.tagName, [left, top, width, height], [r.left - form.left, r.top - form.top, r.width, r.height]];
        }),
        captions: [...document.querySelectorAll('button')].map(b => [b.id, b.innerHTML, b.getAttribute('aria-keyshortcuts')]),
        buttons: controls.filter(c => c.kind === 'button'),
      };
    });
    equal('title', got.title, 'Integration Velmar');
    equal('language', got.lang, 'en');
    equal('icon', got.icon, 'data:image/svg+xml,%3C%3Fxml%20version%3D');
    equal('form size', got.form, [698, 526]);
    equal('canvas drawing area', got.canvasArea, [597, 397]);
    equal('controls, in tab order', got.controls.map(c => c[0]), order);
    for (const [name, tag, place, rect] of got.controls) {
      equal(`${name}: element`, tag, {picGraph: 'CANVAS', txtRes: 'TEXTAREA'}[name] || 'BUTTON');
      equal(`${name}: place`, rect, place);
    }
    // Each button's caption as the layout gives it, its access key underlined and told.
    equal('captions and shortcuts', got.captions, got.buttons.map(({name, caption, accessKeyAt: at, accessKey}) =>
      [name, `${caption.slice(0, at)}<u>${caption[at]}</u>${caption.slice(at + 1)}`, `Alt+${accessKey}`]));
  }],

  ['start-up: the axes and the curve, an empty box', async page => {
    const got = await state(page);
    equal('box', [got.box, got.readBack], ['', '']);
    equal('description', got.described, described(0));
    equal('nothing announced before a press', got.spoken, []);
    const colours = await page.evaluate(() => colours());
    equal('colours on the canvas', Object.keys(colours).sort(), ['000000', '64ffff', 'ffff00']);
    holds('a black canvas', colours['000000'] > 0.9 * 597 * 397);
    equal('canvas image', await page.evaluate(() => {
      const c = document.getElementById('picGraph');
      return [c.getAttribute('role'), c.getAttribute('aria-label'), document.activeElement.id];
    }), ['img', 'Graph', 'picGraph']);
  }],

  ...[1, 2, 10, 10000].map(n => [`${n}: the text byte for byte, spoken once`, async page => {
    await page.click('#' + button[n]);
    const got = await state(page);
    equal('what the box shows', got.box, expected[n].replace(/\r\n/g, '\n'));
    equal('what the form reads back', got.readBack, expected[n]);
    equal('what is announced', got.spoken, [spokenRun(n)]);
    equal('what the canvas is described as', got.described, described(n));
    if (n === 10000 && !webkit) // the README's picture of the page (WebKitGTK takes none on Xvfb)
      await (await page.$('#frmvelmar')).screenshot({path: path.join(path.dirname(pageFile), `screenshot-${browserName}.png`)});
  }]),

  ['presses pile up; Clear draws the start-up picture again', async page => {
    await page.evaluate(() => snap('start'));
    let before = 'start';
    for (const n of [1, 2, 10, 10000]) {
      await page.click('#' + button[n]);
      await page.evaluate(n => snap(n), n);
      holds(`${n} keeps what was drawn before`, await page.evaluate((a, b) => covers(a, b) && !same(a, b), before, String(n)));
      before = String(n);
    }
    await page.click('#cmdclear');
    await page.evaluate(() => snap('cleared'));
    holds('Clear gives the start-up picture', await page.evaluate(() => same('start', 'cleared')));
    const got = await state(page);
    equal('box after Clear', [got.box, got.readBack], ['', '']);
    equal('last announcement', got.spoken.at(-1), 'Cleared.');
  }],

  ...(haveDesktopShots ? [['the same pictures as the desktop window', async page => {
    holds('start-up: the desktop\'s picture', await sameAsDesktop(page, 'startup.png'));
    for (const n of [1, 2, 10, 10000])
      await page.click('#' + button[n]);
    holds('after 1, 2, 10 and 10000: the desktop\'s picture', await sameAsDesktop(page, 'calculated.png'));
  }]] : []),

  ...[...layouts].filter(([layout]) => chromium || layout === 'US').map(([layout, rows]) =>
    [`access keys on the ${layout} layout, with and without Shift`, async page => {
      await page.evaluate(() => { window.close = () => {}; });
      const exitLast = [...rows].sort((a, b) => (a.presses === 'cmdexit') - (b.presses === 'cmdexit'));
      for (const {types, place, presses} of exitLast) {
        // Shift gives a Latin letter in upper case; what it does to other keys is the layout's.
        for (const shift of /^[a-z]$/.test(types) ? [false, true] : [false]) {
          await page.evaluate(() => { seen.clicks = []; seen.prevented = []; });
          await chord(page, codeOf(place), shift ? types.toUpperCase() : types, shift);
          const got = await page.evaluate(() => [seen.clicks, seen.prevented.map(e => e.defaultPrevented)]);
          equal(`Alt+${shift ? 'Shift+' : ''}${types} (${codeOf(place)})`, got,
            [presses ? [presses] : [], [!!presses]]);
          if (presses === 'cmdexit')
            break;
        }
      }
      holds('Exit ends the program', await page.evaluate(() => !document.getElementById('ended').hidden));
    }]),

  ['Tab and Shift+Tab visit the controls in order, then leave them', async page => {
    const visited = [await page.evaluate(() => document.activeElement.id)];
    for (let i = 1; i < order.length; ++i) {
      await page.keyboard.press('Tab');
      visited.push(await page.evaluate(() => document.activeElement.id));
    }
    equal('Tab', visited, order);
    const back = [];
    for (let i = 1; i < order.length; ++i) {
      await page.keyboard.down('Shift');
      await page.keyboard.press('Tab');
      await page.keyboard.up('Shift');
      back.push(await page.evaluate(() => document.activeElement.id));
    }
    equal('Shift+Tab', back, order.slice(0, -1).reverse());
    await page.focus('#cmd10Rec');
    await page.keyboard.press('Tab');
    // WebKitGTK's bare browser has no toolbar for the focus to go to: it comes
    // round to the first control.
    if (webkit)
      equal('Tab from the last control comes round', await page.evaluate(() => document.activeElement.id), order[0]);
    else
      holds('Tab from the last control leaves the form',
        await page.evaluate(() => !document.getElementById('frmvelmar').contains(document.activeElement)));
  }],

  ['Enter and Space press a focused button, Esc nothing; Enter in the box starts a line', async page => {
    await page.focus('#cmd2rect');
    await page.keyboard.press('Enter');
    await page.keyboard.press(' ');
    await page.keyboard.press('Escape');
    let got = await state(page);
    equal('presses', got.clicks, ['cmd2rect', 'cmd2rect']);
    equal('announced', got.spoken, [spokenRun(2), spokenRun(2)]);
    await page.focus('#txtRes');
    await page.keyboard.down('Control');
    await page.keyboard.press('End');
    await page.keyboard.up('Control');
    await page.keyboard.press('Enter');
    await page.keyboard.type('x');
    got = await state(page);
    equal('typed text, read back', got.readBack, expected[2] + '\r\nx');
    equal('no press from the box', got.clicks, ['cmd2rect', 'cmd2rect']);
  }],

  ['the box shows only line feeds and gives back exactly the text set', async page => {
    const got = await page.evaluate(rows => rows.map(({text}) => {
      Module.ccall('velmar_set_box_text', null, ['string'], [text]);
      return [document.getElementById('txtRes').value, boxReadBack()];
    }), boxTexts);
    boxTexts.forEach(({name, text, shown}, i) => equal(name, got[i], [shown, text]));
  }],

  ['text typed into the box stops at 65,535 characters', async page => {
    await page.focus('#txtRes');
    await page.evaluate(() => { document.getElementById('txtRes').value = 'x'.repeat(65533); });
    await page.keyboard.press('End');
    await page.keyboard.type('abcd');
    equal('length', await page.evaluate(() => document.getElementById('txtRes').value.length), 65535);
    equal('read back', (await state(page)).readBack.slice(-3), 'xab');
  }],

  ['presses typed ahead of a long run wait and run after it, in order', async page => {
    await chords(page, [['KeyC', 'c'], ['Digit1', '1'], ['Digit0', '0']]);
    const got = await state(page);
    equal('presses', got.clicks, ['cmdcalc', 'cmd1rect', 'cmd10Rec']);
    equal('announced', got.spoken, [spokenRun(10000), spokenRun(1), spokenRun(10)]);
    equal('box', got.readBack, expected[10]);
  }],

  ['each run is announced, the same result again too', async page => {
    for (const id of ['cmd10Rec', 'cmd10Rec', 'cmd10Rec', 'cmdclear', 'cmdclear'])
      await page.click('#' + id);
    const raw = await page.evaluate(() => seen.spoken);
    equal('announcements', (await state(page)).spoken,
      [spokenRun(10), spokenRun(10), spokenRun(10), 'Cleared.', 'Cleared.']);
    holds('each differs from the one before', raw.every((t, i) => i === 0 || t !== raw[i - 1]));
  }],

  ['a run-time error is reported, and no handler runs after it', async page => {
    await page.click('#cmd10Rec');
    await page.evaluate(() => Module._velmar_set_canvas(70000, 70000, 70000, 70000, 1));
    await page.click('#cmdclear');
    const report = await page.evaluate(() => {
      const r = document.getElementById('report');
      return [r.hidden, r.querySelector('h2').textContent, r.querySelector('p').textContent,
        document.activeElement.id, Module._velmar_exit_code()];
    });
    equal('report', report, [false, "Run-time error '480':", report[2], 'report', 1]);
    holds(`the description: ${report[2]}`, report[2].startsWith('Canvas operation failed'));
    await page.evaluate(() => document.getElementById('cmd1rect').click());
    await chord(page, 'Digit2', '2');
    const got = await state(page);
    equal('box', got.readBack, expected[10]);
    equal('announced', got.spoken, [spokenRun(10)]);
    if (!setsRatio)
      return;
    // A new ratio (the browser reports it before the frame after next) leaves
    // the last picture as it was.
    const shown = await page.evaluate(() => digest());
    await page.setViewport({width: 900, height: 700, deviceScaleFactor: 2});
    await page.evaluate(() => new Promise(done => requestAnimationFrame(() => requestAnimationFrame(done))));
    equal('the picture after a new ratio', await page.evaluate(() => [devicePixelRatio, digest()]), [2, shown]);
  }],

  ['Exit ends the program', async page => {
    // A browser closes only a window a script opened, as the test's are: the
    // page is kept open to see what a user who opened the file sees.
    await page.evaluate(() => { window.close = () => { seen.closed = true; }; });
    await page.click('#cmdexit');
    equal('the page after Exit', await page.evaluate(() => [
      document.getElementById('ended').hidden, document.getElementById('frmvelmar').hidden,
      Module._velmar_exit_code(), seen.closed]), [false, true, 0, true]);
  }],

  ...[1.25, 1.5, 2].filter(() => setsRatio).map(ratio => [`a new pixel ratio, ${ratio}: drawn anew, sharp, the box kept`, async page => {
    await page.click('#cmd1rect');
    await page.click('#cmd10Rec');
    equal('backing store', await fitsRatio(page, ratio), [Math.round(597 * ratio), Math.round(397 * ratio)]);
    const redrawn = await page.evaluate(() => digest());
    const got = await state(page);
    equal('box kept', got.readBack, expected[10]);
    equal('no announcement for the redraw', got.spoken, [spokenRun(1), spokenRun(10)]);
    // The x axis in a column of its own: one device pixel high.
    equal('axis thickness', await page.evaluate(() => {
      const c = document.getElementById('picGraph'), p = picture(), x = Math.round(c.width * 0.97);
      let yellow = 0;
      for (let y = 0; y < c.height; ++y)
        yellow += (p[y * c.width + x] & 0xffffff) === 0x00ffff ? 1 : 0; // R and G: yellow
      return yellow;
    }), 1);
    equal('the redraw against a fresh drawing at the ratio', (await drawnFresh(ratio, ['cmd1rect', 'cmd10Rec'])).digest, redrawn);
  }]),

  ['a window smaller than the form: shown whole, scaled down, sharp; refitted as it grows', async page => {
    await page.setViewport({width: 500, height: 400});
    await page.waitForFunction(() => document.getElementById('picGraph').width < 597, {timeout: bound}).catch(() => {});
    fitsWhole('500 x 400', await fit(page), 500, 400);
    await page.click('#cmd10Rec');
    equal('a click on the scaled form', (await state(page)).readBack, expected[10]);
    await page.setViewport({width: 900, height: 700});
    await page.waitForFunction(() => document.getElementById('picGraph').width === 597, {timeout: bound}).catch(() => {});
    const got = await fit(page);
    fitsWhole('900 x 700', got, 900, 700);
    equal('at its own size again', [got.scale, got.store], [1, [597, 397]]);
  }],

  ...(chromium ? [[360, 640, 3], [390, 844, 3], [844, 390, 3], [600, 960, 2], [768, 1024, 2]] : []).map(([width, height, ratio]) =>
    [`a touch screen of ${width} x ${height} at ratio ${ratio}: fits, sharp, taps press`, async page => {
      await page.setViewport({width, height, deviceScaleFactor: ratio, isMobile: true, hasTouch: true});
      await page.reload();
      await page.waitForFunction(opened, {timeout: bound});
      await page.evaluate(watch);
      const effective = fitsWhole('as it opens', await fit(page), width, height);
      equal('every control\'s touch-action', await page.evaluate(() =>
        [...document.querySelectorAll('#frmvelmar > *')].map(e => getComputedStyle(e).touchAction)),
      Array(8).fill('manipulation'));
      await tap(page, 'cmd10Rec');
      await tap(page, 'cmdcalc');
      equal('a tap on Calculate', (await state(page)).readBack, expected[10000]);
      const fresh = await drawnFresh(effective, ['cmd10Rec', 'cmdcalc']);
      equal('a fresh page at the effective ratio', [fresh.ratio, fresh.store], [effective, (await fit(page)).store]);
      equal('the picture after 10 and 10000, a fresh page\'s at that ratio', await page.evaluate(() => digest()), fresh.digest);
      if (width === 390 || width === 844)
        await page.screenshot({path: path.join(path.dirname(pageFile), `phone-${width}x${height}.png`)});
      await page.evaluate(() => { seen.clicks = []; seen.spoken = []; });
      await tap(page, 'cmd1rect');
      await tap(page, 'cmd1rect');
      const got = await state(page);
      equal('two quick taps on "1 Trapezoid"', [got.clicks, got.spoken], [['cmd1rect', 'cmd1rect'], [spokenRun(1), spokenRun(1)]]);
      const focused = [];
      for (const id of ['txtRes', 'picGraph']) {
        await tap(page, id);
        focused.push(await page.evaluate(() => document.activeElement.id));
      }
      equal('a tap on the box, then on the canvas, gives each the focus', focused, ['txtRes', 'picGraph']);
    }]),

  ...(chromium ? [['a phone turned sideways: refitted, the picture drawn anew', async page => {
    await page.setViewport({width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true});
    await page.reload();
    await page.waitForFunction(opened, {timeout: bound});
    await page.evaluate(watch);
    await tap(page, 'cmd10Rec');
    const upright = (await fit(page)).store;
    await page.setViewport({width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true});
    await page.waitForFunction(u => document.getElementById('picGraph').width !== u, {timeout: bound}, upright[0]).catch(() => {});
    const effective = fitsWhole('sideways', await fit(page), 844, 390);
    const fresh = await drawnFresh(effective, ['cmd10Rec']);
    equal('the picture, a fresh page\'s at the new ratio', await page.evaluate(() => digest()), fresh.digest);
    equal('box kept', (await state(page)).readBack, expected[10]);
  }, true]] : []),

  ...(webkit ? [] : [['inside a course page\'s frame: the course page keeps its focus and place; a click and Alt+C work', async page => {
    await page.goto(`${course}/course.html`);
    await page.focus('#notes');
    await page.keyboard.type('trapezoid');
    const before = await page.evaluate(() => [scrollY, document.activeElement.id]);
    await page.evaluate(src => {
      const frame = document.createElement('iframe');
      Object.assign(frame, {title: 'Integration Velmar', src, width: 698, height: 526});
      document.getElementById('lesson').append(frame);
    }, `${site}/integration-velmar.html`);
    const frame = await (await page.waitForSelector('iframe')).contentFrame();
    await frame.waitForFunction(opened, {timeout: bound});
    equal('the course page after the frame opened', await page.evaluate(() => [scrollY, document.activeElement.id]), before);
    equal('the course page\'s field', await page.evaluate(() => document.getElementById('notes').value), 'trapezoid');
    await frame.evaluate(watch);
    await frame.click('#picGraph');
    equal('a click gives the frame\'s canvas the focus', await frame.evaluate(() => document.activeElement.id), 'picGraph');
    await chord(page, 'KeyC', 'c');
    await frame.waitForFunction(() => seen.spoken.length > 0, {timeout: bound}).catch(() => {});
    const got = await state(frame);
    equal('Alt+C in the frame', [got.readBack, got.spoken], [expected[10000], [spokenRun(10000)]]);
  }, true]]),

  ['served sandboxed without scripts: the message for a browser without JavaScript', async page => {
    await page.goto(`${site}/no-scripts.html`);
    const text = await page.evaluate(() => document.body.innerText);
    holds(`the message is shown: ${JSON.stringify(text)}`, text.includes('it needs JavaScript, which this browser has turned off'));
    holds('no form', !text.includes('Calculate'));
  }, true],

  ...(chromium ? [['high contrast: captions, box and focus visible, the canvas in its own colours', async page => {
    const session = await page.createCDPSession();
    await session.send('Emulation.setEmulatedMedia', {features: [{name: 'forced-colors', value: 'active'}]});
    holds('forced colours are active', await page.evaluate(() => matchMedia('(forced-colors: active)').matches));
    await page.click('#cmdcalc');
    equal('Calculate', (await state(page)).readBack, expected[10000]);
    const unreadable = await page.evaluate(() => [...document.querySelectorAll('#frmvelmar button, #txtRes')]
      .filter(e => { const s = getComputedStyle(e); return s.color === s.backgroundColor; }).map(e => e.id));
    equal('controls whose text is the colour of their ground', unreadable, []);
    equal('colours on the canvas', Object.keys(await page.evaluate(() => colours())).sort(), ['000000', '00ff00', '64ffff', 'ffff00']);
    const box = await page.evaluate(() => {
      const r = document.getElementById('cmd1rect').getBoundingClientRect();
      return {x: r.left - 4, y: r.top - 4, width: r.width + 8, height: r.height + 8};
    });
    await page.focus('#picGraph');
    await page.keyboard.press('Tab');
    const focused = await page.screenshot({clip: box});
    await page.keyboard.press('Tab');
    const unfocused = await page.screenshot({clip: box});
    holds('a focused button looks unlike an unfocused one', !Buffer.from(focused).equals(Buffer.from(unfocused)));
  }]] : []),

  ...(chromium ? [['the course site: installable, its manifest and icons as declared', async page => {
    const server = await serveFolder(siteFolder);
    try {
      await firstVisit(page, server.url);
      const session = await page.createCDPSession();
      const {installabilityErrors} = await session.send('Page.getInstallabilityErrors');
      equal('installability errors', installabilityErrors, []);
      const manifest = await page.evaluate(async () => {
        const m = await (await fetch(document.querySelector('link[rel=manifest]').href)).json();
        m.icons = await Promise.all(m.icons.map(async icon => {
          const image = new Image();
          image.src = icon.src;
          await image.decode();
          return `${icon.src} ${icon.sizes} ${icon.purpose}: ${image.naturalWidth}x${image.naturalHeight}`;
        }));
        return m;
      });
      equal('the manifest', [manifest.name, manifest.short_name, manifest.start_url, manifest.scope, manifest.display,
        manifest.theme_color, manifest.background_color],
      ['Integration Velmar', 'Velmar', '.', '.', 'standalone', '#000080', '#f0f0f0']);
      equal('the icons, as declared', manifest.icons, [
        'icon-192.png 192x192 any: 192x192', 'icon-512.png 512x512 any: 512x512',
        'icon-maskable-192.png 192x192 maskable: 192x192', 'icon-maskable-512.png 512x512 maskable: 512x512',
        'icon.svg any any: 32x32']);
      equal('for the home screen', await page.evaluate(() => [
        document.querySelector('link[rel=apple-touch-icon]').getAttribute('href'),
        document.querySelector('meta[name=apple-mobile-web-app-title]').content]),
      ['icon-maskable-192.png', 'Integration Velmar']);
    } finally {
      await server.close();
    }
  }, true], ['the course site rebuilt: the new page after one reload, the old cache gone', async page => {
    const folder = fs.mkdtempSync(path.join(path.dirname(pageFile), 'site-copy-'));
    fs.cpSync(siteFolder, folder, {recursive: true});
    const server = await serveFolder(folder);
    try {
      await firstVisit(page, server.url);
      const before = await page.evaluate(() => caches.keys());
      // Another build: another page, so another cache name.
      const rebuilt = name => path.join(folder, name);
      fs.writeFileSync(rebuilt('index.html'), fs.readFileSync(rebuilt('index.html'), 'utf8')
        .replace('<title>Integration Velmar</title>', '<title>Integration Velmar, rebuilt</title>'));
      fs.writeFileSync(rebuilt('sw.js'), fs.readFileSync(rebuilt('sw.js'), 'utf8')
        .replace(/integration-velmar-[0-9a-f]+/, 'integration-velmar-0123456789abcdef'));
      await page.reload();
      await page.waitForFunction(opened, {timeout: bound});
      equal('after one reload', await page.title(), 'Integration Velmar, rebuilt');
      await page.waitForFunction(() => caches.keys().then(k => k.length === 1 && k[0].endsWith('0123456789abcdef')),
        {timeout: bound}).catch(() => {});
      equal('the caches', [before.length, await page.evaluate(() => caches.keys())],
        [1, ['integration-velmar-0123456789abcdef']]);
    } finally {
      await server.close();
      fs.rmSync(folder, {recursive: true, force: true});
    }
  }, true]] : []),

  ['opened from disk: no service worker, nothing asked of a site', async page => {
    equal('manifest and home-screen icon', await page.evaluate(() =>
      document.querySelectorAll('link[rel=manifest], link[rel=apple-touch-icon]').length), 0);
    // A browser that has no service workers for files at all refuses the question.
    equal('service workers', await page.evaluate(async () => navigator.serviceWorker
      ? (await navigator.serviceWorker.getRegistrations().catch(() => [])).length : 0), 0);
  }, true],

  ['axe-core finds no violation', async page => {
    await page.click('#cmd10Rec');
    await page.addScriptTag({content: axeSource});
    const violations = await page.evaluate(async () =>
      (await axe.run(document)).violations.map(v => `${v.id}: ${v.nodes.map(n => n.target).join(', ')}`));
    equal('violations', violations, []);
  }],
];

const browser = webkit ? await openWebKit()
  : await open(browserName, {jitless: mode === 'jitless', webAssembly: mode !== 'no-webassembly'});
// Every page of the run, the fresh ones too, in the run's mode.
async function newPage() {
  const page = await browser.newPage();
  page.setDefaultTimeout?.(bound);
  if (chromium && mode === 'no-webassembly')
    await page.evaluateOnNewDocument(() => { delete globalThis.WebAssembly; });
  return page;
}
let passed = 0, failed = 0;
const only = process.env.VELMAR_WEB_CASE;
for (const [name, run, ownPage] of cases) {
  if ((only && !name.includes(only)) || (!plain && ownPage))
    continue;
  const page = await newPage();
  const requests = [];
  // Loopback's own test sites are no network.
  const outside = address => !/^(file|data|blob):/.test(address) && !address.startsWith('http://127.0.0.1:');
  page.on('request', r => outside(r.url()) && requests.push(r.url()));
  let siteServer = null;
  try {
    if (fromSite) { // a first visit, then offline
      siteServer = await serveFolder(siteFolder);
      url = siteServer.url;
      await firstVisit(page, url);
      await siteServer.close();
      await page.reload();
    } else {
      await page.goto(url);
    }
    await page.waitForFunction(opened, {timeout: bound});
    equal('the program the page runs', await page.evaluate(() => document.documentElement.dataset.program),
      withoutWebAssembly ? 'javascript' : 'webassembly');
    await page.evaluate(watch);
    await run(page);
    if (webkit) // WebDriver shows no requests: the page's own timing lists what it fetched
      requests.push(...(await page.evaluate(() => performance.getEntriesByType('resource').map(e => e.name)))
        .filter(outside));
    equal('requests to the network', requests, []);
    console.log(`ok   ${name}`);
    ++passed;
  } catch (error) {
    console.log(`FAIL ${name}\n    ${error instanceof Failure ? error.message : error.stack}`);
    ++failed;
  }
  await page.close().catch(() => {});
  await siteServer?.close();
}
await browser.close();
console.log(`${browserName}, ${mode}: ${passed} passed, ${failed} failed`);
process.exit(failed === 0 && passed > 0 ? 0 : 1);
