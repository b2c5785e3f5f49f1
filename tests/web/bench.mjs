// The browser edition's speed, as script/bench prints it: a Calculate press
// (the handler, 30,000 segments, the text and the canvas update) over 50
// presses, and opening the one file to its first picture, over 5 openings.
// "jitless": Chromium with its JavaScript JIT off, where the page runs the
// program's JavaScript build (at most 100 ms a press, 150 ms to the first
// picture); with the JIT, a WebAssembly press takes at most 2 ms.
//   node bench.mjs chromium|firefox PAGE [jitless]
import path from 'node:path';
import fs from 'node:fs';
import {open} from './page.mjs';

const [browserName, pageFile, mode] = process.argv.slice(2);
const jitless = mode === 'jitless';
const median = xs => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const url = 'file://' + path.resolve(pageFile);
const opened = () => performance.getEntriesByName('velmar-open').length > 0;

const browser = await open(browserName, {jitless});
const page = await browser.newPage();
const openings = [];
for (let i = 0; i < 5; ++i) {
  await page.goto(url);
  await page.waitForFunction(opened);
  openings.push(await page.evaluate(() => performance.getEntriesByName('velmar-open')[0].startTime));
}
// Each press on its own frame, as a user's would be; the time is the press's
// own work, up to the picture handed to the canvas.
const presses = await page.evaluate(async () => {
  const button = document.getElementById('cmdcalc'), times = [];
  for (let i = 0; i < 50; ++i) {
    await new Promise(requestAnimationFrame);
    const start = performance.now();
    button.click();
    times.push(performance.now() - start);
  }
  return times;
});
const version = await browser.version();
const program = await page.evaluate(() => document.documentElement.dataset.program);
await browser.close();
const ms = x => x.toFixed(2) + ' ms';
const [pressLimit, openLimit] = jitless ? ['100 ms', '150 ms'] : ['2 ms', '500 ms'];
console.log(`${version}${jitless ? ' without its JIT' : ''}, the ${program} build of a ` +
            `${Math.round(fs.statSync(pageFile).size / 1000)} KB file: Calculate press median ` +
            `${ms(median(presses))} (max ${ms(Math.max(...presses))}, 50 presses; at most ${pressLimit}); ` +
            `open to first picture median ${ms(median(openings))} (5 openings; at most ${openLimit})`);
