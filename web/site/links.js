// The page's links: a day's board (?day=YYYY-MM-DD), and a result sent to a
// friend (?by=), which the friend's page reads back at the end of the game.
// Nothing here touches the page; every function answers what it is given.

const DAY_MS = 86400000;
// A day's seed is D * 40503 modulo 65536, D the days from 1970-01-01 to the
// date. The multiplier is odd, so 65536 days in a row have different seeds,
// and about 0.62 of the seeds' range apart, so that next days' seeds are
// far apart.
const DAY_MULTIPLIER = 40503;
const SEEDS = 65536;
// A result names at most this many words: a link longer than that is not
// one the page made.
const MAX_WORDS = 6000;
const DIGITS = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_';

// The days from 1970-01-01 to the date "YYYY-MM-DD"; null unless it is a
// real date from then on.
export function dayNumber(text) {
  const match = typeof text === 'string' && /^(\d{4})-(\d{2})-(\d{2})$/.exec(text);
  if (!match) return null;
  const [year, month, day] = match.slice(1).map(Number);
  const time = Date.UTC(year, month - 1, day);
  const date = new Date(time);
  if (year < 1970 || date.getUTCFullYear() !== year || date.getUTCMonth() !== month - 1 || date.getUTCDate() !== day) return null;
  return time / DAY_MS;
}

export const daySeed = days => (days * DAY_MULTIPLIER) % SEEDS;

// The date of the player's own calendar, "YYYY-MM-DD".
export function localDay(date = new Date()) {
  const pad = n => String(n).padStart(2, '0');
  return `${date.getFullYear()}-${pad(date.getMonth() + 1)}-${pad(date.getDate())}`;
}

// "YYYY-MM-DD" as the language of the locale writes a date (10 Dec 2026).
export function writeDay(text, locale) {
  const days = dayNumber(text);
  if (days === null) return text;
  return new Intl.DateTimeFormat(locale, { day: 'numeric', month: 'short', year: 'numeric', timeZone: 'UTC' })
    .format(new Date(days * DAY_MS));
}

// The date before "YYYY-MM-DD".
export function dayBefore(text) {
  return new Date((dayNumber(text) - 1) * DAY_MS).toISOString().slice(0, 10);
}

// A board's words in the order that both ends of a link use.
export const boardWords = (found, missed) => [...found, ...missed].sort();

// A result: the number of the board's words, a dot, then one bit for each
// of them in boardWords' order (set: found), six to a character of
// base64url, the first word in the highest bit of the first character.
export function encodeResult(words, found) {
  const have = new Set(found);
  let text = '';
  for (let at = 0; at < words.length; at += 6) {
    let value = 0;
    for (let bit = 0; bit < 6; bit++) value = value * 2 + (have.has(words[at + bit]) ? 1 : 0);
    text += DIGITS[value];
  }
  return `${words.length}.${text}`;
}

// { count, found: Set of the found words' places } of a result; null for
// anything that encodeResult cannot have made.
export function decodeResult(text) {
  if (typeof text !== 'string' || text.length > 5 + Math.ceil(MAX_WORDS / 6)) return null;
  const match = /^(0|[1-9]\d{0,3})\.([A-Za-z0-9_-]*)$/.exec(text);
  if (!match) return null;
  const count = Number(match[1]);
  const bits = match[2];
  if (count > MAX_WORDS || bits.length !== Math.ceil(count / 6)) return null;
  const found = new Set();
  for (let at = 0; at < bits.length; at++) {
    const value = DIGITS.indexOf(bits[at]);
    for (let bit = 0; bit < 6; bit++) {
      if (!(value & (32 >> bit))) continue;
      const place = at * 6 + bit;
      if (place >= count) return null;  // a bit past the last word
      found.add(place);
    }
  }
  return { count, found };
}

// What a link asks for: the board (a day's, or a seed's) and a friend's
// result; faults names what it held that could not be read ('day', 'result').
export function readLink(params) {
  const faults = [];
  let day = null;
  let seed = null;
  let result = null;
  if (params.has('day')) {
    const days = dayNumber(params.get('day'));
    if (days === null) faults.push('day');
    else {
      day = params.get('day');
      seed = daySeed(days);
    }
  }
  const seedText = params.get('seed');
  if (seed === null && seedText !== null && /^\d+$/.test(seedText) && Number(seedText) < SEEDS) seed = Number(seedText);
  if (params.has('by')) {
    result = seed === null ? null : decodeResult(params.get('by'));
    if (!result) faults.push('result');
  }
  return { day, seed, result, faults };
}

export const percent = (found, maximum) => (maximum ? Math.floor(found * 100 / maximum) : 0);

// A text with %1, %2 … filled in.
export const fill = (text, ...values) => text.replace(/%(\d)/g, (all, n) => String(values[n - 1] ?? all));
