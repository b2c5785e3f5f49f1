// The page's side of the browser edition: makes the form and its controls from
// the layout the program hands over, delivers their events to the program, and
// does what the program asks of its window (velmarPage).
'use strict';

const velmarPage = (() => {
  const byName = {};
  const framed = window.top !== window;
  let layout, canvas, context, box, live, described, ended = false, spoken = 0;

  // "Calculate" with its access key, the C, underlined.
  function caption(element, {caption: text, accessKeyAt: at}) {
    const key = document.createElement('u');
    key.textContent = text.charAt(at);
    element.append(text.slice(0, at), key, text.slice(at + 1));
  }

  function place(element, left, top, width, height) {
    Object.assign(element.style, {
      left: left + 'px', top: top + 'px', width: width + 'px', height: height + 'px',
    });
  }

  // The form is shown whole in the browser's area (or the frame it is in):
  // scaled down as one piece where the area is smaller than the form, at its
  // own size where it is larger. Scaled, the canvas's device pixels per CSS
  // pixel are a whole number of 64ths, a ratio every browser keeps exactly, so
  // the picture is the one a page opened at that ratio draws.
  let scale = 1, effectiveRatio = 1;
  function fitForm() {
    // The area is measured with the form out of the way: scroll bars its old
    // size brought would make the room look smaller than it is.
    const roomStyle = document.getElementById('room').style;
    Object.assign(roomStyle, {width: '0', height: '0'});
    const area = document.documentElement, ratio = window.devicePixelRatio || 1;
    const {width: formWidth, height: formHeight} = layout;
    const room = Math.min(1, area.clientWidth / formWidth, area.clientHeight / formHeight);
    effectiveRatio = room < 1 ? Math.max(1, Math.floor(room * ratio * 64)) / 64 : ratio;
    scale = room < 1 ? effectiveRatio / ratio : 1;
    document.getElementById('frmvelmar').style.transform = scale < 1 ? `scale(${scale})` : '';
    Object.assign(roomStyle, {width: formWidth * scale + 'px', height: formHeight * scale + 'px'});
  }

  // The backing store at the device pixels the canvas covers (the ratio times
  // the form's scale): one-pixel lines stay one device pixel, at any zoom, on
  // any screen and at any scale.
  function fitCanvas() {
    const ratio = effectiveRatio;
    const width = canvas.clientWidth, height = canvas.clientHeight;
    const deviceWidth = Math.round(width * ratio), deviceHeight = Math.round(height * ratio);
    if (canvas.width !== deviceWidth || canvas.height !== deviceHeight) {
      canvas.width = deviceWidth;
      canvas.height = deviceHeight;
    }
    Module._velmar_set_canvas(width, height, deviceWidth, deviceHeight, ratio);
  }

  // A new room (a phone turned, a window or frame resized, browser zoom) or a
  // new ratio: the form is fitted again, and the picture drawn anew where the
  // device pixels it covers changed.
  function refit() {
    fitForm();
    if (ended)
      return; // the picture last drawn stays, at whatever size the browser shows it
    fitCanvas();
    handle(() => Module._velmar_canvas_changed());
  }

  function followRatio() {
    const query = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
    query.addEventListener('change', () => {
      refit();
      followRatio();
    }, {once: true});
  }

  // The controls are in tab order, and so is the page: Tab visits them in the
  // order they are made, wherever they stand.
  function make(form) {
    const size = {width: layout.width + 'px', height: layout.height + 'px'};
    Object.assign(form.style, size);
    Object.assign(document.getElementById('room').style, size);
    for (const id of ['report', 'ended'])
      document.getElementById(id).style.maxWidth = size.width;
    for (const control of layout.controls) {
      const {name, kind, spokenName, description} = control;
      let element;
      if (kind === 'canvas') {
        element = document.createElement('canvas');
        element.setAttribute('role', 'img');
        element.setAttribute('aria-describedby', 'picGraphDescription');
        element.style.borderWidth = layout.canvasBorder + 'px';
        element.tabIndex = 0;
      } else if (kind === 'box') {
        element = document.createElement('textarea');
        element.setAttribute('aria-description', description);
        element.maxLength = layout.boxMaxLength;
        element.spellcheck = false;
      } else {
        element = document.createElement('button');
        element.type = 'button';
        caption(element, control);
        const key = control.accessKey;
        element.setAttribute('aria-keyshortcuts', 'Alt+' + key);
        element.title = description;
        element.addEventListener('click', () => handle(() => Module.ccall('velmar_click', null, ['string'], [name])));
      }
      if (kind !== 'button')
        element.setAttribute('aria-label', spokenName);
      element.id = name;
      place(element, control.left, control.top, control.width, control.height);
      form.append(element);
      byName[name] = element;
    }
    canvas = byName.picGraph;
    box = byName.txtRes;
    box.addEventListener('focus', () => caretToStart && caretAtStart());
    context = canvas.getContext('2d', {alpha: false});
  }

  // Runs one of the program's handlers. A new text in the box is read from its
  // start: the caret goes there once the handler is done if the box has the
  // focus, or else when the box gets it. Placing it costs the browser a layout
  // of the page, which a press need not pay while the student is elsewhere.
  let caretToStart = false;
  function handle(run) {
    run();
    if (caretToStart && document.activeElement === box)
      caretAtStart();
  }
  function caretAtStart() {
    caretToStart = false;
    box.setSelectionRange(0, 0);
  }

  // Alt with a key: the button the program's access-key rule names, from what
  // the key types (KeyboardEvent.key) and its place (KeyboardEvent.code, a US
  // keyboard's letter or digit there). AltGr (Ctrl+Alt to the browser) types
  // its characters untouched.
  function onKey(event) {
    if (!event.altKey || event.ctrlKey || event.metaKey || ended)
      return;
    const typed = [...event.key].length === 1 ? event.key.codePointAt(0) : 0;
    const place = /^(?:Digit|Key)(.)$/.exec(event.code)?.[1].charCodeAt(0) ?? 0;
    const name = Module._velmar_access_key(typed, place);
    if (!name)
      return;
    event.preventDefault();
    event.stopPropagation();
    byName[Module.UTF8ToString(name)].click();
  }

  // In the course site the page is an app: it names its manifest (and its
  // home-screen icon), and its service worker keeps the site for offline use.
  // The one file asks for nothing beside it, wherever it is opened.
  function becomeApp() {
    if (!/^https?:$/.test(location.protocol) || !document.querySelector('link[rel=manifest]'))
      return;
    // Where a sandbox refuses service workers (some browsers throw at once),
    // the page works online only.
    try {
      navigator.serviceWorker?.register('sw.js').catch(() => {});
    } catch {}
  }

  // In a course platform, as its package (SCORM 1.2): the platform's API, in a
  // frame above the page or in the window that opened it, hears that the
  // activity is done (opening the tool is the activity; nothing is scored) and,
  // when the page is left, that it has ended. Nothing else is sent. An API that
  // is missing, errs or throws changes nothing.
  function findPlatform() {
    for (const start of [window, window.opener]) {
      for (let w = start, hops = 0; w && hops < 16; w = w.parent, ++hops) {
        try {
          if (w.API)
            return w.API;
        } catch {} // a frame of another origin
        if (w === w.parent)
          break;
      }
    }
    return null;
  }
  function tellPlatform(api) {
    const call = (name, ...values) => {
      try {
        return String(api[name](...values));
      } catch {
        return 'false';
      }
    };
    if (call('LMSInitialize', '') !== 'true')
      return;
    call('LMSSetValue', 'cmi.core.lesson_status', 'completed');
    call('LMSCommit', '');
    addEventListener('pagehide', () => call('LMSFinish', ''), {once: true});
  }

  function start() {
    const icon = document.createElement('link');
    icon.rel = 'icon';
    icon.type = 'image/svg+xml';
    icon.href = 'data:image/svg+xml,' + encodeURIComponent(Module.UTF8ToString(Module._velmar_icon_svg()));
    document.head.append(icon);
    becomeApp();
    const platform = findPlatform();
    if (platform)
      tellPlatform(platform);
    layout = JSON.parse(Module.UTF8ToString(Module._velmar_layout()));
    const form = document.getElementById('frmvelmar');
    make(form);
    described = document.getElementById('picGraphDescription');
    live = document.getElementById('announcement');
    document.addEventListener('keydown', onKey, true);
    fitForm();
    fitCanvas();
    followRatio();
    addEventListener('resize', refit);
    handle(() => Module._velmar_start());
  }

  return {
    start,
    // A new text is read from its start, the caret on its first line (placed
    // by handle).
    setBoxText(text) {
      box.value = text;
      caretToStart = true;
    },
    boxText() { return box.value; },
    putPixels(image, x, y, w, h) {
      context.putImageData(image, 0, 0, x, y, w, h);
    },
    describe(text) { described.textContent = text; },
    // A screen reader drops a message equal to the one before: consecutive
    // messages differ by a trailing no-break space, which it does not speak.
    announce(text) { live.textContent = text + (++spoken % 2 ? '' : '\u00a0'); },
    open() {
      document.getElementById('frmvelmar').style.visibility = 'visible';
      // Inside a course page's frame the course page keeps its focus and its
      // scroll position: a click or Tab brings the student in.
      if (!framed)
        canvas.focus();
      performance.mark('velmar-open'); // the first picture is on the page
    },
    report(heading, text) {
      const report = document.getElementById('report');
      report.querySelector('h2').textContent = heading;
      report.querySelector('p').textContent = text;
      report.hidden = false;
      if (!framed || document.hasFocus())
        report.focus();
    },
    // No memory was left for the report itself: its number and description.
    reportUnshown(number, text) { this.report(`Error ${number}`, text); },
    quit(status) {
      ended = true;
      for (const element of Object.values(byName))
        element.disabled = true;
      document.getElementById('ended').hidden = false;
      if (status === 0) {
        document.getElementById('frmvelmar').hidden = true;
        window.close(); // where the browser lets a page close its window
      }
    },
  };
})();

// The program, once the page's scripts are all there: its WebAssembly where the
// browser has WebAssembly and compiles it (the faster by far), and otherwise
// the same program compiled to JavaScript, which every browser runs. Each is
// held as text until picked here, so the browser parses only the one it runs.
function runBuild(id) {
  const script = document.createElement('script');
  script.textContent = document.getElementById(id).textContent;
  document.head.appendChild(script);
}
var Module;
addEventListener('DOMContentLoaded', async () => {
  let program = null, kind = 'webassembly';
  if (typeof WebAssembly === 'object') {
    try {
      runBuild('velmar-web');
      program = await velmarWebAssembly();
    } catch {
      program = null; // turned off or refused: JavaScript it is
    }
  }
  if (!program) {
    kind = 'javascript';
    runBuild('velmar-web-js');
    program = await velmarJavaScript();
  }
  Module = program;
  document.documentElement.dataset.program = kind;
  velmarPage.start();
});
