// SPDX-License-Identifier: MIT
// The web page against the command line, paired in one run: velmar-throughput's plain file
// (200,000 units, at least 65 MB) converted in the page (Debian's chromium, headless) and by
// `velmar2tmx-cli --threads 1`, alternately, three times each, with uconv on the same file as
// the yardstick of the other benchmarks. Prints the best times, their ratio (target: the page
// within 3x) and the peak memory: the worker's WebAssembly memory and the peak resident size of
// the browser's renderer processes (where the worker runs).
//
//   node bench/web_throughput.mjs SITE-DIR CLI MAKE-TXT   (after npm ci in tests/web)
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { serve, launch, close, openPage } from '../tests/web/harness.mjs';

const [siteDir, cli, makeTxt] = process.argv.slice(2).map((p) => p && resolve(p));
if (!siteDir || !cli || !makeTxt) {
  console.error('usage: node bench/web_throughput.mjs SITE-DIR CLI MAKE-TXT');
  process.exit(2);
}
const ROUNDS = 3;
const work = mkdtempSync(join(tmpdir(), 'velmar-web-bench-'));
const txt = join(work, 'plain.txt');
execFileSync(makeTxt, [txt, '200000', 'plain', '65000000']);
const megabytes = statSync(txt).size / 1e6;

function timed(command, args) {
  const start = process.hrtime.bigint();
  const result = spawnSync(command, args, { stdio: ['ignore', 'ignore', 'inherit'] });
  if (result.status !== 0) throw new Error(`${command} failed with status ${result.status}`);
  return Number(process.hrtime.bigint() - start) / 1e9;
}

// Peak resident size (VmHWM, kB) of the browser's renderer processes, the largest.
function rendererPeakKb() {
  let peak = 0;
  for (const pid of readdirSync('/proc').filter((p) => /^\d+$/.test(p))) {
    try {
      const command = readFileSync(`/proc/${pid}/cmdline`, 'utf8');
      if (!command.includes('chromium') || !command.includes('--type=renderer')) continue;
      const match = /VmHWM:\s+(\d+) kB/.exec(readFileSync(`/proc/${pid}/status`, 'utf8'));
      if (match) peak = Math.max(peak, Number(match[1]));
    } catch {
      // the process ended meanwhile
    }
  }
  return peak;
}

const site = await serve(siteDir);
const browser = await launch(site);
const times = { cli: [], page: [], uconv: [] };
let wasmBytes = 0;
let rendererKb = 0;
try {
  for (let round = 0; round < ROUNDS; round++) {
    times.cli.push(timed(cli, ['-q', '--threads', '1', '-o', join(work, 'cli.tmx'), txt]));
    times.uconv.push(timed('sh', ['-c', `uconv -f windows-1252 -t utf-8 < '${txt}' > '${join(work, 'uconv.txt')}'`]));
    const { page, problems } = await openPage(browser.browser, site.origin, site.foreign);
    await (await page.$('#files')).uploadFile(txt);
    await page.waitForSelector('#rows > .row[data-state="ready"]', { timeout: 120000 });
    await page.click('#rows > .row .convert');
    await page.waitForSelector('#rows > .row[data-state="written"]', { timeout: 600000 });
    const row = await page.$eval('#rows > .row', (el) => ({ seconds: Number(el.dataset.seconds), memory: Number(el.dataset.memory), text: el.innerText }));
    times.page.push(row.seconds);
    wasmBytes = Math.max(wasmBytes, row.memory);
    rendererKb = Math.max(rendererKb, rendererPeakKb());
    if (problems.length) throw new Error(problems.join('\n'));
    await page.close();
  }
} finally {
  await close(browser);
  site.server.close();
  rmSync(work, { recursive: true, force: true });
}
if (site.foreign.length) throw new Error(`requests to other addresses: ${site.foreign.join(', ')}`);
const best = (list) => Math.min(...list);
const line = (name, seconds) => `${name.padEnd(28)} ${seconds.toFixed(2).padStart(7)} s  ${(megabytes / seconds).toFixed(1).padStart(6)} MB/s`;
console.log(`plain file: 200,000 units, ${megabytes.toFixed(1)} MB; best of ${ROUNDS} (all: ` +
  Object.entries(times).map(([k, v]) => `${k} ${v.map((t) => t.toFixed(2)).join('/')}`).join(', ') + ')');
console.log(line('velmar2tmx-cli --threads 1', best(times.cli)));
console.log(line('page (chromium, worker)', best(times.page)));
console.log(line('uconv 1252 -> UTF-8', best(times.uconv)));
const ratio = best(times.page) / best(times.cli);
console.log(`page / command line: ${ratio.toFixed(2)} (target <= 3)`);
console.log(`peak memory: worker's WebAssembly memory ${(wasmBytes / 1048576).toFixed(1)} MiB, ` +
  `renderer process peak resident ${(rendererKb / 1024).toFixed(1)} MiB`);
process.exit(ratio <= 3 ? 0 : 1);
