// Each window of the page under axe-core: no serious or critical violation.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import { answer, control, ids, listItems, messageBox, openGame, serve, launch, startGame, windowOf } from './browser.mjs';

const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

let server;
let browser;
before(async () => { server = await serve(); browser = await launch(); });
after(async () => { await browser?.close(); server?.stop(); });

// axe's script is added through the browser's debugging side, which the
// page's security policy does not govern.
async function seriousViolations(page) {
  if (!await page.evaluate(() => 'axe' in window)) await page.evaluate(axeSource);
  const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ['violations'] }));
  return result.violations.filter(v => v.impact === 'serious' || v.impact === 'critical')
    .map(v => `${v.id}: ${v.nodes.map(n => n.target.join(' ')).join(', ')}`);
}

test('the main window, the dialogs and a message box', async () => {
  const context = await browser.newContext();
  const page = await openGame(context, server.url, '?seed=1');
  const checked = {};
  checked.main = await seriousViolations(page);
  await control(page, ids.IDC_ABOUT_BUTTON).click();
  checked.about = await seriousViolations(page);
  await control(page, ids.IDOK, ids.IDD_ABOUT).click();
  await control(page, ids.IDC_START_GAME).click();
  await control(page, ids.IDOK, ids.IDD_SEARCH).and(page.locator(':enabled')).waitFor();
  checked.search = await seriousViolations(page);
  await control(page, ids.IDOK, ids.IDD_SEARCH).click();
  checked.inPlay = await seriousViolations(page);
  await control(page, ids.IDC_QUIT_GAME).click();
  checked.results = await seriousViolations(page);
  await control(page, ids.IDOK, ids.IDD_RESULTS).click();
  // The page's own window, with the game just played.
  await page.locator('#statistics').click();
  await page.locator('dialog[data-window="statistics"] svg').first().waitFor();
  checked.statistics = await seriousViolations(page);
  await page.locator('dialog[data-window="statistics"] [data-action="close"]').click();
  // A box: the error of an import without a word.
  await page.locator('#import').setInputFiles({ name: 'x.dat', mimeType: 'text/plain', buffer: Buffer.from('\r\n') });
  await messageBox(page);
  checked.box = await seriousViolations(page);
  await answer(page, 'OK');
  // The loading and saving windows close as soon as their work is done, so
  // they are opened here as the page opens them.
  for (const [name, number] of [['loading', ids.IDD_LOAD], ['saving', ids.IDD_SAVE]]) {
    const frame = windowOf(page, number);
    await frame.evaluate(element => element.showModal());
    checked[name] = await seriousViolations(page);
    await frame.evaluate(element => element.close());
  }
  assert.deepEqual(checked, {
    main: [], about: [], search: [], inPlay: [], results: [], statistics: [], box: [], loading: [], saving: [],
  });
  await context.close();
});

test('the phone layout: the main window with its menu open, and the results', async () => {
  const context = await browser.newContext({ viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true });
  const page = await openGame(context, server.url, '?seed=1');
  await startGame(page);
  await page.locator('#menu').tap();
  const checked = { main: await seriousViolations(page) };
  await page.locator('#menu').tap();
  await control(page, ids.IDC_QUIT_GAME).tap();
  await control(page, ids.IDOK, ids.IDD_RESULTS).waitFor();
  checked.results = await seriousViolations(page);
  assert.deepEqual(checked, { main: [], results: [] });
  await context.close();
});

test('screen readers: a document window, live lines, the edition\'s close button, the links\' languages, list keys', async () => {
  const context = await browser.newContext();
  const french = await openGame(context, server.url, '?edition=fr&seed=1');
  assert.equal(await windowOf(french, ids.IDD_GAME).locator('.close').getAttribute('aria-label'), 'Fermer');
  await french.close();
  const page = await openGame(context, server.url, '?seed=1');
  assert.equal(await windowOf(page, ids.IDD_GAME).getAttribute('role'), 'document');
  for (const [id, number] of [[ids.IDC_SCORE_LINE, ids.IDD_GAME], [ids.IDC_PROGRESS_LINE, ids.IDD_SEARCH]]) {
    assert.equal(await control(page, id, number).getAttribute('aria-live'), 'polite');
  }
  const link = page.locator('#editions a', { hasText: 'Français' });
  assert.deepEqual([await link.getAttribute('lang'), await link.getAttribute('hreflang')], ['fr', 'fr']);
  // The results' missed words: the selection follows the keys and stays in
  // view, and Enter still closes the dialog.
  await startGame(page);
  await control(page, ids.IDC_QUIT_GAME).click();
  const words = await listItems(page, ids.IDC_MISSED_LIST, ids.IDD_RESULTS);
  const missed = control(page, ids.IDC_MISSED_LIST, ids.IDD_RESULTS);
  await missed.focus();
  for (const [key, at] of [['ArrowDown', 0], ['ArrowDown', 1], ['ArrowUp', 0], ['End', words.length - 1], ['Home', 0]]) {
    await page.keyboard.press(key);
    const selected = await missed.evaluate(list => [
      ...[...list.querySelectorAll('[aria-selected="true"]')].map(item => item.textContent),
      document.getElementById(list.getAttribute('aria-activedescendant'))?.textContent,
      list.scrollLeft > 0]);
    assert.deepEqual(selected, [words[at], words[at], key === 'End'], key);
  }
  await page.keyboard.press('Enter');
  await windowOf(page, ids.IDD_RESULTS).waitFor({ state: 'hidden' });
  await context.close();
});
