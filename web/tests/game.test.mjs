// Whole games in the page, as a player plays them.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import {
  EDITIONS, answer, beeps, board, control, dictionaryWords, ids, listItems, messageBox, nativeDeal, openGame,
  seedWhere, serve, startGame, launch, traceable, windowOf,
} from './browser.mjs';

let server;
let browser;
before(async () => { server = await serve(); browser = await launch(); });
after(async () => { await browser?.close(); server?.stop(); });

test('a seeded game deals as vrel-tool does; results and the average over two games', async () => {
  const seed = 1;
  const native = nativeDeal(seed);
  const context = await browser.newContext();
  const page = await openGame(context, server.url, `?seed=${seed}`);
  await startGame(page);
  assert.deepEqual(await board(page), native.letters);
  assert.equal(await control(page, ids.IDC_SCORE_LINE).textContent(), `Found 0 words from a maximum of ${native.count} (0%).`);

  // One word found by clicking its cells' letters (any cells that trace it).
  const word = native.words.find(w => w.length === 3);
  const letters = await board(page);
  for (const letter of word) await control(page, ids.IDC_LETTER_FIRST + letters.indexOf(letter)).click();
  assert.equal(await control(page, ids.IDC_WORD).inputValue(), word);
  await control(page, ids.IDC_ADD_WORD).click();
  assert.deepEqual(await listItems(page, ids.IDC_FOUND_LIST), [word]);
  assert.equal(await control(page, ids.IDC_SCORE_LINE).textContent(),
    `Found 1 words from a maximum of ${native.count} (${Math.floor(100 / native.count)}%).`);

  await control(page, ids.IDC_QUIT_GAME).click();
  assert.equal(await control(page, ids.IDC_FOUND_HEADING, ids.IDD_RESULTS).textContent(), 'You found the following 1 words:');
  assert.equal(await control(page, ids.IDC_MISSED_HEADING, ids.IDD_RESULTS).textContent(),
    `In addition, the following ${native.count - 1} words could have been found:`);
  assert.deepEqual(await listItems(page, ids.IDC_FOUND_WORDS, ids.IDD_RESULTS), [word]);
  assert.deepEqual(await listItems(page, ids.IDC_MISSED_LIST, ids.IDD_RESULTS), native.words.filter(w => w !== word).sort());
  await control(page, ids.IDOK, ids.IDD_RESULTS).click();
  assert.equal(await control(page, ids.IDC_AVERAGE_LINE).textContent(), `Average Score: ${Math.floor(100 / native.count)}%`);
  assert.ok(await control(page, ids.IDC_START_GAME).isEnabled());
  assert.ok(await control(page, ids.IDC_LETTER_FIRST).isDisabled());

  // The second game ends with no words: the average takes both boards.
  await startGame(page);
  const second = Number((await control(page, ids.IDC_SCORE_LINE).textContent()).match(/maximum of (\d+)/)[1]);
  await control(page, ids.IDC_QUIT_GAME).click();
  assert.equal(await control(page, ids.IDC_FOUND_HEADING, ids.IDD_RESULTS).textContent(), 'You found the following 0 words:');
  assert.deepEqual(await listItems(page, ids.IDC_FOUND_WORDS, ids.IDD_RESULTS), []);
  await control(page, ids.IDOK, ids.IDD_RESULTS).click();
  assert.equal(await control(page, ids.IDC_AVERAGE_LINE).textContent(),
    `Average Score: ${Math.floor(100 / (native.count + second))}%`);
  assert.deepEqual(await page.evaluate(() => window.vrelTest.violations), []);
  await context.close();
});

test('a letter that cannot extend the word beeps and changes nothing', async () => {
  const seed = 1;
  const { letters } = nativeDeal(seed);
  const pairs = traceable(letters, 2);
  const first = 0;
  const refused = letters.findIndex(l => !pairs.has(letters[first] + l));
  const missing = [...'ABCDEFGHIJKLMNOPQRSTUVWXYZ'].find(l => !letters.includes(l));
  const context = await browser.newContext();
  const page = await openGame(context, server.url, `?seed=${seed}`);
  await startGame(page);
  await control(page, ids.IDC_LETTER_FIRST + first).click();
  const before = await beeps(page);
  await control(page, ids.IDC_LETTER_FIRST + refused).click();
  assert.equal(await control(page, ids.IDC_WORD).inputValue(), letters[first]);
  assert.equal(await beeps(page), before + 1);
  // Typing is filtered alike, and lower case arrives upper-cased.
  await control(page, ids.IDC_WORD).press('End');
  await page.keyboard.type(missing.toLowerCase());
  assert.equal(await control(page, ids.IDC_WORD).inputValue(), letters[first]);
  assert.equal(await beeps(page), before + 2);
  const next = [...pairs].find(p => p[0] === letters[first])[1];
  await page.keyboard.type(next.toLowerCase());
  assert.equal(await control(page, ids.IDC_WORD).inputValue(), letters[first] + next);
  assert.ok(await control(page, ids.IDC_CLEAR).isEnabled());
  assert.ok(await control(page, ids.IDC_ADD_WORD).isDisabled());
  await context.close();
});

test('Escape and Enter in each dialog and box', async () => {
  const context = await browser.newContext();
  const page = await openGame(context, server.url, '?seed=1');
  const open = number => windowOf(page, number);
  // About: Enter, then Escape, end it; Alt+A opens it.
  for (const key of ['Enter', 'Escape']) {
    await page.keyboard.press('Alt+A');
    await open(ids.IDD_ABOUT).waitFor();
    await page.keyboard.press(key);
    await open(ids.IDD_ABOUT).waitFor({ state: 'hidden' });
  }
  // Escape in the main window does nothing; Alt+S starts a game.
  await page.keyboard.press('Escape');
  await page.keyboard.press('Alt+S');
  const ok = control(page, ids.IDOK, ids.IDD_SEARCH);
  await ok.and(page.locator(':enabled')).waitFor();
  await page.keyboard.press('Escape');
  await open(ids.IDD_SEARCH).waitFor({ state: 'hidden' });
  assert.ok(await control(page, ids.IDC_WORD).evaluate(field => field === document.activeElement));
  // Enter in the word field presses Add Word: a known word is listed.
  const word = nativeDeal(1).words.find(w => w.length === 3);
  await page.keyboard.type(word.toLowerCase());
  await page.keyboard.press('Enter');
  assert.deepEqual(await listItems(page, ids.IDC_FOUND_LIST), [word]);
  // The same word again: the box, closed by Enter.
  await page.keyboard.type(word);
  await page.keyboard.press('Enter');
  const { caption, text } = await messageBox(page);
  assert.equal(caption, 'Vrel');
  assert.equal(text, `Error:  "${word}" already entered.`);
  await page.keyboard.press('Enter');
  await page.locator('[role="alertdialog"]').waitFor({ state: 'detached' });
  // Results: Escape ends it; the next game's results end with Enter.
  await page.keyboard.press('Alt+Q');
  await open(ids.IDD_RESULTS).waitFor();
  await page.keyboard.press('Escape');
  await open(ids.IDD_RESULTS).waitFor({ state: 'hidden' });
  await startGame(page);
  await page.keyboard.press('Alt+Q');
  await open(ids.IDD_RESULTS).waitFor();
  await page.keyboard.press('Enter');
  await open(ids.IDD_RESULTS).waitFor({ state: 'hidden' });
  // Exit Program with an unchanged dictionary asks nothing and ends.
  await page.keyboard.press('Alt+X');
  await page.locator('#ended').waitFor();
  await context.close();
});

test('mnemonics follow the keyboard layout: AZERTY and QWERTZ', async () => {
  const context = await browser.newContext();
  const alt = (page, key, code) => page.evaluate(([key, code]) => document.activeElement.dispatchEvent(
    new KeyboardEvent('keydown', { key, code, altKey: true, bubbles: true, cancelable: true })), [key, code]);
  // AZERTY swaps A and Q: Alt with the key marked A is not "&Quitter".
  const fr = await openGame(context, server.url, '?edition=fr&seed=1');
  await alt(fr, 'a', 'KeyQ');
  await alt(fr, 'p', 'KeyP');
  await windowOf(fr, ids.IDD_ABOUT).waitFor();
  await fr.keyboard.press('Escape');
  await alt(fr, 'q', 'KeyA');
  await fr.locator('#ended').waitFor();
  // QWERTZ swaps Y and Z: Alt with the key marked Y is Danish "R&yd".
  const da = await openGame(context, server.url, '?edition=da&seed=1');
  await startGame(da);
  await control(da, ids.IDC_LETTER_FIRST).click();
  assert.notEqual(await control(da, ids.IDC_WORD).inputValue(), '');
  await alt(da, 'y', 'KeyZ');
  assert.equal(await control(da, ids.IDC_WORD).inputValue(), '');
  await context.close();
});

test('the German edition: its texts, and ä typed on the keyboard', async () => {
  const seed = seedWhere(deal => deal.letters.includes('\u00c4') &&
    [...traceable(deal.letters, 2)].some(p => p[0] === '\u00c4'), 'de');
  const { letters } = nativeDeal(seed, 'de');
  const context = await browser.newContext();
  const page = await openGame(context, server.url, `?edition=de&seed=${seed}`);
  await startGame(page);
  assert.deepEqual(await board(page), letters);
  await control(page, ids.IDC_WORD).focus();
  await page.keyboard.type('\u00e4');
  assert.equal(await control(page, ids.IDC_WORD).inputValue(), '\u00c4');
  assert.match(await control(page, ids.IDC_SCORE_LINE).textContent(), /^\D*0\D+\d+/);
  assert.notEqual(await control(page, ids.IDC_START_GAME).textContent(), 'Start Game');
  assert.notEqual(await page.locator('#export').textContent(), 'Export dictionary');
  await context.close();
});

// What the phone layout promises, read from the page as it stands: every
// target at least 44 pixels square, text at least 16 pixels (24 in the word
// field), nothing beyond the screen, and in portrait a board of at least 88 %
// of the width.
const phoneFaults = page => page.evaluate(() => {
  const root = document.documentElement;
  const seen = element => element.checkVisibility({ checkVisibilityCSS: true, checkOpacity: true });
  const name = element => element.dataset.name ?? (element.id || element.textContent.trim());
  const faults = [];
  for (const element of document.querySelectorAll('button, input, label, a, dialog .item')) {
    const { width, height } = element.getBoundingClientRect();
    if (seen(element) && (width < 44 || height < 44)) faults.push(`target ${name(element)} ${width}x${height}`);
  }
  for (const element of document.querySelectorAll('body *')) {
    const size = parseFloat(getComputedStyle(element).fontSize);
    const least = element.dataset.name === 'IDC_WORD' ? 24 : 16;
    const hasText = element.tagName === 'INPUT' || [...element.childNodes].some(node => node.nodeType === 3 && node.textContent.trim());
    if (seen(element) && hasText && size < least) faults.push(`text ${name(element)} ${size}px`);
  }
  if (root.scrollWidth > root.clientWidth || root.scrollHeight > root.clientHeight) faults.push(`scrolls ${root.scrollWidth}x${root.scrollHeight}`);
  for (const list of document.querySelectorAll('.listbox')) if (seen(list) && list.scrollWidth > list.clientWidth) faults.push(`list ${name(list)} scrolls sideways`);
  const cubes = [...document.querySelectorAll('[data-name="IDC_LETTER_FIRST"]')].map(cube => cube.getBoundingClientRect());
  const board = cubes[15].right - cubes[0].left;
  if (root.clientHeight > root.clientWidth && board < 0.88 * root.clientWidth) faults.push(`board ${board} wide`);
  return faults;
});

test('a phone, upright and on its side: a game played by touch, the board and every target sized for a finger, all on the screen, no soft keyboard at the start, the bar in a menu', async () => {
  for (const [width, height] of [[360, 640], [390, 844], [844, 390]]) {
    const context = await browser.newContext({ viewport: { width, height }, hasTouch: true, isMobile: true });
    const page = await openGame(context, server.url, '?seed=1');
    await control(page, ids.IDC_START_GAME).tap();
    await control(page, ids.IDOK, ids.IDD_SEARCH).and(page.locator(':enabled')).tap();
    // The soft keyboard stays down until the player taps the field.
    assert.equal(await control(page, ids.IDC_WORD).evaluate(field => field === document.activeElement), false);
    const word = nativeDeal(1).words.find(w => w.length === 4);
    await control(page, ids.IDC_WORD).fill(word);
    await control(page, ids.IDC_WORD).dispatchEvent('input');
    assert.deepEqual(await phoneFaults(page), [], `${width}x${height}`);
    if (width === 390) await page.screenshot({ path: `${process.env.VREL_SCREENSHOTS ?? 'build/web'}/screenshot-web-phone.png` });
    // The bar is folded into its menu button until the player opens it.
    assert.equal(await page.locator('#export').isVisible(), false);
    await page.locator('#menu').tap();
    assert.deepEqual([await page.locator('#export').isVisible(), await phoneFaults(page)], [true, []]);
    await page.locator('#menu').tap();
    await control(page, ids.IDC_ADD_WORD).tap();
    assert.deepEqual(await listItems(page, ids.IDC_FOUND_LIST), [word]);
    // A tap adds a letter.
    await control(page, ids.IDC_LETTER_FIRST).tap();
    assert.equal(await control(page, ids.IDC_WORD).inputValue(), nativeDeal(1).letters[0]);
    await control(page, ids.IDC_QUIT_GAME).tap();
    await control(page, ids.IDOK, ids.IDD_RESULTS).waitFor();
    assert.deepEqual(await phoneFaults(page), [], `results at ${width}x${height}`);
    await control(page, ids.IDOK, ids.IDD_RESULTS).tap();
    await windowOf(page, ids.IDD_RESULTS).waitFor({ state: 'hidden' });
    // Share now in the bar, and the page's own window opened from the menu.
    await page.locator('#menu').tap();
    await page.locator('#statistics').tap();
    await page.locator('dialog[data-window="statistics"] svg').first().waitFor();
    assert.deepEqual(await phoneFaults(page), [], `statistics at ${width}x${height}`);
    await page.locator('dialog[data-window="statistics"] [data-action="close"]').tap();
    await context.close();
  }
});

test('a desktop: the window at its classic size fits a small screen, with the field taking focus at the start; screenshot', async () => {
  const context = await browser.newContext({ viewport: { width: 1024, height: 560 } });
  const page = await openGame(context, server.url, '?seed=1');
  await startGame(page);
  assert.equal(await control(page, ids.IDC_WORD).evaluate(field => field === document.activeElement), true);
  const frame = await windowOf(page, ids.IDD_GAME).boundingBox();
  assert.ok(frame.x >= 0 && frame.x + frame.width <= 1024, `window at ${frame.x}..${frame.x + frame.width}`);
  await page.screenshot({ path: `${process.env.VREL_SCREENSHOTS ?? 'build/web'}/screenshot-web.png` });
  await context.close();
});

test('a wide screen: the window is drawn at 1.5 times, or at its classic size by the bar\'s switch, which is kept', async () => {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await openGame(context, server.url, '?seed=1');
  const cube = () => control(page, ids.IDC_LETTER_FIRST).boundingBox();
  const fitted = await cube();
  await page.locator('#fit').click();
  const classic = await cube();
  assert.equal(fitted.width / classic.width, 1.5);
  await page.reload();
  await page.waitForSelector('body[data-ready]');
  assert.deepEqual([await cube(), await page.locator('#fit').getAttribute('aria-pressed')], [classic, 'false']);
  await context.close();
});

test('a word pointed at or selected in the results is drawn on the board, in order, with its Wiktionary link', async () => {
  const { letters } = nativeDeal(1);
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await openGame(context, server.url, '?seed=1');
  await startGame(page);
  await control(page, ids.IDC_QUIT_GAME).click();
  const results = windowOf(page, ids.IDD_RESULTS);
  // The lit cells, in the order the line joins them.
  const drawn = () => results.locator('.trace').evaluate(panel => {
    const side = 22 + 4;
    return panel.querySelector('polyline').getAttribute('points').split(' ').map(point => {
      const [x, y] = point.split(',').map(Number);
      return Math.floor(y / side) * 4 + Math.floor(x / side);
    });
  });
  const spells = (cells, word) => cells.map(cell => letters[cell]).join('') === word &&
    new Set(cells).size === cells.length &&
    cells.every((cell, k) => k === 0 || (Math.abs((cell >> 2) - (cells[k - 1] >> 2)) <= 1 && Math.abs((cell & 3) - (cells[k - 1] & 3)) <= 1));
  const items = results.locator(`[data-id="${ids.IDC_MISSED_LIST}"] .item`);
  const words = await items.allTextContents();
  const longest = words.reduce((a, b) => (b.length > a.length ? b : a));
  await items.filter({ hasText: new RegExp(`^${longest}$`) }).hover();
  assert.ok(spells(await drawn(), longest), longest);
  assert.equal(await results.locator('.trace a').getAttribute('href'),
    `https://en.wiktionary.org/w/index.php?search=${longest.toLowerCase()}&go=Go`);
  await control(page, ids.IDC_MISSED_LIST, ids.IDD_RESULTS).focus();
  await page.keyboard.press('Home');
  assert.ok(spells(await drawn(), words[0]), words[0]);
  await page.screenshot({ path: `${process.env.VREL_SCREENSHOTS ?? 'build/web'}/screenshot-web-results.png` });
  await context.close();
});

test('dragging across touching cells traces a word, its cells lit on the way, on a desktop and on a phone', async () => {
  const { letters, words } = nativeDeal(1);
  // A path of three touching cells, found on the board.
  const touching = (a, b) => a !== b && Math.abs((a >> 2) - (b >> 2)) <= 1 && Math.abs((a & 3) - (b & 3)) <= 1;
  let path = null;
  for (let a = 0; a < 16 && !path; a++) for (let b = 0; b < 16 && !path; b++) for (let c = 0; c < 16 && !path; c++)
    if (touching(a, b) && touching(b, c) && a !== c && words.includes(letters[a] + letters[b] + letters[c])) path = [a, b, c];
  for (const options of [{}, { viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true }]) {
    const context = await browser.newContext(options);
    const page = await openGame(context, server.url, '?seed=1');
    await startGame(page);
    const centre = async cell => {
      const box = await control(page, ids.IDC_LETTER_FIRST + cell).boundingBox();
      return [box.x + box.width / 2, box.y + box.height / 2];
    };
    await page.mouse.move(...await centre(path[0]));
    await page.mouse.down();
    for (const cell of path.slice(1)) await page.mouse.move(...await centre(cell), { steps: 4 });
    const lit = () => windowOf(page, ids.IDD_GAME).locator('button.traced').evaluateAll(
      cubes => cubes.map(cube => Number(cube.dataset.id)));
    assert.deepEqual(await lit(), path.map(cell => ids.IDC_LETTER_FIRST + cell).sort((a, b) => a - b));
    await page.mouse.up();
    assert.deepEqual(await lit(), []);
    assert.equal(await control(page, ids.IDC_WORD).inputValue(), path.map(c => letters[c]).join(''));
    await context.close();
  }
});

test('every edition plays, and Help opens its pages with working jumps', async () => {
  const context = await browser.newContext();
  for (const edition of EDITIONS) {
    const page = await openGame(context, server.url, `?edition=${edition}&seed=7`);
    await startGame(page);
    assert.deepEqual(await board(page), nativeDeal(7, edition).letters, edition);
    const [help] = await Promise.all([context.waitForEvent('page'), control(page, ids.IDC_HELP_BUTTON).click()]);
    await help.waitForLoadState();
    assert.equal(await help.evaluate(() => document.documentElement.lang), edition);
    const jump = help.locator('section#contents a').first();
    const target = (await jump.getAttribute('href')).slice(1);
    await jump.click();
    assert.equal(await help.evaluate(() => location.hash.slice(1)), target);
    assert.ok(await help.locator(`section#${target} h2`).isVisible());
    await help.close();
    await page.close();
  }
  await context.close();
});
