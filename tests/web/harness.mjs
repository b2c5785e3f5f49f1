// What the browser tests' cases share: the run's browser, mode and page, the
// loopback hosts that serve it, the helpers that read what a user sees and
// hears, and a fresh page in the run's mode.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {createRequire} from 'node:module';
import {open, bound, cases as sharedCases} from './page.mjs';
import {openWebKit} from './webdriver.mjs';


export const [browserName, mode, pageFile, casesFile, desktopShots] = process.argv.slice(2);
export const require = createRequire(import.meta.url);
export const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
export const {runs: expected, spoken, boxTexts, accessKeys} = sharedCases(casesFile);
export const chromium = browserName === 'chromium';
export const webkit = browserName === 'webkit';
export const served = mode === 'served';
export const withoutWebAssembly = mode === 'jitless' || mode === 'no-webassembly';
// The rows that open pages of their own try rooms and frames, not the program's
// build: they run in the plain modes.
export const plain = mode === 'file';
export const fromSite = mode === 'site';
export const siteFolder = path.join(path.dirname(pageFile), 'site');
// WebDriver sets no device pixel ratio: the cases that need one run in the
// other two engines.
export const setsRatio = !webkit;
export const opened = () => performance.getEntriesByName('velmar-open').length > 0;

// The page on loopback, as a course site serves it: under the README's policy
// (and, for the table, sandboxed with scripts only), or sandboxed without
// scripts; and a course page on another port (another origin) that frames it.
export const policy = fs.readFileSync(new URL('../../README.md', import.meta.url), 'utf8')
  .match(/^Content-Security-Policy: (.+)$/m)[1];
export const pageBytes = fs.readFileSync(pageFile);
export function serve(routes) {
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
export const site = await serve({
  '/integration-velmar.html': {body: pageBytes, headers: {'Content-Security-Policy': policy}},
  '/sandboxed.html': {body: pageBytes, headers: {'Content-Security-Policy': [policy, 'sandbox allow-scripts']}},
  '/no-scripts.html': {body: pageBytes, headers: {'Content-Security-Policy': 'sandbox'}},
});
export const course = await serve({'/course.html': {body: `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Numerical integration, week 3</title></head>
<body><h1>Numerical integration</h1><label>Notes <input id="notes"></label>
<div style="height: 2000px">The reading for this week.</div><div id="lesson"></div></body></html>`}});
export let url = served ? `${site}/sandboxed.html` : 'file://' + path.resolve(pageFile);

// A folder served as a static site, as a course site serves it (under the
// README's policy); closed, it is the network gone. `host` gives it the ways of
// real hosts: `mounts` (folders at paths of one origin; a mount's address
// without its slash is redirected), `noIndex` (a folder's address is 404),
// `maxAge`, and `down`, which a case sets at any time: 'hang' (the host takes
// requests and never answers) or the status it answers everything with, with
// an error page as hosts send.
export const types = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.png': 'image/png',
  '.svg': 'image/svg+xml', '.webmanifest': 'application/manifest+json'};
export function serveFolder(folder, host = {}) {
  const server = http.createServer((request, response) => {
    const mounts = host.mounts || {'/': folder};
    const address = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const mount = Object.keys(mounts).find(m => address.startsWith(m));
    const refuse = status => response.writeHead(status, {'Content-Type': types['.html']}).end(`<h1>${status}</h1>`);
    if (host.down)
      return host.down === 'hang' || refuse(host.down);
    if (!mount && mounts[address + '/'])
      return response.writeHead(301, {Location: address + '/'}).end();
    const name = address.slice(mount?.length) || (host.noIndex ? '' : 'index.html');
    const file = mount && name && path.join(mounts[mount], name);
    if (!file || name.includes('..') || !fs.existsSync(file) || fs.statSync(file).isDirectory())
      return refuse(404);
    response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream',
      'Content-Security-Policy': policy, ...host.maxAge && {'Cache-Control': `max-age=${host.maxAge}`}})
      .end(fs.readFileSync(file));
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise(done => { server.closeAllConnections(); server.close(done); }),
  })));
}
// Another build of the site (another title, another cache name), removed at the end.
export function rebuiltSite() {
  const folder = fs.mkdtempSync(path.join(path.dirname(pageFile), 'site-copy-'));
  process.on('exit', () => fs.rmSync(folder, {recursive: true, force: true}));
  fs.cpSync(siteFolder, folder, {recursive: true});
  for (const [name, from, to] of [['sw.js', /[0-9a-f]{16}'/, '0123456789abcdef\''], ['index.html', /(<title>[^<]*)/, '$1, rebuilt']])
    fs.writeFileSync(path.join(folder, name), fs.readFileSync(path.join(folder, name), 'utf8').replace(from, to));
  return folder;
}

// The first visit to a site: its service worker installed and in charge.
export async function firstVisit(page, address) {
  await page.goto(address);
  await page.waitForFunction(opened, {timeout: bound});
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, {timeout: bound});
}
// The desktop's pictures exist once its e2e_xvfb has run (script/test runs it
// first); a selection of tests without it runs the other cases.
export const haveDesktopShots = desktopShots &&
  ['startup.png', 'calculated.png'].every(shot => fs.existsSync(path.join(desktopShots, shot)));
if (desktopShots && !haveDesktopShots)
  console.log(`skip the same pictures as the desktop window: no pictures in ${desktopShots} (run e2e_xvfb first)`);
export const button = {1: 'cmd1rect', 2: 'cmd2rect', 10: 'cmd10Rec', 10000: 'cmdcalc'};

export class Failure extends Error {}
export function equal(what, actual, wanted) {
  const a = JSON.stringify(actual), w = JSON.stringify(wanted);
  if (a !== w)
    throw new Failure(`${what}\n    expected ${w}\n    actual   ${a}`);
}
export function holds(what, condition) {
  if (!condition)
    throw new Failure(what);
}

// In the page: the picture's colours and a digest of its pixels, snapshots to
// compare, the clicks the buttons took and what the live region said.
export function watch() {
  window.seen = {clicks: [], spoken: [], prevented: [], snaps: {}};
  document.addEventListener('click', e => e.target.closest('button') &&
    seen.clicks.push(e.target.closest('button').id), true);
  // Whether the browser's own action for a chord was stopped, once it is dispatched.
  addEventListener('keydown', e => e.altKey && /^(Digit|Key)/.test(e.code) && seen.prevented.push(e), true);
  // Each announcement is the text the region was given, read from the change's
  // own record: announcements made in one task come as one batch of records.
  new MutationObserver(records => {
    for (const r of records)
      r.addedNodes.forEach(n => seen.spoken.push(n.textContent));
  }).observe(document.getElementById('announcement'), {childList: true});
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
export async function sameAsDesktop(page, shot) {
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

export const state = page => page.evaluate(() => ({
  box: document.getElementById('txtRes').value,
  readBack: boxReadBack(),
  spoken: seen.spoken.map(t => t.replace(/\u00a0$/, '')),
  described: document.getElementById('picGraphDescription').textContent,
  clicks: seen.clicks,
}));
export const spokenRun = n => spoken[n];
export const described = n => 'The sine curve over one period, from 0 to 2π, on axes.' + {
  0: '',
  1: ' 1 trapezoid approximates the area under it from 0 to π.',
  2: ' 2 trapezoids approximate the area under it from 0 to π.',
  10: ' 10 trapezoids approximate the area under it from 0 to π.',
  10000: ' 10000 trapezoids approximate the area under it from 0 to π.',
}[n];

// Alt with the key at a place (KeyboardEvent.code) that types `key` on the
// layout in use. Chromium takes the two apart; Firefox's driver types by key
// and takes the place from a US layout.
export async function chord(page, code, key, shift = false) {
  await chords(page, [[code, key, shift]]);
}

// Several chords typed at once: Chromium is handed them all before the first
// has run, so the later ones wait behind it; Firefox's driver types them one
// after another.
export async function chords(page, list) {
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
export const layouts = accessKeys.reduce((m, r) => m.set(r.layout, [...(m.get(r.layout) || []), r]), new Map());
export const codeOf = place => (/[0-9]/.test(place) ? 'Digit' : 'Key') + place;

export async function fitsRatio(page, ratio) {
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
export async function drawnFresh(ratio, presses) {
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
export const fit = page => page.evaluate(() => {
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
export function fitsWhole(what, got, width, height) {
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

export async function tap(page, id) {
  const r = await page.evaluate(id => {
    const b = document.getElementById(id).getBoundingClientRect();
    return [b.left + b.width / 2, b.top + b.height / 2];
  }, id);
  await page.touchscreen.tap(r[0], r[1]);
}


export const browser = webkit ? await openWebKit()
  : await open(browserName, {jitless: mode === 'jitless', webAssembly: mode !== 'no-webassembly'});
// Every page of the run, the fresh ones too, in the run's mode.
export async function newPage() {
  const page = await browser.newPage();
  page.setDefaultTimeout?.(bound);
  if (chromium && mode === 'no-webassembly')
    await page.evaluateOnNewDocument(() => { delete globalThis.WebAssembly; });
  return page;
}

// A case from the course site moves the run's address there.
export function useUrl(address) {
  url = address;
}
