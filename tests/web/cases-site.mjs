// The course site: installable, its manifest and icons; on the hosts lecturers
// have; and the package course platforms import.
import fs from 'node:fs';
import path from 'node:path';
import {spawnSync} from 'node:child_process';
import {bound} from './page.mjs';
import {chromium, webkit, plain, siteFolder, opened, serve, serveFolder, rebuiltSite, firstVisit, equal, holds, pageFile,
  expected, require, types} from './harness.mjs';

// Each row: another application's cache made on the host, a first visit to
// each of `visits`, the host turned as `then` says; the page at `open` then
// opens (within 4 s where the host hangs), a press gives its text, and the
// caches on the host are the application's and, whole, each copy's last build's.
const cacheOf = (scope, folder) => `integration-velmar ${scope} ` +
  fs.readFileSync(path.join(folder, 'sw.js'), 'utf8').match(/([0-9a-f]{16})'/)[1];
const hosts = (rebuilt = rebuiltSite(), site = siteFolder) => [
  ['two copies on one host', {mounts: {'/a/': site, '/b/': rebuilt}}, ['a/', 'b/'], {down: 503}, 'a/', '',
    [cacheOf('/a/', site), cacheOf('/b/', rebuilt)]],
  ['no page for a folder\'s address', {noIndex: true}, ['index.html'], {}, '', '', [cacheOf('/', site)]],
  ['that never answers', {}, [''], {down: 'hang'}, '', '', [cacheOf('/', site)]],
  ['answering 404, a query string', {}, [''], {down: 404}, 'index.html?week=3', '', [cacheOf('/', site)]],
  ['with a year\'s max-age, a new build', {maxAge: 31536000, mounts: {'/': site}}, [''], {mounts: {'/': rebuilt}},
    '', ', rebuilt', [cacheOf('/', rebuilt)]],
  ['and its address without the slash', {mounts: {'/a/': site}}, ['a'], {}, 'a', '', [cacheOf('/a/', site)]],
].map(([what, host, visits, then, open, rebuild, kept]) => [`the course site on a host ${what}`, async page => {
  const server = await serveFolder(site, host);
  try {
    await page.goto(server.url + 'another-application/');
    await page.evaluate(() => caches.open('another application').then(c => c.put('kept', new Response('kept'))));
    for (const visit of visits)
      await firstVisit(page, server.url + visit);
    Object.assign(host, then);
    await page.goto(server.url + open);
    await page.waitForFunction(opened, {timeout: bound});
    const openedAt = await page.evaluate(() => performance.getEntriesByName('velmar-open')[0].startTime);
    holds(`opened ${openedAt} ms after it was asked for`, host.down !== 'hang' || openedAt < 4000);
    const wanted = [['another application', 1], ...kept.map(k => [k, fs.readdirSync(site).length - 1])].sort();
    await page.waitForFunction(w => caches.keys().then(k => k.sort().join() === w), {timeout: bound},
      wanted.map(w => w[0]).join()).catch(() => {});
    equal('title, box, caches', [await page.evaluate(() => document.title), await pressed(page), await page.evaluate(() => caches.keys().then(
      k => Promise.all(k.sort().map(n => caches.open(n).then(c => c.keys()).then(e => [n, e.length])))))],
    [`Integration Velmar${rebuild}`, expected[2], wanted]);
  } finally {
    await server.close();
  }
}, true]);
// The box after a press of "2 Rect".
async function pressed(page) {
  await page.click('#cmd2rect');
  await page.waitForFunction(() => document.getElementById('txtRes').value !== '', {timeout: bound});
  return (await page.evaluate(() => document.getElementById('txtRes').value)).replace(/\n/g, '\r\n');
}

export default [
  ...((chromium || webkit) && plain ? hosts() : []),
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
      ['Integration Velmar', 'Velmar', 'index.html', '.', 'standalone', '#000080', '#f0f0f0']);
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
  }, true]] : []),

  ...(chromium && plain ? [['the package for course platforms, in a SCORM 1.2 player and alone', async page => {
    const read = spawnSync('python3', ['-c', 'import base64, json, sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); ' +
      'print(json.dumps({n: base64.b64encode(z.read(n)).decode() for n in z.namelist()}))',
    path.join(path.dirname(pageFile), 'integration-velmar-scorm12.zip')], {maxBuffer: 1 << 24});
    const {'imsmanifest.xml': manifest, ...files} = JSON.parse(read.stdout);
    equal('the files the manifest lists, the zip\'s', [...atob(manifest).matchAll(/<file href="([^"]+)"/g)]
      .map(m => m[1]).sort(), Object.keys(files).sort());
    const player = api => ({body: `<!DOCTYPE html><title>Course platform</title><link rel="icon" href="data:,">
      <script>${api}</script><iframe id="activity" src="activity/index.html" width="698" height="526"></iframe>`});
    const host = await serve({'/favicon.ico': {body: ''}, ...Object.fromEntries(Object.entries(files).map(([n, b]) =>
      ['/activity/' + n, {body: Buffer.from(b, 'base64'), headers: {'Content-Type': types[path.extname(n)]}}])),
    '/player.html': player(`${fs.readFileSync(require.resolve('scorm-again/scorm12/min'))}
      window.API = new Scorm12API({logLevel: 5}), window.calls = [];
      for (const call of ['LMSInitialize', 'LMSGetValue', 'LMSSetValue', 'LMSCommit', 'LMSFinish'])
        API.on(call, (...values) => calls.push([call, ...values].join(' ').trim()));`),
    '/throwing.html': player('window.API = new Proxy({}, {get: () => () => { throw new Error(\'down\'); }});')});
    const said = [];
    page.on('console', m => said.push(m.text()));
    for (const address of ['/throwing.html', '/activity/index.html', '/player.html']) {
      await page.goto(host + address);
      const activity = page.frames().find(f => f.url().endsWith('/activity/index.html'));
      await activity.waitForFunction(opened, {timeout: bound});
      equal(`${address}: a press`, await pressed(activity), expected[2]);
    }
    await page.evaluate(() => { document.getElementById('activity').src = 'about:blank'; });
    await page.waitForFunction(() => calls.length > 3, {timeout: bound}).catch(() => {});
    equal('what the platform heard, what the page said', [await page.evaluate(() => [calls, API.cmi.core.lesson_status]), said],
      [[['LMSInitialize', 'LMSSetValue cmi.core.lesson_status completed', 'LMSCommit', 'LMSFinish'], 'completed'], []]);
  }, true]] : []),

  ['opened from disk: no service worker, nothing asked of a site', async page => {
    equal('manifest and home-screen icon', await page.evaluate(() =>
      document.querySelectorAll('link[rel=manifest], link[rel=apple-touch-icon]').length), 0);
    // A browser that has no service workers for files at all refuses the question.
    equal('service workers', await page.evaluate(async () => navigator.serviceWorker
      ? (await navigator.serviceWorker.getRegistrations().catch(() => [])).length : 0), 0);
  }, true],

];
