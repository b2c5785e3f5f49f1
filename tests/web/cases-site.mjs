// The course site: installable, its manifest and icons, and a rebuild seen.
import fs from 'node:fs';
import path from 'node:path';
import {bound} from './page.mjs';
import {chromium, siteFolder, opened, serveFolder, firstVisit, equal, pageFile} from './harness.mjs';

export default [
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

];
