// SPDX-License-Identifier: MIT
// The page in Debian's chromium: conversions byte-identical with velmar2tmx-cli (pair and all
// languages, UTF-16 once) with equal reports, cancel, files that are no TXT export, and no
// request to any other address. Inputs from the environment (scripts/test-web.sh sets them):
// VELMAR_SITE (the built site), VELMAR_CLI, VELMAR_MAKE_CORPUS, VELMAR_MAKE_TXT, and
// VELMAR_SCREENSHOT (where the picture for the README goes; none when unset).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, copyFileSync, readFileSync, writeFileSync, existsSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { serve, launch, close, openPage, downloadsInto, waitForDownload, watchRequests } from './harness.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const need = (name) => {
  const value = process.env[name];
  assert.ok(value && existsSync(value), `${name} must name an existing file or folder (got '${value}')`);
  return resolve(value);
};
const CORPUS_FILES = 32;

let site, browser, work;
let withFindings = null; // a corpus file whose conversion skips units, for the picture

before(async () => {
  site = await serve(need('VELMAR_SITE'));
  browser = await launch(site);
  work = mkdtempSync(join(tmpdir(), 'velmar-web-test-'));
});

after(async () => {
  if (browser) await close(browser);
  if (site) site.server.close();
  if (work) rmSync(work, { recursive: true, force: true });
});

// Runs the command line in folder on the file name; gives its status and report.
function runCli(folder, name, args) {
  const cli = need('VELMAR_CLI');
  const result = spawnSync(cli, ['-q', ...args, '--report', name + '.report.json', name + '.txt'], { cwd: folder });
  const reportPath = join(folder, name + '.report.json');
  return {
    status: result.status,
    report: existsSync(reportPath) ? readFileSync(reportPath, 'utf8') : null,
    tmx: existsSync(join(folder, name + '.tmx')) ? readFileSync(join(folder, name + '.tmx')) : null,
  };
}

// The options of a corpus file's .args side file, without those that name a target when all
// languages are written.
function sideArgs(txt, allLanguages) {
  const side = txt.replace(/\.txt$/, '.args');
  const words = existsSync(side) ? readFileSync(side, 'utf8').trim().split(/\s+/).filter(Boolean) : [];
  if (!allLanguages) return words;
  const kept = [];
  for (let i = 0; i < words.length; i += 2) {
    if (words[i] !== '-t' && words[i] !== '--target-codepage') kept.push(words[i], words[i + 1]);
  }
  return kept;
}

// The code page of each catalogue language, as the command line lists them.
let listed = null;
function listedCodePages() {
  if (!listed) {
    listed = {};
    const text = execFileSync(need('VELMAR_CLI'), ['--list-languages'], { encoding: 'utf8' });
    for (const line of text.trim().split('\n')) {
      const [code, codePage] = line.split('\t');
      listed[code] = Number(codePage);
    }
  }
  return listed;
}

async function rowOf(page, index) {
  const rows = await page.$$('#rows > .row');
  return rows[index];
}

async function waitForState(page, index, states, timeout = 120000) {
  await page.waitForFunction((i, wanted) => {
    const row = document.querySelectorAll('#rows > .row')[i];
    return row && wanted.includes(row.dataset.state);
  }, { timeout }, index, states);
  return page.evaluate((i) => document.querySelectorAll('#rows > .row')[i].dataset.state, index);
}

// Chooses in row index what the command line's report says it used, then converts.
async function convertAsCli(page, index, report, allLanguages, utf16) {
  const file = JSON.parse(report).files[0];
  const choice = {
    source: file.source,
    target: allLanguages ? null : file.languages[0],
    others: file.languages,
    allLanguages,
    utf16,
    listed: listedCodePages(),
  };
  const missing = await page.evaluate((i, c) => {
    const row = document.querySelectorAll('#rows > .row')[i];
    const listed = (code) => row.querySelector(`.codepages select[data-language="${code}"]`);
    row.querySelector('.source').value = c.source.language;
    row.querySelector('.target').value = c.allLanguages ? '*' : c.target.language;
    for (const select of row.querySelectorAll('.codepages select')) select.value = select.dataset.listed;
    const wanted = [c.source, ...(c.allLanguages ? c.others : [c.target])];
    const missed = [];
    for (const use of wanted) {
      const select = listed(use.language);
      if (select) select.value = String(use.codePage);
      else if (c.listed[use.language] !== use.codePage) missed.push(use.language);
      if (select && select.value !== String(use.codePage)) missed.push(`${use.language}:${use.codePage}`);
    }
    row.querySelector('.utf16').checked = c.utf16;
    return missed;
  }, index, choice);
  await (await rowOf(page, index)).$('.convert').then((b) => b.click());
  return { missing, state: await waitForState(page, index, ['written', 'nothing written', 'failed']) };
}

async function rowText(page, index) {
  return page.evaluate((i) => document.querySelectorAll('#rows > .row')[i].innerText, index);
}

async function downloadTmx(page, index, folder, name) {
  const link = await (await rowOf(page, index)).$('.downloads a');
  assert.ok(link, `row ${index} offers a download`);
  await link.click();
  return waitForDownload(folder, name);
}

test('the example and the corpus convert in the page as on the command line', async () => {
  const corpus = join(work, 'corpus');
  mkdirSync(corpus);
  execFileSync(need('VELMAR_MAKE_CORPUS'), [corpus, String(CORPUS_FILES), '21']);
  const names = readdirSync(corpus).filter((f) => f.endsWith('.txt')).map((f) => f.slice(0, -4)).sort();
  copyFileSync(join(root, 'examples/sample.txt'), join(corpus, 'sample.txt'));
  names.unshift('sample');
  const folders = { pair: join(work, 'pair'), all: join(work, 'all'), utf16: join(work, 'utf16') };
  for (const folder of Object.values(folders)) {
    mkdirSync(folder);
    for (const name of names) copyFileSync(join(corpus, name + '.txt'), join(folder, name + '.txt'));
  }
  const seen = [];
  const { page, session, problems } = await openPage(browser.browser, site.origin, site.foreign, seen);
  const input = await page.$('#files');
  await input.uploadFile(...names.map((name) => join(corpus, name + '.txt')));
  for (let i = 0; i < names.length; i++) await waitForState(page, i, ['ready', 'rejected']);

  let compared = 0;
  let reportsCompared = 0;
  for (const mode of ['pair', 'all', 'utf16']) {
    const downloads = await downloadsInto(session);
    const chosen = mode === 'utf16' ? ['sample'] : names;
    for (const name of chosen) {
      const index = names.indexOf(name);
      const all = mode === 'all';
      const args = [...sideArgs(join(corpus, name + '.txt'), all), ...(all ? ['-A'] : []), ...(mode === 'utf16' ? ['--utf16'] : [])];
      const cli = runCli(folders[mode], name, args);
      const label = `${name} (${mode}, ${args.join(' ')})`;
      assert.ok(cli.report, `the command line writes a report for ${label} (status ${cli.status})`);
      const state = await page.evaluate((i) => document.querySelectorAll('#rows > .row')[i].dataset.state, index);
      assert.notEqual(state, 'rejected', `the page reads ${label}`);
      const { missing, state: outcome } = await convertAsCli(page, index, cli.report, all, mode === 'utf16');
      assert.deepEqual(missing, [], `the page can choose the languages and code pages of ${label}`);
      const pageReport = await page.evaluate((i) => document.querySelectorAll('#rows > .row')[i].dataset.report, index);
      if (cli.status === 0) {
        assert.equal(outcome, 'written', `${label}: ${await rowText(page, index)}`);
        const bytes = await downloadTmx(page, index, downloads, name + '.tmx');
        assert.ok(bytes.equals(cli.tmx), `the TMX of ${label} equals the command line's`);
        compared++;
      } else {
        assert.equal(cli.status, 1, `${label}: the command line converts or writes nothing`);
        assert.equal(outcome, 'nothing written', label);
        assert.equal(await (await rowOf(page, index)).$('.downloads a'), null, `no download for ${label}`);
        assert.match(await rowText(page, index), /No unit written/);
      }
      assert.equal(pageReport, cli.report, `the report of ${label} equals the command line's`);
      if (mode === 'pair' && !withFindings && JSON.parse(cli.report).files[0].unitsSkipped.total > 0) {
        withFindings = join(corpus, name + '.txt');
      }
      reportsCompared++;
    }
    assert.deepEqual(readdirSync(downloads).filter((f) => !f.endsWith('.tmx')), []);
  }
  assert.ok(compared >= 2 * 30 + 1, `at least 30 files in both modes and UTF-16 once (${compared} TMX files compared)`);
  assert.ok(reportsCompared >= compared);
  assert.deepEqual(problems, []);
  // The watch sees the worker's requests too: the module it loads.
  assert.ok(seen.includes(site.origin + '/velmar.wasm'), `the worker's requests are watched: ${seen.join(', ')}`);
  await page.close();
});

test('a file that is no TXT export, an empty one and one without a unit in both languages get a message and no download', async () => {
  const folder = join(work, 'odd');
  mkdirSync(folder);
  copyFileSync(join(root, 'docs/main-window.png'), join(folder, 'picture.png'));
  writeFileSync(join(folder, 'empty.txt'), '');
  copyFileSync(join(root, 'examples/sample.txt'), join(folder, 'memory.txt'));
  const { page, session, problems } = await openPage(browser.browser, site.origin, site.foreign);
  const downloads = await downloadsInto(session);
  await (await page.$('#files')).uploadFile(join(folder, 'picture.png'), join(folder, 'empty.txt'), join(folder, 'memory.txt'));
  assert.equal(await waitForState(page, 0, ['ready', 'rejected']), 'rejected');
  assert.match(await rowText(page, 0), /No language found: this is not a Velmar Vovuzaduz TXT export\./);
  assert.equal(await waitForState(page, 1, ['ready', 'rejected']), 'rejected');
  assert.match(await rowText(page, 1), /The file is empty/);
  assert.equal(await waitForState(page, 2, ['ready', 'rejected']), 'ready');
  await page.evaluate(() => { document.querySelectorAll('#rows > .row')[2].querySelector('.target').value = 'FR'; });
  await (await (await rowOf(page, 2)).$('.convert')).click();
  assert.equal(await waitForState(page, 2, ['written', 'nothing written', 'failed']), 'nothing written');
  assert.match(await rowText(page, 2), /No unit written: no unit holds both EN-US and FR\./);
  assert.deepEqual(await page.$$eval('.downloads a', (links) => links.length), 0);
  await new Promise((r) => setTimeout(r, 500));
  assert.deepEqual(readdirSync(downloads), []);
  assert.deepEqual(problems, []);
  await page.close();
});

test('cancel during a large file leaves no download, and the next conversion works', async () => {
  const big = join(work, 'big.txt');
  execFileSync(need('VELMAR_MAKE_TXT'), [big, '200000', 'plain', '65000000']);
  const { page, session, problems } = await openPage(browser.browser, site.origin, site.foreign);
  const downloads = await downloadsInto(session);
  await (await page.$('#files')).uploadFile(big);
  assert.equal(await waitForState(page, 0, ['ready', 'rejected']), 'ready');
  await (await (await rowOf(page, 0)).$('.convert')).click();
  await page.waitForFunction(() => document.querySelector('#rows > .row progress').value >= 2, { timeout: 60000 });
  assert.equal(await page.evaluate(() => document.querySelector('#rows > .row').dataset.state), 'converting');
  await (await (await rowOf(page, 0)).$('.cancel')).click();
  assert.equal(await waitForState(page, 0, ['cancelled']), 'cancelled');
  assert.match(await rowText(page, 0), /Cancelled: nothing was written\./);
  await new Promise((r) => setTimeout(r, 1500));
  assert.equal(await page.evaluate(() => document.querySelector('#rows > .row').dataset.state), 'cancelled');
  assert.deepEqual(await page.$$eval('.downloads a', (links) => links.length), 0);
  assert.deepEqual(readdirSync(downloads), []);

  await (await page.$('#files')).uploadFile(join(root, 'examples/sample.txt'));
  assert.equal(await waitForState(page, 1, ['ready', 'rejected']), 'ready');
  await (await (await rowOf(page, 1)).$('.convert')).click();
  assert.equal(await waitForState(page, 1, ['written', 'nothing written', 'failed']), 'written');
  assert.deepEqual(problems, []);
  await page.close();
});

test('the picture of the page after a conversion', async () => {
  const { page, problems } = await openPage(browser.browser, site.origin, site.foreign);
  await page.setViewport({ width: 1000, height: 900 });
  const files = [join(root, 'examples/sample.txt')];
  if (withFindings) files.push(withFindings);
  await (await page.$('#files')).uploadFile(...files);
  for (let i = 0; i < files.length; i++) {
    assert.equal(await waitForState(page, i, ['ready', 'rejected']), 'ready');
    await (await (await rowOf(page, i)).$('.convert')).click();
    assert.equal(await waitForState(page, i, ['written', 'nothing written', 'failed']), 'written');
  }
  assert.ok(withFindings, 'a corpus file with skipped units was met');
  assert.ok(await page.$('.report:not([hidden]) tbody tr'), 'the report table is shown');
  if (process.env.VELMAR_SCREENSHOT) await page.screenshot({ path: process.env.VELMAR_SCREENSHOT, fullPage: true });
  assert.deepEqual(problems, []);
  await page.close();
});

test('no request leaves the page\'s origin (and the watch does see one that does)', async () => {
  assert.deepEqual(site.foreign, [], 'requests to other addresses');
  const page = await browser.browser.newPage();
  const seen = [];
  watchRequests(page, site.origin, seen);
  await page.goto(site.origin + '/icon.svg');
  await page.evaluate(() => fetch('http://192.0.2.1/probe', { mode: 'no-cors' }).catch(() => {}));
  await new Promise((r) => setTimeout(r, 500));
  assert.deepEqual(seen, ['http://192.0.2.1/probe']);
  assert.deepEqual(site.foreign, ['http://192.0.2.1/probe']);
  await page.close();
});
