// The browser tests' helpers: the site served on this machine, Debian's
// Chromium driven headless by playwright-core, and the game's hooks (data-id,
// data-dialog, role="alertdialog", the beep event) as a player's actions use
// them.
import { execFileSync, spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { ids } from '../../build/web/site/resources.js';

// The control ids and dialog numbers, as the built site's resources.js has
// them from the program's headers.
export { ids };

export const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const SITE = path.join(ROOT, 'build/web/site');
const TOOL = path.join(ROOT, 'build/native/bin/vrel-tool');
// Deadlines that hold on a loaded two-core machine.
export const DEADLINE = 60000;

// The editions' codes, the default first, as resources/editions/list gives them.
export const EDITIONS = readFileSync(path.join(ROOT, 'resources/editions/list'), 'utf8')
  .split('\n').map(line => line.match(/^([a-z]{2}) /)?.[1]).filter(Boolean);

// Serves the site (or a copy of it) on a free port, with the Cache-Control
// header given; answers { url, stop }.
export function serve({ site = SITE, cacheControl = 'no-cache' } = {}) {
  return new Promise((resolve, reject) => {
    const server = spawn('python3', [path.join(ROOT, 'web/serve.py'), site], {
      env: { ...process.env, PORT: '0', CACHE_CONTROL: cacheControl }, stdio: ['ignore', 'pipe', 'inherit'],
    });
    server.on('error', reject);
    server.on('exit', code => reject(new Error(`serve.py ended with ${code}`)));
    server.stdout.setEncoding('utf8');
    let seen = '';
    server.stdout.on('data', data => {
      seen += data;
      const match = seen.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (match) resolve({ url: match[0], stop: () => server.kill() });
    });
  });
}

// A fresh headless Chromium (a new profile each time) that reaches nothing
// but this machine.
export function launch() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// Opens the page and waits until the dictionary has loaded; beeps and
// security policy violations are counted in window.vrelTest.
export async function openGame(context, url, query = '') {
  const page = await context.newPage();
  page.setDefaultTimeout(DEADLINE);
  await page.addInitScript(() => {
    window.vrelTest = { beeps: 0, violations: [] };
    document.addEventListener('beep', () => { window.vrelTest.beeps++; });
    document.addEventListener('securitypolicyviolation', event => {
      window.vrelTest.violations.push(`${event.violatedDirective} ${event.blockedURI}`);
    });
  });
  await page.goto(url + query);
  await page.waitForSelector('body[data-ready]');
  return page;
}

export const windowOf = (page, number) => page.locator(`[data-dialog="${number}"]`);
export const control = (page, id, dialog = ids.IDD_GAME) => windowOf(page, dialog).locator(`[data-id="${id}"]`);

export async function startGame(page) {
  await control(page, ids.IDC_START_GAME).click();
  const ok = control(page, ids.IDOK, ids.IDD_SEARCH);
  await ok.and(page.locator(':enabled')).waitFor();
  await ok.click();
  await windowOf(page, ids.IDD_SEARCH).waitFor({ state: 'hidden' });
}

export async function board(page) {
  const letters = [];
  for (let id = ids.IDC_LETTER_FIRST; id <= ids.IDC_LETTER_LAST; id++) letters.push(await control(page, id).textContent());
  return letters;
}

export const beeps = page => page.evaluate(() => window.vrelTest.beeps);

// Waits until an asynchronous check in the page resolves to true. Playwright's
// waitForFunction takes the Promise itself as true, so it cannot wait on one.
export async function waitUntilResolvesTrue(page, check, what) {
  const end = Date.now() + DEADLINE;
  while (!(await page.evaluate(check))) {
    if (Date.now() > end) throw new Error(`gave up waiting for ${what}`);
    await new Promise(resolve => setTimeout(resolve, 100));
  }
}

// The message box that is up: its caption and text.
export async function messageBox(page) {
  const box = page.locator('[role="alertdialog"]');
  await box.waitFor();
  return { caption: await box.locator('.caption').textContent(), text: await box.locator('.box-text').textContent(), box };
}

// Answers the box that is up; another may follow it.
export async function answer(page, label) {
  const { box } = await messageBox(page);
  const element = await box.elementHandle();
  await box.getByRole('button', { name: label }).click();
  await element.waitForElementState('hidden');
}

export async function listItems(page, id, dialog = ids.IDD_GAME) {
  return control(page, id, dialog).locator('[role="option"]').allTextContents();
}

// vrel-tool's deal of one board for the seed: its rows and words.
export function nativeDeal(seed, edition = EDITIONS[0]) {
  const dict = `data/${edition}/VREL.DAT`;
  const output = execFileSync(TOOL, ['--edition', edition, 'deal', '--dict', dict, '--seed', String(seed)], { cwd: ROOT, encoding: 'latin1' });
  const lines = output.trim().split('\n');
  return { letters: lines.slice(0, 4).join('').split(''), words: lines.slice(4, -1), count: Number(lines.at(-1).split(' ')[1]) };
}

export function dictionaryWords(edition = EDITIONS[0]) {
  const dict = `data/${edition}/VREL.DAT`;
  return new Set(readFileSync(path.join(ROOT, dict), 'latin1').split(/\r?\n/).filter(Boolean));
}

const touching = (a, b) => a !== b && Math.abs((a >> 2) - (b >> 2)) <= 1 && Math.abs((a & 3) - (b & 3)) <= 1;

// Every letter sequence of the given length that a path of touching cells
// spells on the board.
export function traceable(letters, length) {
  const found = new Set();
  const walk = (cell, used, text) => {
    text += letters[cell];
    if (text.length === length) { found.add(text); return; }
    for (let next = 0; next < 16; next++) if (!used.includes(next) && touching(cell, next)) walk(next, [...used, next], text);
  };
  for (let cell = 0; cell < 16; cell++) walk(cell, [cell], '');
  return found;
}

// The first seed from `from` whose board passes the check.
export function seedWhere(check, edition = EDITIONS[0], from = 1) {
  for (let seed = from; seed < from + 2000; seed++) if (check(nativeDeal(seed, edition))) return seed;
  throw new Error('no such seed');
}
