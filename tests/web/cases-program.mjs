// The program's own cases: the form as it opens, the four pictures,
// access keys on every layout, Tab, Enter and Esc, the box, typed-ahead
// presses, announcements, a run-time error, Exit, new pixel ratios, axe-core.
import path from 'node:path';
import {browserName, axeSource, chromium, webkit, setsRatio, haveDesktopShots, button, equal, holds,
  sameAsDesktop, state, spokenRun, described, chord, chords, layouts, codeOf, fitsRatio, drawnFresh,
  pageFile, expected, boxTexts} from './harness.mjs';

export default [
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
    // The layout's order, which is the tab order.
    const order = await page.evaluate(() => JSON.parse(Module.UTF8ToString(Module._velmar_layout())).controls.map(c => c.name));
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

  ['axe-core finds no violation', async page => {
    await page.click('#cmd10Rec');
    await page.addScriptTag({content: axeSource});
    const violations = await page.evaluate(async () =>
      (await axe.run(document)).violations.map(v => `${v.id}: ${v.nodes.map(n => n.target).join(', ')}`));
    equal('violations', violations, []);
  }],
];
