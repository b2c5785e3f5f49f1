// What the browser tests and the browser bench share: the browsers, and the
// desktop's exact texts.
import fs from 'node:fs';
import puppeteer from 'puppeteer-core';

// Every wait ends when what it waits for comes; only a hung start or a fault
// reaches this bound, in milliseconds (VELMAR_WAIT_BOUND seconds, as the shell
// tests take it).
export const bound = Number(process.env.VELMAR_WAIT_BOUND || 180) * 1000;

// Debian's own browsers: Chromium over its DevTools protocol, Firefox ESR over
// WebDriver BiDi. Without WebAssembly where asked: Chromium with its JIT off,
// which leaves WebAssembly unable to compile, or Firefox with WebAssembly
// turned off.
export function open(name, {jitless = false, webAssembly = true} = {}) {
  if (name === 'chromium')
    return puppeteer.launch({
      executablePath: process.env.VELMAR_CHROMIUM || '/usr/bin/chromium', headless: true,
      timeout: bound, protocolTimeout: bound,
      // Its sandbox needs user namespaces, which a root session does not get.
      args: [...(process.getuid() === 0 ? ['--no-sandbox'] : []), ...(jitless ? ['--js-flags=--jitless'] : [])],
    });
  if (name === 'firefox')
    return puppeteer.launch({
      browser: 'firefox', executablePath: process.env.VELMAR_FIREFOX || '/usr/bin/firefox-esr', headless: true,
      timeout: bound, protocolTimeout: bound,
      extraPrefsFirefox: webAssembly ? {} : {'javascript.options.wasm': false},
    });
  throw new Error(`no browser called ${name}: chromium or firefox`);
}

// The cases the desktop's tests share: the four texts and what is announced of
// each run, by trapezoid count, the box's texts with what the box shows of
// each, and the access keys on every keyboard layout.
export function cases(file) {
  const {runs, boxTexts, accessKeys} = JSON.parse(fs.readFileSync(file, 'utf8'));
  return {runs: Object.fromEntries(runs.map(r => [r.nTrap, r.text])),
    spoken: Object.fromEntries(runs.map(r => [r.nTrap, r.spoken])), boxTexts, accessKeys};
}
