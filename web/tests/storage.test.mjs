// The player's dictionary in the browser: confirmed words kept across
// reloads and tabs, export and import, and the page offline.
import assert from 'node:assert/strict';
import { appendFileSync, cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import {
  answer, board, control, dictionaryWords, ids, listItems, messageBox, nativeDeal, openGame, ROOT,
  serve, SITE, startGame, launch, traceable, waitUntilResolvesTrue, windowOf,
} from './browser.mjs';

let server;
let browser;
before(async () => { server = await serve(); browser = await launch(); });
after(async () => { await browser?.close(); server?.stop(); });

// Traceable three-letter sequences of seed 1's board that the dictionary
// does not hold.
const unknownWords = () => {
  const known = dictionaryWords();
  return [...traceable(nativeDeal(1).letters, 3)].filter(w => !known.has(w)).sort();
};

async function confirmWord(page, word) {
  await control(page, ids.IDC_WORD).fill(word);
  await control(page, ids.IDC_ADD_WORD).click();
  const { text } = await messageBox(page);
  assert.equal(text, `Is "${word}" a valid word?`);
  await answer(page, 'Yes');
  assert.ok((await listItems(page, ids.IDC_FOUND_LIST)).includes(word));
}

async function exportedWords(page) {
  // The page ignores Export while an import or a save is under way.
  await page.locator('body[data-idle]').waitFor();
  const download = page.waitForEvent('download');
  await page.locator('#export').click();
  const file = await (await download).path();
  return readFileSync(file, 'latin1').split('\r\n').filter(Boolean);
}

test('a confirmed word is known after a reload without Exit Program', async () => {
  const [word] = unknownWords();
  const context = await browser.newContext();
  let page = await openGame(context, server.url, '?seed=1');
  await startGame(page);
  await confirmWord(page, word);
  await page.close();
  // The word changed the letter weights, so the board is another one.
  page = await openGame(context, server.url, '?seed=1');
  assert.ok((await exportedWords(page)).includes(word));
  // Exit Program asks, and No gives the word up for good.
  await control(page, ids.IDOK).click();
  assert.equal((await messageBox(page)).text, 'You added new words to the dictionary.\n\nSave dictionary?');
  await answer(page, 'No');
  await page.locator('#ended').waitFor();
  page = await openGame(context, server.url, '?seed=1');
  assert.equal((await exportedWords(page)).includes(word), false);
  await startGame(page);
  assert.deepEqual(await board(page), nativeDeal(1).letters);
  await context.close();
});

test('two tabs that each confirm a word keep both, saved and exported', async () => {
  const [first, second] = unknownWords();
  const context = await browser.newContext();
  const one = await openGame(context, server.url, '?seed=1');
  const two = await openGame(context, server.url, '?seed=1');
  await startGame(one);
  await startGame(two);
  await confirmWord(one, first);
  await confirmWord(two, second);
  // Each saves at Exit Program; the second save keeps the first one's word.
  for (const page of [one, two]) {
    await control(page, ids.IDOK).click();
    await answer(page, 'Yes');
    await page.locator('#ended').waitFor();
  }
  const three = await openGame(context, server.url, '?seed=1');
  const words = await exportedWords(three);
  assert.ok(words.includes(first) && words.includes(second), `${first} and ${second} exported`);
  assert.equal(words.length, dictionaryWords().size + 2);
  // Loaded from the saved file, nothing changed: Exit asks nothing.
  await control(three, ids.IDOK).click();
  await three.locator('#ended').waitFor();
  await context.close();
});

test('the word field takes no typing while a command waits for the stored files', async () => {
  const [word] = unknownWords();
  const context = await browser.newContext();
  const page = await openGame(context, server.url, '?seed=1');
  const holder = await openGame(context, server.url, '?seed=2');
  await holder.evaluate(() => new Promise(held => navigator.locks.request('vrel-player-files',
    () => { held(); return new Promise(release => { window.release = release; }); })));
  await startGame(page);
  await control(page, ids.IDC_WORD).fill(word);
  await control(page, ids.IDC_ADD_WORD).click();
  await answer(page, 'Yes');
  await page.locator('body:not([data-idle])').waitFor();
  await control(page, ids.IDC_WORD).focus();
  await page.keyboard.type(word.slice(0, 1));
  assert.equal(await control(page, ids.IDC_WORD).inputValue(), '');
  await holder.evaluate(() => window.release());
  await page.locator('body[data-idle]').waitFor();
  assert.deepEqual(await listItems(page, ids.IDC_FOUND_LIST), [word]);
  await context.close();
});

test('importing hostile files: no crash, and the old dictionary stays until a new one loads', async () => {
  const context = await browser.newContext();
  const page = await openGame(context, server.url, '?seed=1');
  const importFile = async (name, buffer) => {
    // An import is refused while the last one still runs.
    await page.locator('body[data-idle]').waitFor();
    await page.locator('#import').setInputFiles({ name, mimeType: 'application/octet-stream', buffer });
  };
  // A file with no word at all is refused with the program's own box.
  const garbage = Buffer.concat([Buffer.from([0, 0xFF, 0x1A, 13, 10]), Buffer.alloc(200000, 'Q'), Buffer.from('\nab\n\x1aCAT\n')]);
  await importFile('garbage.dat', garbage);
  const refused = await messageBox(page);
  assert.equal(refused.caption, 'Vrel:  Error');
  assert.equal(refused.text, 'Cannot load dictionary file garbage.dat.');
  await answer(page, 'OK');
  // The fuzzer's corpus, every file: each either loads or is refused.
  const corpus = path.join(ROOT, 'tests/fuzz/corpus');
  for (const name of readdirSync(corpus).slice(0, 40)) {
    await importFile(name, readFileSync(path.join(corpus, name)));
    // Done when the export button takes clicks again, or a box is up.
    await page.locator('[role="alertdialog"], body[data-idle]').first().waitFor();
    if (await page.locator('[role="alertdialog"]').count()) await answer(page, 'OK');
  }
  // A small dictionary replaces the player's.
  await importFile('mine.dat', Buffer.from('cat\r\ndog\r\nstraße\r\n'));
  assert.deepEqual(await exportedWords(page), ['CAT', 'DOG']);
  await context.close();

  // A refused import leaves the dictionary as it was: the deal is native's.
  const fresh = await browser.newContext();
  const again = await openGame(fresh, server.url, '?seed=1');
  await again.locator('#import').setInputFiles({ name: 'empty.dat', mimeType: 'text/plain', buffer: Buffer.from('\r\n') });
  await answer(again, 'OK');
  await startGame(again);
  assert.deepEqual(await board(again), nativeDeal(1).letters);
  await fresh.close();
});

test('after one visit the page loads and plays offline; it installs as an app', async () => {
  const context = await browser.newContext();
  let page = await openGame(context, server.url, '?seed=1');
  await page.evaluate(() => navigator.serviceWorker.ready);
  const session = await context.newCDPSession(page);
  // The test's browser context is a private one, which no app installs from;
  // the page itself must give no other reason.
  const { installabilityErrors } = await session.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors.map(e => e.errorId).filter(id => id !== 'in-incognito'), []);
  await waitUntilResolvesTrue(page, () => caches.keys().then(async keys => keys.length === 1 &&
    (await (await caches.open(keys[0])).keys()).some(r => r.url.endsWith('vrel.wasm'))),
    'one cache, holding vrel.wasm');
  await page.close();
  await context.setOffline(true);
  page = await openGame(context, server.url, '?seed=2&edition=de');
  await startGame(page);
  assert.deepEqual(await board(page), nativeDeal(2, 'de').letters);
  await context.close();
});

test('a release reaches a visitor of a host that lets browsers keep files; other apps\' caches stay', async () => {
  const site = mkdtempSync(path.join(os.tmpdir(), 'vrel-site-'));
  cpSync(SITE, site, { recursive: true });
  const host = await serve({ site, cacheControl: 'max-age=600' });
  const context = await browser.newContext();
  const page = await openGame(context, host.url, '?seed=1');
  await page.evaluate(() => navigator.serviceWorker.ready.then(() => caches.open('another-app')));
  await waitUntilResolvesTrue(page, () => caches.keys().then(keys => keys.length === 2), 'the site cached');

  // The next release: a changed file, and so a cache of a new name.
  appendFileSync(path.join(site, 'resources.js'), '\nexport const release = 2;\n');
  const worker = path.join(site, 'sw.js');
  writeFileSync(worker, readFileSync(worker, 'utf8').replace(/vrel-[0-9a-f]{16}/, 'vrel-0123456789abcdef'));
  await page.reload();
  await waitUntilResolvesTrue(page, () => caches.keys().then(keys =>
    keys.sort().join() === 'another-app,vrel-0123456789abcdef'), 'the new release\'s cache alone beside the other app\'s');
  await page.reload();
  assert.match(await page.evaluate(() => fetch('resources.js').then(r => r.text())), /release = 2/);
  await context.close();
  host.stop();
  rmSync(site, { recursive: true, force: true });
});

test('full storage gives the program\'s error boxes and loses nothing saved', async () => {
  const [word] = unknownWords();
  const context = await browser.newContext();
  // Once vrelTest.full is set, every write to IndexedDB fails.
  await context.addInitScript(() => {
    const put = IDBObjectStore.prototype.put;
    IDBObjectStore.prototype.put = function (...args) {
      const request = put.apply(this, args);
      if (window.vrelTest?.full) this.transaction.abort();
      return request;
    };
  });
  let page = await openGame(context, server.url, '?seed=1');
  await page.evaluate(() => { window.vrelTest.full = true; });
  await startGame(page);
  await control(page, ids.IDC_WORD).fill(word);
  await control(page, ids.IDC_ADD_WORD).click();
  await answer(page, 'Yes');
  const journal = await messageBox(page);
  assert.deepEqual([journal.caption, journal.text], ['Vrel:  Error', 'Cannot save dictionary file VREL.JNL.']);
  await answer(page, 'OK');
  assert.deepEqual(await listItems(page, ids.IDC_FOUND_LIST), [word]);
  await control(page, ids.IDOK).click();
  await answer(page, 'Yes');
  const save = await messageBox(page);
  assert.deepEqual([save.caption, save.text], ['Vrel:  Error', 'Cannot rename VREL.XXX to VREL.DAT.']);
  await answer(page, 'OK');
  await page.locator('#ended').waitFor();
  // The stored dictionary is the one from before.
  page = await openGame(context, server.url, '?seed=1');
  assert.equal((await exportedWords(page)).length, dictionaryWords().size);
  await context.close();
});

test('a dictionary that cannot be had gives the fatal box, then an ended page', async () => {
  const context = await browser.newContext({ serviceWorkers: 'block' });
  await context.route('**/VREL.DAT.gz', route => route.fulfill({ status: 404 }));
  const page = await context.newPage();
  await page.goto(`${server.url}?seed=1`);
  const { caption, text } = await messageBox(page);
  assert.deepEqual([caption, text], ['Vrel:  Fatal Error', 'Cannot load dictionary file VREL.DAT.']);
  assert.ok(await windowOf(page, ids.IDD_GAME).isHidden());
  await answer(page, 'OK');
  await page.locator('#ended').waitFor();
  await context.close();
});

test('a module that cannot load ends in the fatal box; refused storage is said at start', async () => {
  let context = await browser.newContext({ serviceWorkers: 'block' });
  await context.route('**/vrel.wasm', route => route.fulfill({ status: 404 }));
  let page = await context.newPage();
  await page.goto(`${server.url}?seed=1`);
  const fatal = await messageBox(page);
  assert.deepEqual([fatal.caption, fatal.text], ['Vrel:  Fatal Error', 'The game could not be loaded in this browser.']);
  await answer(page, 'OK');
  await page.locator('#ended').waitFor();
  await context.close();

  context = await browser.newContext({ serviceWorkers: 'block' });
  await context.addInitScript(() => {
    IDBFactory.prototype.open = () => { throw new DOMException('refused', 'SecurityError'); };
  });
  page = await context.newPage();
  await page.goto(`${server.url}?seed=1`);
  const refused = await messageBox(page);
  assert.equal(refused.caption, 'Vrel:  Error');
  assert.match(refused.text, /^This browser does not let the page keep the dictionary\./);
  await answer(page, 'OK');
  await page.waitForSelector('body[data-ready]');
  await startGame(page);
  assert.deepEqual(await board(page), nativeDeal(1).letters);
  await context.close();
});
