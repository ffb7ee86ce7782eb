// Plays the browser build in Debian's headless Chromium: the page loads
// without errors, the title and the menu appear on the canvas, Enter starts a
// game, typed letters destroy words, a qualifying score asks for a name that
// is still in the table after a reload, and sound runs after the first key.
// Prints the page's figures (size, first frame, frame timing against the
// native build); --record writes them to bench/.
//
//   node tests/web/web-test.mjs [--record] [--shot docs/web-wave.png]
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const args = process.argv.slice(2);
const option = (name, fallback) => {
  const i = args.indexOf(name);
  return i >= 0 && i + 1 < args.length ? args[i + 1] : fallback;
};
const webDir = path.resolve(root, option('--dir', 'build/web'));
const nativeDir = path.resolve(root, option('--native', 'build/default'));
const shot = option('--shot', '');
const record = args.includes('--record');
const Deadline = 60000;  // generous: the machine may be busy

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
const server = http.createServer((req, res) => {
  const name = path.normalize(decodeURIComponent(new URL(req.url, 'http://x').pathname)).replace(/^([/\\])+/, '');
  const file = path.join(webDir, name);
  if (!file.startsWith(webDir) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    res.writeHead(404).end();
    return;
  }
  res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
  fs.createReadStream(file).pipe(res);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const base = `http://127.0.0.1:${server.address().port}`;

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'glyphfall-chromium-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  userDataDir: profile,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-quic'],
});

let passed = 0, failed = 0;
const check = (ok, what) => {
  if (ok) passed++; else failed++;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  return ok;
};
const pageErrors = [];
const figures = {};

async function waitFor(page, fn, what, arg) {
  const end = Date.now() + Deadline;
  for (;;) {
    const value = await page.evaluate(fn, arg).catch(() => undefined);
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await new Promise((r) => setTimeout(r, 50));
  }
}

// Pixels in a rectangle of the canvas for which the colour test holds.
const countPixels = (page, rect, test) => page.evaluate(([x, y, w, h, testText]) => {
  const data = document.getElementById('canvas').getContext('2d').getImageData(x, y, w, h).data;
  const pass = new Function('r', 'g', 'b', `return ${testText};`);
  let n = 0;
  for (let i = 0; i < data.length; i += 4) if (pass(data[i], data[i + 1], data[i + 2])) n++;
  return n;
}, [...rect, test]);
const Blue = 'b > 200 && r < 80 && g < 80';
const Red = 'r > 200 && g < 80 && b < 80';
const screen = (page) => page.evaluate(() => Module._glyphfall_screen());
const Menu = 1, Play = 2, HiScores = 3;

async function open(page) {
  page.on('pageerror', (e) => pageErrors.push(e.message));
  page.on('console', (m) => { if (m.type() === 'error') pageErrors.push(m.text()); });
  await page.setViewport({ width: 1000, height: 800 });
  await page.goto(`${base}/index.html`);
  await waitFor(page, () => window.glyphfall && window.glyphfall.frames > 0, 'the first frame');
}

try {
  const page = await browser.newPage();
  await open(page);
  figures.web_first_frame_ms = Math.round(await page.evaluate(() => window.glyphfall.firstFrameMs));
  const stages = await page.evaluate(() => [window.glyphfall.storageMs, window.glyphfall.runtimeMs]);
  console.log(`first frame: storage read at ${Math.round(stages[0])} ms, runtime ready at ${Math.round(stages[1])} ms`);
  // The title's message, until the menu replaces it.
  let title = 0;
  while (title <= 300 && await screen(page) === 0) title = await countPixels(page, [200, 200, 400, 200], Blue);
  check(title > 300, 'the title shows on the canvas');
  await waitFor(page, () => Module._glyphfall_screen() === 1, 'the menu');
  await new Promise((r) => setTimeout(r, 300));
  check(await countPixels(page, [320, 80, 160, 55], Red) > 150, 'the menu shows START in red');

  await page.keyboard.press('Enter');
  await waitFor(page, () => Module._glyphfall_screen() === 2, 'a game');
  check(await screen(page) === Play, 'Enter starts a game');
  check(await waitFor(page, () => Module.glyphfallAudio.state() === 'running', 'sound'), 'sound runs after the first key');

  if (shot) {
    // The first words are well on their way by now.
    await new Promise((r) => setTimeout(r, 12000));
    await (await page.$('#canvas')).screenshot({ path: path.resolve(root, shot) });
  }
  // Every letter in turn: each one hits the words whose next letter it is.
  const end = Date.now() + Deadline;
  while (await page.evaluate(() => Module._glyphfall_score()) < 300 && Date.now() < end)
    for (const c of 'etaoinshrdlucmfwypvbgkqjxz') await page.keyboard.press(c);
  const score = await page.evaluate(() => Module._glyphfall_score());
  check(score >= 300, `typed letters destroy words (score ${score})`);

  await page.keyboard.press('Escape');
  // The results screen comes first; it takes a key after its first second.
  await waitFor(page, () => Module._glyphfall_screen() === 5, 'the results screen');
  const leave = Date.now() + Deadline;
  while ((await screen(page)) === 5 && Date.now() < leave) {
    await page.keyboard.press('Space');
    await new Promise((r) => setTimeout(r, 250));
  }
  await waitFor(page, () => Module._glyphfall_screen() === 3, 'the name entry');
  check(await screen(page) === HiScores, 'a qualifying score asks for a name');
  const synced = await page.evaluate(() => window.glyphfall.storageSyncs);
  await page.keyboard.type('WEBTEST');
  await page.keyboard.press('Enter');
  await waitFor(page, (n) => window.glyphfall.storageSyncs > n, 'the save to the browser storage', synced);

  await page.reload();
  await waitFor(page, () => window.glyphfall && window.glyphfall.frames > 0, 'the first frame after the reload');
  figures.web_first_frame_reload_ms = Math.round(await page.evaluate(() => window.glyphfall.firstFrameMs));
  const table = await page.evaluate(() => {
    try { return FS.readFile('/data/glyphfall/HISCORE.XML', { encoding: 'utf8' }); } catch (e) { return ''; }
  });
  check(table.includes('WEBTEST'), 'the name is in the table after a reload');
  const kept = await page.evaluate(() => {
    try { return FS.readdir('/data/glyphfall/replays').filter((n) => n.endsWith('.gfr')); } catch (e) { return []; }
  });
  check(kept.length === 1 && table.includes(kept[0]), `the game is kept as a replay of its row (${kept.join(' ')})`);
  check(pageErrors.length === 0, `no page errors${pageErrors.length ? ': ' + pageErrors.join(' | ') : ''}`);
  await page.close();

  // Frame composition, the same program in the page and natively.
  const bench = await browser.newPage();
  await bench.goto(`${base}/bench.html`);
  const webMs = await waitFor(bench, () => window.composeMs, 'the frame timing');
  const native = execFileSync(path.join(nativeDir, 'glyphfall-composetime'), [nativeDir]).toString();
  const nativeMs = parseFloat(/compose_ms ([0-9.]+)/.exec(native)[1]);
  figures.web_compose_ms = webMs;
  figures.native_compose_ms = nativeMs;
  figures.web_frame_ratio_native = Math.round((webMs / nativeMs) * 100) / 100;
} catch (e) {
  check(false, e.message);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}

const wasm = fs.readFileSync(path.join(webDir, 'glyphfall.wasm'));
const MiB = 1024 * 1024;
figures.web_wasm_mib = Math.round((wasm.length / MiB) * 100) / 100;
figures.web_wasm_gz_mib = Math.round((zlib.gzipSync(wasm, { level: 9 }).length / MiB) * 100) / 100;
check(figures.web_wasm_mib <= 3, `the .wasm is at most 3 MiB (${figures.web_wasm_mib})`);
check(figures.web_wasm_gz_mib <= 1, `the .wasm is at most 1 MiB gzipped (${figures.web_wasm_gz_mib})`);
console.log(`figures: ${JSON.stringify(figures)}`);
if (record) recordFigures(figures);
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);

// Adds the figures to bench/results.json and their table to bench/RESULTS.md.
function recordFigures(f) {
  const jsonFile = path.join(root, 'bench/results.json');
  const all = JSON.parse(fs.readFileSync(jsonFile, 'utf8'));
  for (const key of ['web_wasm_mib', 'web_wasm_gz_mib', 'web_first_frame_ms', 'web_first_frame_reload_ms',
    'web_frame_ratio_native'])
    if (f[key] !== undefined) all[key] = f[key];
  const sorted = Object.fromEntries(Object.keys(all).sort().map((k) => [k, all[k]]));
  // One figure a line, sorted, as every writer writes it.
  fs.writeFileSync(jsonFile, JSON.stringify(sorted, null, 2) + '\n');
  const mdFile = path.join(root, 'bench/RESULTS.md');
  const md = fs.readFileSync(mdFile, 'utf8').replace(/\n## In the browser\n[\s\S]*?(?=\n## |$)/, '');
  const date = new Date().toISOString().slice(0, 10);
  const section = `
## In the browser

Made by \`node tests/web/web-test.mjs --record\` on ${date}, in Debian's
headless Chromium on this machine (load average ${os.loadavg()[0].toFixed(1)} on
${os.cpus().length} cores when it ran). The frame figure is the busy wave's frame
composed by the same program in the page and natively. The first navigation
of a new profile includes the browser's own first start of fonts and
storage; the reload shows the page's own cost.

| Figure | Measured | Goal |
|---|---|---|
| .wasm size | ${f.web_wasm_mib} MiB | at most 3 MiB |
| .wasm gzipped | ${f.web_wasm_gz_mib} MiB | at most 1 MiB |
| Navigation to the first frame (new browser profile) | ${f.web_first_frame_ms} ms | at most 1500 ms |
| The same after a reload | ${f.web_first_frame_reload_ms} ms | |
| Frame composition: page / native | ${f.web_compose_ms} ms / ${f.native_compose_ms} ms = ${f.web_frame_ratio_native}x | within 3x |
`;
  fs.writeFileSync(mdFile, md.trimEnd() + '\n' + section);
}
