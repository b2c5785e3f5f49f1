// The rooms the page meets: a window smaller than the form, phones and tablets
// by touch, a phone turned, and forced colours.
import path from 'node:path';
import {bound} from './page.mjs';
import {chromium, opened, equal, holds, watch, state, spokenRun, drawnFresh, fit, fitsWhole, tap, pageFile,
  expected} from './harness.mjs';

export default [
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

];
