// Writes the course site: a folder that works from any path of any host, and
// offline after a first visit. The page as index.html (naming its web app
// manifest and home-screen icon), the manifest,
// the icons (PNGs drawn by rsvg-convert from the program's artwork, and its SVG), the
// lecturers' guide as teaching.html with its picture, and the service worker,
// whose cache is named by the rest's content.
//   node site.mjs OUTDIR PAGE SHAPES_JSON SERVICE_WORKER_TEMPLATE GUIDE_BODY GUIDE_PICTURE
import {spawnSync} from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';

const [out, pageFile, shapesFile, workerFile, guideFile, pictureFile] = process.argv.slice(2);
const {svg, shapes} = JSON.parse(fs.readFileSync(shapesFile, 'utf8'));
const themeColour = '#000080', groundColour = '#f0f0f0'; // the title bar, the form
const page = fs.readFileSync(pageFile);
const name = page.toString('utf8').match(/<title>([^<]*)<\/title>/)[1]; // the program's, as the page has it

// The artwork drawn at size x size by librsvg's rsvg-convert, the same bytes
// from build to build. "any": the picture as it is, on nothing; "maskable": on
// the form's ground, inside the middle circle that every mask leaves whole.
function draw(size, maskable) {
  let picture = svg;
  if (maskable) {
    const xs = shapes.flatMap(s => s.points.map(p => p[0])), ys = shapes.flatMap(s => s.points.map(p => p[1]));
    const [left, top, right, bottom] = [Math.min(...xs), Math.min(...ys), Math.max(...xs), Math.max(...ys)];
    const scale = 0.8 * size / Math.hypot(right - left, bottom - top);
    const dx = size / 2 - scale * (left + right) / 2, dy = size / 2 - scale * (top + bottom) / 2;
    const inner = svg.slice(svg.indexOf('>', svg.indexOf('<svg')) + 1, svg.lastIndexOf('</svg>'));
    picture = `<svg xmlns="http://www.w3.org/2000/svg" width="${size}" height="${size}" viewBox="0 0 ${size} ${size}">` +
      `<rect width="${size}" height="${size}" fill="${groundColour}"/>` +
      `<g transform="translate(${dx} ${dy}) scale(${scale})">${inner}</g></svg>`;
  }
  const drawn = spawnSync('rsvg-convert', ['--width', size, '--height', size, '--format', 'png'],
    {input: picture, maxBuffer: 1 << 24});
  if (drawn.error || drawn.status !== 0)
    throw new Error(`rsvg-convert could not draw the icon: ${drawn.error || drawn.stderr}`);
  return drawn.stdout;
}

const files = {
  // The page, naming what makes it an app.
  'index.html': Buffer.from(page.toString('utf8').replace('</head>',
    '<link rel="manifest" href="manifest.webmanifest">\n<link rel="apple-touch-icon" href="icon-maskable-192.png">\n</head>')),
  'icon.svg': Buffer.from(svg),
  'icon-192.png': draw(192, false),
  'icon-512.png': draw(512, false),
  'icon-maskable-192.png': draw(192, true),
  'icon-maskable-512.png': draw(512, true),
};
files['teaching.html'] = Buffer.from(`<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Teaching with ${name}</title>
<style>
  body { max-width: 46em; margin: 1em auto; padding: 0 1em; font: 16px/1.5 system-ui, sans-serif; }
  table { border-collapse: collapse; } th, td { border: 1px solid; padding: 0.2em 0.5em; }
  img { max-width: 100%; height: auto; }
</style>
</head>
<body>
<main>
${fs.readFileSync(guideFile, 'utf8')}
<p><a href="index.html">Open ${name}</a></p>
</main>
</body>
</html>
`);
files[path.basename(pictureFile)] = fs.readFileSync(pictureFile);
files['manifest.webmanifest'] = Buffer.from(JSON.stringify({
  name,
  short_name: 'Velmar',
  description: 'See the trapezoidal rule integrate sin(x)',
  lang: 'en',
  start_url: 'index.html',
  scope: '.',
  display: 'standalone',
  theme_color: themeColour,
  background_color: groundColour,
  icons: [
    {src: 'icon-192.png', sizes: '192x192', type: 'image/png', purpose: 'any'},
    {src: 'icon-512.png', sizes: '512x512', type: 'image/png', purpose: 'any'},
    {src: 'icon-maskable-192.png', sizes: '192x192', type: 'image/png', purpose: 'maskable'},
    {src: 'icon-maskable-512.png', sizes: '512x512', type: 'image/png', purpose: 'maskable'},
    {src: 'icon.svg', sizes: 'any', type: 'image/svg+xml', purpose: 'any'},
  ],
}, null, 2) + '\n');
const hash = crypto.createHash('sha256');
for (const name of Object.keys(files).sort())
  hash.update(name).update(files[name]);
files['sw.js'] = Buffer.from(fs.readFileSync(workerFile, 'utf8')
  .replace('@VELMAR_SITE_HASH@', hash.digest('hex').slice(0, 16))
  .replace('@VELMAR_SITE_FILES@', Object.keys(files).map(f => `'${f}'`).join(', ')));

fs.rmSync(out, {recursive: true, force: true});
fs.mkdirSync(out, {recursive: true});
for (const [name, bytes] of Object.entries(files))
  fs.writeFileSync(path.join(out, name), bytes);
