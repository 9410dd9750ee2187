// SPDX-License-Identifier: MIT
// What the page tests share: the site served on 127.0.0.1, Debian's chromium started headless
// through puppeteer-core (which brings no browser of its own), downloads into a folder, and a
// record of every request that leaves the page's origin (a test fails on any).
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, readdirSync, existsSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, extname, normalize } from 'node:path';
import puppeteer from 'puppeteer-core';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.wasm': 'application/wasm',
};

// Services the browser itself calls although the flags ask it not to (network time, updates,
// accounts); a request of web content to them would still carry fetch metadata, and the page's
// and the worker's requests are watched besides (watchRequests).
const BROWSER_SERVICES = ['clients2.google.com', 'update.googleapis.com', 'accounts.google.com'];

// Serves the folder on 127.0.0.1 at a free port, as any static host would (no special headers).
// The browser also uses this server as its proxy for every address (loopback included), so any
// request that is not for the page's own origin, from the page or its worker, lands here too:
// it is refused and recorded in `foreign`.
export async function serve(folder) {
  const foreign = [];
  const background = [];
  const server = createServer((req, res) => {
    const url = new URL(req.url, `http://${req.headers.host}`);
    if (url.origin !== origin) {
      const fromContent = Object.keys(req.headers).some((h) => h.startsWith('sec-fetch-'));
      const own = !fromContent && BROWSER_SERVICES.includes(url.hostname);
      (own ? background : foreign).push(url.href);
      res.writeHead(403).end();
      return;
    }
    const path = normalize(decodeURIComponent(url.pathname));
    const file = join(folder, path === '/' ? 'index.html' : path);
    if (!file.startsWith(folder) || !existsSync(file) || statSync(file).isDirectory()) {
      res.writeHead(404).end();
      return;
    }
    res.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream' });
    res.end(readFileSync(file));
  });
  // A tunnel does not show who asked for it: the page's and the worker's own requests are
  // watched as well (watchRequests).
  server.on('connect', (req, socket) => {
    const own = BROWSER_SERVICES.includes(req.url.replace(/:443$/, ''));
    (own ? background : foreign).push(`connect ${req.url}`);
    socket.destroy();
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const origin = `http://127.0.0.1:${server.address().port}`;
  return { server, origin, foreign, background };
}

export async function launch(site) {
  const profile = mkdtempSync(join(tmpdir(), 'velmar-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.VELMAR_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run',
      '--disable-default-apps', '--disable-extensions', '--no-pings', '--disable-domain-reliability',
      '--disable-client-side-phishing-detection', '--disable-features=Translate,OptimizationHints,MediaRouter',
      `--proxy-server=${site.origin}`, '--proxy-bypass-list=<-loopback>'],
  });
  return { browser, profile };
}

export async function close({ browser, profile }) {
  await browser.close();
  rmSync(profile, { recursive: true, force: true });
}

// Opens the page and waits until the converter is loaded; errors of the page are collected in
// `problems`.
export async function openPage(browser, origin, foreign, seen = []) {
  const page = await browser.newPage();
  const problems = [];
  watchRequests(page, origin, foreign, seen);
  page.on('pageerror', (error) => problems.push(String(error)));
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(message.text());
  });
  const session = await page.createCDPSession();
  await page.goto(origin + '/', { waitUntil: 'load' });
  await page.waitForSelector('body[data-ready="true"]', { timeout: 60000 });
  return { page, session, problems };
}

// Records in foreign every request of the page or of its workers that is not for origin (and
// every request in seen).
export function watchRequests(page, origin, foreign, seen = []) {
  const check = (url) => {
    seen.push(url);
    if (!url.startsWith(origin + '/') && !url.startsWith('blob:') && !url.startsWith('data:')) {
      foreign.push(url);
    }
  };
  page.on('request', (request) => check(request.url()));
  page.on('workercreated', (worker) => {
    worker.client.on('Network.requestWillBeSent', (event) => check(event.request.url));
    worker.client.send('Network.enable').catch((error) => foreign.push(`no watch: ${error}`));
  });
}

// Downloads of the page go into a new folder, which is returned.
export async function downloadsInto(session) {
  const folder = mkdtempSync(join(tmpdir(), 'velmar-downloads-'));
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  return folder;
}

// Waits until the file is complete in the folder (Chrome writes .crdownload files first).
export async function waitForDownload(folder, name, timeout = 120000) {
  const end = Date.now() + timeout;
  while (Date.now() < end) {
    const files = readdirSync(folder);
    if (files.includes(name) && !files.some((f) => f.endsWith('.crdownload'))) {
      return readFileSync(join(folder, name));
    }
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error(`no download of ${name} in ${folder}: ${readdirSync(folder).join(', ')}`);
}
