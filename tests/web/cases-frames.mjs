// The page inside a course page's frame from another origin, and served
// sandboxed without scripts.
import {bound} from './page.mjs';
import {webkit, opened, site, course, equal, holds, watch, state, spokenRun, chord, expected} from './harness.mjs';

export default [
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
    // A frame from another origin out of view gets no animation frames: its waits look on a timer.
    const looking = {timeout: bound, polling: 50};
    await frame.waitForFunction(opened, looking);
    equal('the course page after the frame opened', await page.evaluate(() => [scrollY, document.activeElement.id]), before);
    equal('the course page\'s field', await page.evaluate(() => document.getElementById('notes').value), 'trapezoid');
    await frame.evaluate(watch);
    await frame.click('#picGraph');
    equal('a click gives the frame\'s canvas the focus', await frame.evaluate(() => document.activeElement.id), 'picGraph');
    await chord(page, 'KeyC', 'c');
    await frame.waitForFunction(() => seen.spoken.length > 0, looking).catch(() => {});
    const got = await state(frame);
    equal('Alt+C in the frame', [got.readBack, got.spoken], [expected[10000], [spokenRun(10000)]]);
  }, true]]),

  ['served sandboxed without scripts: the message for a browser without JavaScript', async page => {
    await page.goto(`${site}/no-scripts.html`);
    const text = await page.evaluate(() => document.body.innerText);
    holds(`the message is shown: ${JSON.stringify(text)}`, text.includes('it needs JavaScript, which this browser has turned off'));
    holds('no form', !text.includes('Calculate'));
  }, true],

];
