// Writes the course site: a folder that works from any path of any host, and
// offline after a first visit. The page as index.html, its web app manifest,
// the icons (PNGs drawn here from the program's artwork, and its SVG), the
// lecturers' guide as teaching.html with its picture, and the service worker,
// whose cache is named by the rest's content.
//   node site.mjs OUTDIR PAGE SHAPES_JSON SERVICE_WORKER_TEMPLATE GUIDE_BODY GUIDE_PICTURE
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

const [out, pageFile, shapesFile, workerFile, guideFile, pictureFile] = process.argv.slice(2);
const {svg, shapes} = JSON.parse(fs.readFileSync(shapesFile, 'utf8'));
const themeColour = '#000080', groundColour = '#f0f0f0'; // the title bar, the form

// The artwork on its 32-unit grid drawn at size x size, four by four samples a
// pixel. "any": the picture as it is, on nothing; "maskable": on the form's
// ground, inside the middle circle that every mask leaves whole.
function draw(size, maskable) {
  const xs = shapes.flatMap(s => s.points.map(p => p[0])), ys = shapes.flatMap(s => s.points.map(p => p[1]));
  const bounds = {x: Math.min(...xs), y: Math.min(...ys),
    width: Math.max(...xs) - Math.min(...xs), height: Math.max(...ys) - Math.min(...ys)};
  const scale = maskable ? 0.8 * size / Math.hypot(bounds.width, bounds.height) : size / 32;
  const offsetX = maskable ? size / 2 - scale * (bounds.x + bounds.width / 2) : 0;
  const offsetY = maskable ? size / 2 - scale * (bounds.y + bounds.height / 2) : 0;
  const ground = maskable ? [0xf0, 0xf0, 0xf0, 255] : [0, 0, 0, 0];
  const near = (p, a, b) => { // within half a unit of segment a-b: a stroke one unit wide
    const dx = b[0] - a[0], dy = b[1] - a[1], length = dx * dx + dy * dy;
    const t = length ? Math.max(0, Math.min(1, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length)) : 0;
    return Math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy) <= 0.5;
  };
  const colourAt = p => {
    let found = null;
    for (const s of shapes) {
      const [a, b] = s.points;
      const hit = s.fill ? p[0] >= a[0] && p[0] < b[0] && p[1] >= a[1] && p[1] < b[1]
        : s.points.some((q, i) => i > 0 && near(p, s.points[i - 1], q));
      if (hit)
        found = [s.colour >> 16 & 255, s.colour >> 8 & 255, s.colour & 255, 255];
    }
    return found || ground;
  };
  const pixels = Buffer.alloc(size * (size * 4 + 1));
  for (let y = 0; y < size; ++y) {
    pixels[y * (size * 4 + 1)] = 0; // no filter
    for (let x = 0; x < size; ++x) {
      const sum = [0, 0, 0, 0];
      for (let i = 0; i < 16; ++i) {
        const c = colourAt([(x + (i % 4 + 0.5) / 4 - offsetX) / scale, (y + (Math.floor(i / 4) + 0.5) / 4 - offsetY) / scale]);
        for (let k = 0; k < 3; ++k)
          sum[k] += c[k] * c[3];
        sum[3] += c[3];
      }
      const at = y * (size * 4 + 1) + 1 + x * 4;
      for (let k = 0; k < 3; ++k)
        pixels[at + k] = sum[3] ? Math.round(sum[k] / sum[3]) : 0;
      pixels[at + 3] = Math.round(sum[3] / 16);
    }
  }
  return png(size, pixels);
}

const crcTable = Array.from({length: 256}, (_, n) => {
  for (let k = 0; k < 8; ++k)
    n = n & 1 ? 0xedb88320 ^ (n >>> 1) : n >>> 1;
  return n >>> 0;
});
function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes)
    c = crcTable[(c ^ b) & 255] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}
function chunk(type, data) {
  const body = Buffer.concat([Buffer.from(type, 'latin1'), data]);
  const length = Buffer.alloc(4), crc = Buffer.alloc(4);
  length.writeUInt32BE(data.length);
  crc.writeUInt32BE(crc32(body));
  return Buffer.concat([length, body, crc]);
}
function png(size, rows) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(size, 0);
  header.writeUInt32BE(size, 4);
  header.set([8, 6, 0, 0, 0], 8); // 8 bits, RGBA
  return Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]), chunk('IHDR', header),
    chunk('IDAT', zlib.deflateSync(rows, {level: 9})), chunk('IEND', Buffer.alloc(0))]);
}

const files = {
  'index.html': fs.readFileSync(pageFile),
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
<title>Teaching with Integration Velmar</title>
<style>
  body { max-width: 46em; margin: 1em auto; padding: 0 1em; font: 16px/1.5 system-ui, sans-serif; }
  table { border-collapse: collapse; } th, td { border: 1px solid; padding: 0.2em 0.5em; }
  img { max-width: 100%; height: auto; }
</style>
</head>
<body>
<main>
${fs.readFileSync(guideFile, 'utf8')}
<p><a href="./">Open Integration Velmar</a></p>
</main>
</body>
</html>
`);
files[path.basename(pictureFile)] = fs.readFileSync(pictureFile);
files['manifest.webmanifest'] = Buffer.from(JSON.stringify({
  name: 'Integration Velmar',
  short_name: 'Velmar',
  description: 'See the trapezoidal rule integrate sin(x)',
  lang: 'en',
  start_url: '.',
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
const cached = ['./', ...Object.keys(files)];
files['sw.js'] = Buffer.from(fs.readFileSync(workerFile, 'utf8')
  .replace('@VELMAR_SITE_HASH@', hash.digest('hex').slice(0, 16))
  .replace('@VELMAR_SITE_FILES@', cached.map(f => `'${f}'`).join(', ')));

fs.rmSync(out, {recursive: true, force: true});
fs.mkdirSync(out, {recursive: true});
for (const [name, bytes] of Object.entries(files))
  fs.writeFileSync(path.join(out, name), bytes);
