// Builds the page from web/src and the core's module (the wasm build's quoinry-core.js):
//   dist/quoinry.html        one self-contained file that works when opened from disk
//   dist/site/               the same page as a static site, with a web app manifest and a
//                            service worker that keeps it usable without a network
// Usage: node build.mjs CORE.js
import { readFileSync, writeFileSync, mkdirSync } from 'node:fs';
import { createHash } from 'node:crypto';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const read = (path) => readFileSync(join(here, path), 'utf8');
const corePath = process.argv[2];
if (!corePath) {
  console.error('usage: node build.mjs CORE.js');
  process.exit(2);
}
// Text inside a script element must not close it early.
const inScript = (text) => text.replace(/<\/script/gi, '<\\/script').replace(/<!--/g, '<\\!--');

const core = inScript(readFileSync(corePath, 'utf8'));
const shared = read('src/core-call.js');
const worker = inScript(shared + '\n' + read('src/measure-worker.js'));
const fflate = inScript(readFileSync(join(here, 'node_modules/fflate/umd/index.js'), 'utf8'));
const app = inScript(["'use strict';", shared, read('src/form.js'), read('src/docx.js'), read('src/app.js')].join('\n'));

function page(manifest) {
  // Replacement functions: a "$" in the sources must stay as it is.
  return read('src/index.html')
    .replace('/*STYLE*/', () => read('src/style.css'))
    .replace('<!--MANIFEST-->', () => manifest)
    .replace('/*CORE*/', () => core)
    .replace('/*WORKER*/', () => worker)
    .replace('/*FFLATE*/', () => fflate)
    .replace('/*APP*/', () => app);
}

const dist = join(here, 'dist');
mkdirSync(join(dist, 'site'), { recursive: true });
const single = page('');
writeFileSync(join(dist, 'quoinry.html'), single);

const site = page('<link rel="manifest" href="manifest.webmanifest">\n' +
  '<link rel="icon" href="icon.svg">\n<script>/*SW*/</script>'.replace('/*SW*/', read('src/register-sw.js')));
writeFileSync(join(dist, 'site', 'index.html'), site);
writeFileSync(join(dist, 'site', 'manifest.webmanifest'), read('src/manifest.webmanifest'));
writeFileSync(join(dist, 'site', 'icon.svg'), read('src/icon.svg'));
// The cache is named after the page's bytes, so a new page replaces the old one.
const version = createHash('sha256').update(site).digest('hex').slice(0, 12);
writeFileSync(join(dist, 'site', 'sw.js'), read('src/sw.js').replace('@VERSION@', version));

const kib = (text) => (Buffer.byteLength(text) / 1024).toFixed(0) + ' KiB';
console.log(`web: dist/quoinry.html ${kib(single)}, dist/site/index.html ${kib(site)}`);
const limit = 4 * 1024 * 1024;
if (Buffer.byteLength(single) > limit) {
  console.error('web: the page is larger than 4 MiB');
  process.exit(1);
}
