// The player's history: every game ended by Quit Game, kept beside the
// edition's dictionary (HISTORY.TXT, one JSON object a line), and the
// Statistics window that shows it as figures and two charts.
import { buildCaption } from './dialogs.js';
import { dayBefore, fill, percent } from './links.js';

const SVG = 'http://www.w3.org/2000/svg';
const RECENT = 30;

// A stored line that the page could have written: any other is left out.
const isGame = game => game !== null && typeof game === 'object' && typeof game.date === 'string'
  && [game.found, game.max, game.percent].every(Number.isFinite);

export class History {
  // storage: the page's Storage, whose lock and syncs guard the files.
  constructor(storage, code) {
    this.storage = storage;
    this.path = `/data/${code}/HISTORY.TXT`;
  }

  // Runs change(games) -> games | null (nothing to store) on the games as
  // stored now; answers the games, or null when the storage failed.
  async update(change) {
    const FS = this.storage.module.FS;
    const token = await this.storage.lock();
    try {
      if (!token || !await this.storage.sync(true)) return null;
      let games = [];
      if (FS.analyzePath(this.path).exists) {
        for (const line of FS.readFile(this.path, { encoding: 'utf8' }).split('\n')) {
          try {
            const game = JSON.parse(line);
            if (isGame(game)) games.push(game);
          } catch {
            // A damaged line loses that game only.
          }
        }
      }
      const changed = change(games);
      if (!changed) return games;
      FS.writeFile(this.path, changed.map(game => `${JSON.stringify(game)}\n`).join(''));
      return await this.storage.sync(false) ? changed : null;
    } finally {
      this.storage.unlock(token);
    }
  }

  games() { return this.update(() => null); }
  add(game) { return this.update(games => [...games, game]); }
  clear() { return this.update(() => []); }
}

// The figures of the games: played, the average as the game keeps it (all
// words found of all there were), the best game, the days in a row up to
// today (or yesterday, when today's board is still to play) on which the
// day's board was played that day, the last games' percentages and the
// found words by length (3 to 6).
export function figures(games, today) {
  const found = games.reduce((sum, game) => sum + game.found, 0);
  const maximum = games.reduce((sum, game) => sum + game.max, 0);
  let best = null;
  for (const game of games) {
    if (!best || game.percent > best.percent || (game.percent === best.percent && game.found > best.found)) best = game;
  }
  const days = new Set(games.filter(game => game.day && game.day === game.date).map(game => game.day));
  let day = days.has(today) ? today : dayBefore(today);
  let streak = 0;
  for (; days.has(day) && streak < days.size; day = dayBefore(day)) streak++;
  const lengths = [0, 0, 0, 0];
  for (const game of games) {
    if (Array.isArray(game.lengths)) game.lengths.slice(0, 4).forEach((count, at) => { lengths[at] += Number(count) || 0; });
  }
  return {
    played: games.length, average: percent(found, maximum), best, streak,
    recent: games.slice(-RECENT).map(game => game.percent), lengths,
  };
}

function svgElement(name, attributes, text) {
  const element = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, String(value));
  if (text !== undefined) element.textContent = text;
  return element;
}

// A bar chart: values (of at most top), each under its value and, where
// marks are given, over its mark; named for a screen reader by its title
// and every bar's label and value.
function barChart(title, values, labels, marks, top, valueText) {
  const figure = document.createElement('figure');
  const caption = document.createElement('figcaption');
  caption.textContent = title;
  const width = 300;
  const base = marks ? 72 : 84;
  const svg = svgElement('svg', { viewBox: `0 0 ${width} 90`, role: 'img' });
  svg.setAttribute('aria-label', `${title}: ${values.map((value, at) => `${labels[at]} ${valueText(value)}`).join(', ')}`);
  svg.append(svgElement('line', { x1: 0, y1: base, x2: width, y2: base, class: 'axis' }));
  const slot = width / Math.max(values.length, 1);
  values.forEach((value, at) => {
    const tall = top ? (value / top) * (base - 18) : 0;
    const middle = at * slot + slot / 2;
    svg.append(svgElement('rect', { x: middle - slot * 0.35, y: base - tall, width: slot * 0.7, height: tall, class: 'bar' }));
    if (values.length <= 10) svg.append(svgElement('text', { x: middle, y: base - tall - 4, 'text-anchor': 'middle' }, valueText(value)));
    if (marks) svg.append(svgElement('text', { x: middle, y: base + 16, 'text-anchor': 'middle' }, marks[at]));
  });
  figure.append(caption, svg);
  return figure;
}

// The Statistics window, filled from the games; a <dialog> of the page,
// drawn as the program's windows are. texts: the page's texts; dateText
// writes a "YYYY-MM-DD" date; onClear asks and clears.
export function buildStatistics(texts, games, today, dateText, onClear) {
  const stats = figures(games, today);
  const dialog = document.createElement('dialog');
  dialog.className = 'window page-window';
  dialog.dataset.window = 'statistics';
  const end = () => { dialog.close(); dialog.remove(); };
  const caption = buildCaption('caption-statistics', texts.statistics, { onClose: end });
  dialog.setAttribute('aria-labelledby', caption.id);

  const body = document.createElement('div');
  body.className = 'page-body';
  const list = document.createElement('dl');
  const result = game => fill(texts.result, game.found, game.max, game.percent);
  const rows = [
    [texts.played, String(stats.played)],
    [texts.average, fill(texts.percent, stats.average)],
    [texts.best, stats.best ? `${result(stats.best)}\n${dateText(stats.best.date)}` : '\u2013'],
    [texts.streak, String(stats.streak)],
  ];
  for (const [name, value] of rows) {
    const term = document.createElement('dt');
    term.textContent = name;
    const detail = document.createElement('dd');
    detail.textContent = value;
    list.append(term, detail);
  }
  const recent = games.slice(-RECENT);
  body.append(list,
    barChart(texts.recent, stats.recent, recent.map(game => dateText(game.date)), null, 100, value => fill(texts.percent, value)),
    barChart(texts.lengths, stats.lengths, [3, 4, 5, 6].map(n => fill(texts.letters, n)), ['3', '4', '5', '6'],
      Math.max(...stats.lengths), String));

  const buttons = document.createElement('div');
  buttons.className = 'box-buttons';
  const clear = document.createElement('button');
  const ok = document.createElement('button');
  for (const [button, text] of [[clear, texts.clear], [ok, texts.close]]) {
    button.type = 'button';
    button.className = 'push';
    const label = document.createElement('span');
    label.textContent = text;
    button.append(label);
    buttons.append(button);
  }
  clear.disabled = games.length === 0;
  clear.dataset.action = 'clear';
  ok.dataset.action = 'close';
  ok.addEventListener('click', end);
  dialog.addEventListener('close', () => dialog.remove());
  clear.addEventListener('click', onClear);
  dialog.append(caption, body, buttons);
  return dialog;
}
