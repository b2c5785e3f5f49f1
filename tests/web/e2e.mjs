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
// row of the tables in cases-*.mjs; each runs on a freshly opened page.
import {bound} from './page.mjs';
import {browser, newPage, chromium, webkit, mode, browserName, plain, fromSite, withoutWebAssembly, siteFolder,
  url, useUrl, serveFolder, firstVisit, opened, watch, equal, Failure} from './harness.mjs';
import program from './cases-program.mjs';
import rooms from './cases-rooms.mjs';
import frames from './cases-frames.mjs';
import site from './cases-site.mjs';

const cases = [...program, ...rooms, ...frames, ...site];
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
      useUrl(siteServer.url);
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
