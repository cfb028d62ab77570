// The page's day's board, its shared results and a friend's challenge, and
// the history of games with its Statistics window.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import {
  EDITIONS, answer, board, control, ids, listItems, nativeDeal, openGame, serve, startGame, launch, windowOf,
} from './browser.mjs';
import { decodeResult, encodeResult } from '../../build/web/site/links.js';

let server;
let browser;
before(async () => { server = await serve(); browser = await launch(); });
after(async () => { await browser?.close(); server?.stop(); });

const DAY = '2026-12-10';
const NEXT = '2026-12-11';
// The documented function: the days since 1970-01-01 times 40503, modulo 65536.
const daySeed = day => (Date.parse(`${day}T00:00:00Z`) / 86400000 * 40503) % 65536;
const notice = page => page.locator('#notice p');

// A browser whose clock runs from noon of the day; share and the clipboard
// stubbed as the device would offer them, or not at all.
async function contextOn(day, { share = false, clipboard = false } = {}) {
  const context = await browser.newContext();
  await context.clock.install({ time: new Date(`${day}T12:00:00`) });
  await context.addInitScript(({ share, clipboard }) => {
    window.vrelShared = [];
    if (share) navigator.share = async data => { window.vrelShared.push(data); };
    else delete Navigator.prototype.share;
    const writeText = clipboard ? async text => { window.vrelShared.push(text); } : async () => { throw new Error('denied'); };
    Object.defineProperty(navigator, 'clipboard', { value: { writeText } });
  }, { share, clipboard });
  return context;
}

// Plays one game, typing the words; answers the board's maximum.
async function play(page, words = []) {
  await startGame(page);
  for (const word of words) {
    await control(page, ids.IDC_WORD).pressSequentially(word);
    await control(page, ids.IDC_ADD_WORD).click();
  }
  const maximum = Number((await control(page, ids.IDC_SCORE_LINE).textContent()).match(/maximum of (\d+)/)[1]);
  await control(page, ids.IDC_QUIT_GAME).click();
  await control(page, ids.IDOK, ids.IDD_RESULTS).waitFor();
  return maximum;
}

async function closeResults(page) {
  await control(page, ids.IDOK, ids.IDD_RESULTS).click();
  await windowOf(page, ids.IDD_RESULTS).waitFor({ state: 'hidden' });
}

test('a day\'s board is the same for everyone, in every edition, and the next day\'s differs; the bar links today', async () => {
  for (const edition of EDITIONS) {
    const context = await contextOn(DAY);
    const page = await openGame(context, server.url, `?edition=${edition}&day=${DAY}`);
    await startGame(page);
    assert.deepEqual(await board(page), nativeDeal(daySeed(DAY), edition).letters, edition);
    if (edition === EDITIONS[0]) assert.equal(await page.locator('#today').getAttribute('href'), `?edition=en&day=${DAY}`);
    await context.close();
  }
  assert.notDeepEqual(nativeDeal(daySeed(NEXT)).letters, nativeDeal(daySeed(DAY)).letters);
});

test('Share gives a line and a link; the friend who opens it sees both scores and the sender\'s words starred', async () => {
  const words = nativeDeal(daySeed(DAY)).words.filter(word => word.length <= 4).slice(0, 2);
  const sender = await openGame(await contextOn(DAY, { share: true }), server.url, `?day=${DAY}`);
  assert.equal(await sender.locator('#share').isVisible(), false);
  const maximum = await play(sender, words);
  await closeResults(sender);
  await sender.locator('#share').click();
  await sender.waitForFunction(() => window.vrelShared.length === 1);
  const [{ text, url }] = await sender.evaluate(() => window.vrelShared);
  assert.equal(text, `Vrel 2 \u00b7 English \u00b7 10 Dec 2026 \u00b7 2 of ${maximum} words (${Math.floor(200 / maximum)} %)`);
  assert.match(url, new RegExp(`^${server.url}\\?edition=en&day=${DAY}&by=${maximum}\\.[A-Za-z0-9_-]+$`));

  // The friend, on a device that copies instead, finds one of the words.
  const friend = await openGame(await contextOn(DAY, { clipboard: true }), url);
  await play(friend, words.slice(1));
  const results = windowOf(friend, ids.IDD_RESULTS);
  assert.deepEqual(await results.locator('.friend p').allTextContents(), [
    `You: 1 of ${maximum} words (${Math.floor(100 / maximum)} %)`,
    `\u2605 Your friend: 2 of ${maximum} words (${Math.floor(200 / maximum)} %)`]);
  assert.deepEqual(await results.locator('.friend-word').allTextContents(), [words[1], words[0]]);
  assert.deepEqual(await listItems(friend, ids.IDC_FOUND_WORDS, ids.IDD_RESULTS), [words[1]]);
  assert.equal(await results.locator('.friend-word').first().getAttribute('aria-label'), `${words[1]}, found by your friend`);
  await closeResults(friend);
  await friend.locator('#share').click();
  await notice(friend).waitFor();
  assert.equal(await notice(friend).textContent(), 'The result and its link are copied, ready to paste.');
  const [copied] = await friend.evaluate(() => window.vrelShared);
  assert.match(copied, /^Vrel 2 · English · 10 Dec 2026 · 1 of \d+ words \(\d+ %\)\nhttp:\S+&by=\S+$/);
  // The next board is not the friend's.
  await play(friend);
  assert.equal(await results.locator('.friend').count(), 0);
  await sender.context().close();
  await friend.context().close();
});

test('a result link: its size for 60 found words, and anything it could not have made is refused', () => {
  const words = Array.from({ length: 400 }, (_, at) => `W${at}`).sort();
  const found = words.filter((_, at) => at % 5 === 2).slice(0, 60);
  const text = encodeResult(words, found);
  assert.ok(`https://vrel.example.org/play/?edition=nb&day=${DAY}&by=${text}`.length < 200);
  assert.deepEqual([...decodeResult(text).found].map(at => words[at]).sort(), found.sort());
  for (const bad of ['', '3', '3.', '3.AA', '03.A', '1.B', '2.-', '7000.A', `400.${'A'.repeat(5000)}`, '3.<', '3.A\n', null]) {
    assert.equal(decodeResult(bad), null, String(bad));
  }
});

test('a damaged link is ignored with a plain notice, and the game plays', async () => {
  const context = await contextOn(DAY);
  for (const [query, told] of [
    ['?day=2026-02-30', 'The link\'s date could not be read, so a board was dealt as usual.'],
    [`?day=${DAY}&by=${'A'.repeat(3000)}`, 'The link\'s result could not be read, so it was left out.'],
    ['?by=3.A', 'The link\'s result could not be read, so it was left out.'],
    [`?day=${DAY}&by=1.g`, 'Your friend\'s words cannot be marked: your dictionary gives this board other words than theirs.'],
  ]) {
    const page = await openGame(context, server.url, query);
    await play(page);
    await notice(page).waitFor();
    assert.equal(await notice(page).textContent(), told, query);
    assert.equal(await windowOf(page, ids.IDD_RESULTS).locator('.friend-word').count(), 0);
    await closeResults(page);
    await page.close();
  }
  await context.close();
});

test('Statistics after five games of two days: across a reload and in another tab, charts labelled, Clear History asks', async () => {
  const context = await contextOn(DAY);
  const page = await openGame(context, server.url, `?day=${DAY}`);
  const first = nativeDeal(daySeed(DAY)).words.sort((a, b) => a.length - b.length);
  const games = [];
  const record = async (words, day) => games.push({ found: words, max: await play(page, words), day });
  await record([first[0], first.at(-1)], DAY);
  await closeResults(page);
  for (let n = 0; n < 2; n++) {
    await record([], DAY);
    await closeResults(page);
  }
  // Each window shows the games stored before it opened.
  const statistics = dialog => dialog.locator('dialog[data-window="statistics"]');
  await page.locator('#statistics').click();
  assert.equal(await statistics(page).locator('dd').first().textContent(), '3');
  await statistics(page).locator('[data-action="close"]').click();
  await context.clock.setSystemTime(new Date(`${NEXT}T12:00:00`));
  await page.goto(`${server.url}?day=${NEXT}`);
  await page.waitForSelector('body[data-ready]');
  const other = await openGame(context, server.url, '?seed=7');
  await record([nativeDeal(daySeed(NEXT)).words[0]], NEXT);
  await closeResults(page);
  await record([], NEXT);
  await closeResults(page);

  await other.locator('#statistics').click();
  await statistics(other).locator('dd').first().waitFor();
  const figures = await statistics(other).locator('dd').allTextContents();
  const percents = games.map(game => Math.floor(game.found.length * 100 / game.max));
  const best = games[percents.indexOf(Math.max(...percents))];
  const all = games.flatMap(game => game.found);
  assert.deepEqual(figures, [
    '5',
    `${Math.floor(all.length * 100 / games.reduce((sum, game) => sum + game.max, 0))} %`,
    `${best.found.length} of ${best.max} words (${Math.max(...percents)} %)\n${best.day === DAY ? '10' : '11'} Dec 2026`,
    '2',
  ]);
  const charts = statistics(other).locator('svg[role="img"]');
  assert.equal(await charts.first().locator('rect').count(), 5);
  assert.equal(await charts.first().getAttribute('aria-label'),
    `Last 30 games (%): ${percents.map((value, at) => `${at < 3 ? 10 : 11} Dec 2026 ${value} %`).join(', ')}`);
  await other.screenshot({ path: `${process.env.VREL_SCREENSHOTS ?? 'build/web'}/screenshot-web-statistics.png` });
  const byLength = [3, 4, 5, 6].map(n => `${n} letters ${all.filter(word => word.length === n).length}`);
  assert.equal(await charts.nth(1).getAttribute('aria-label'), `Found words by length: ${byLength.join(', ')}`);

  await statistics(other).locator('[data-action="clear"]').click();
  await answer(other, 'Yes');
  await statistics(other).locator('dd').first().filter({ hasText: /^0$/ }).waitFor();
  await context.close();
});
