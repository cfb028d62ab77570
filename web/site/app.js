// The application: wires the engine's module (vrel.js, the game's rules and
// windows' logic in C++) to the drawing (dialogs.js), the input (input.js)
// and the storage (storage.js).
//
// ?edition=CODE picks the edition (English without it); ?seed=N (0-65535)
// seeds the deal instead of the clock, and ?day=YYYY-MM-DD deals that day's
// board; ?by= is a friend's result on that board (links.js).
import { decode, encode } from './cp1252.js';
import * as dialogs from './dialogs.js';
import { History, buildStatistics } from './history.js';
import { wireInput } from './input.js';
import { boardWords, encodeResult, fill, localDay, percent, readLink, writeDay } from './links.js';
import { boxValues, editions, ids } from './resources.js';
import { fetchDictionary, Storage } from './storage.js';

const MAIN_WINDOW = ids.IDD_GAME;
const WORD_FIELD = ids.IDC_WORD;

class ProgramEnded extends Error {}

const params = new URLSearchParams(location.search);
// The edition that ?edition= names, else the default, the first.
const code = Object.hasOwn(editions, params.get('edition') ?? '') ? params.get('edition') : Object.keys(editions)[0];
// The page's own texts: the bar, the ended page, the boxes' Yes and No, the
// close button's name and the page's messages; and the program's string
// table.
const texts = editions[code].page;
const strings = editions[code].strings;
const ERROR_BOX = boxValues.kBoxOk | boxValues.kBoxIconExclamation;
const link = readLink(params);
const seed = link.seed ?? Date.now() & 0xFFFF;

let module = null;
let storage = null;
let running = 0;      // commands under way; the windows take no other meanwhile
let ended = false;
const dialogEnds = new Map();  // template number -> resolve(end code)
const boxes = [];              // open message boxes, the top one last
let pendingFocus = null;
let audio = null;
let history = null;
let gamesOver = 0;   // games ended by Quit Game in this page
let shared = null;   // the first game's line and link, once it has ended

function beep() {
  document.dispatchEvent(new Event('beep'));
  navigator.vibrate?.(60);  // where the device can, a refused letter is felt too
  try {
    audio ??= new AudioContext();
    const tone = audio.createOscillator();
    const gain = audio.createGain();
    gain.gain.value = 0.05;
    tone.frequency.value = 880;
    tone.connect(gain).connect(audio.destination);
    tone.start();
    tone.stop(audio.currentTime + 0.08);
  } catch {
    // A page without sound still dispatched the event.
  }
}

function setWordText(text, caretAtEnd) {
  const field = dialogs.control(MAIN_WINDOW, WORD_FIELD);
  const caret = field.selectionStart ?? text.length;
  field.value = text;
  const at = caretAtEnd ? text.length : Math.min(caret, text.length);
  if (document.activeElement === field) field.setSelectionRange(at, at);
}

// On a touch screen the word field takes focus only when the player taps
// it, so that the soft keyboard does not cover the board; the program's
// other focus moves stay.
const coarsePointer = matchMedia('(pointer: coarse)');

function focusControl(number, id) {
  const element = dialogs.control(number, id);
  if (!element) return;
  if (number === MAIN_WINDOW && id === WORD_FIELD && coarsePointer.matches) return;
  if (!dialogs.isOpen(number)) pendingFocus = element;
  else element.focus();
}

function runDialog(number) {
  dialogs.openWindow(number);
  const ok = dialogs.control(number, ids.IDOK);
  if (number !== ids.IDD_SEARCH && ok && !ok.disabled) ok.focus();
  return new Promise(resolve => dialogEnds.set(number, resolve));
}

function endDialog(number, endCode) {
  const resolve = dialogEnds.get(number);
  if (!resolve) return;
  dialogEnds.delete(number);
  dialogs.closeWindow(number);
  resolve(endCode);
}

function messageBox(text, caption, type) {
  return new Promise(resolve => {
    const yesNo = (type & 0x0F) === boxValues.kBoxYesNo;  // the type's bits, below the icon's
    const buttons = yesNo ? [[texts.yes, boxValues.kAnswerYes], [texts.no, boxValues.kAnswerNo]]
      : [['OK', boxValues.kAnswerOk]];
    const box = dialogs.buildMessageBox(text, caption, type, buttons, answer => {
      boxes.splice(boxes.indexOf(box), 1);
      box.close();
      box.remove();
      resolve(answer);
    });
    box.addEventListener('cancel', event => event.preventDefault());
    document.body.append(box);
    boxes.push(box);
    box.showModal();
    box.querySelector('button').focus();
  });
}

function openHelp() {
  window.open(`help/${code}.html`, '_blank', 'noopener');
}

// A notice under the bar: the page's own, plain word on what it did, or
// could not do, with a button that puts it away.
function notify(text) {
  const notice = document.getElementById('notice');
  const line = document.createElement('p');
  line.textContent = text;
  const dismiss = document.createElement('button');
  dismiss.type = 'button';
  dismiss.textContent = 'OK';
  dismiss.addEventListener('click', () => notice.replaceChildren());
  notice.replaceChildren(line, dismiss);
}

const dateText = day => writeDay(day, texts.locale);

// The game just ended: kept in the history; the first game, the board of
// the page's link, can be shared, and a friend's result on it is shown.
function gameOver(found, missed) {
  gamesOver++;
  dialogs.windowOf(ids.IDD_RESULTS).querySelector('.friend')?.remove();
  const words = boardWords(found, missed);
  const lengths = [3, 4, 5, 6].map(n => found.filter(word => word.length === n).length);
  const game = {
    date: localDay(), edition: code, seed, day: gamesOver === 1 ? link.day : null, game: gamesOver,
    found: found.length, max: words.length, percent: percent(found.length, words.length), lengths,
  };
  history.add(game).then(games => { if (!games) notify(texts.nohistory); });
  if (gamesOver !== 1 || link.seed === null) return;
  const board = link.day ? dateText(link.day) : fill(texts.board, seed);
  const where = link.day ? `day=${link.day}` : `seed=${seed}`;
  shared = {
    line: `Vrel 2 \u00b7 ${editions[code].own} \u00b7 ${board} \u00b7 ${fill(texts.result, game.found, game.max, game.percent)}`,
    url: `${location.origin}${location.pathname}?edition=${code}&${where}&by=${encodeResult(words, found)}`,
  };
  document.getElementById('share').hidden = false;
  if (link.result) showFriend(words, game);
}

// A friend's result beside the player's (game) under the results' lists,
// and the friend's words marked in the lists, when the board has the same
// words as the friend's had.
function showFriend(words, game) {
  const { count, found: places } = link.result;
  const results = dialogs.windowOf(ids.IDD_RESULTS);
  const lines = document.createElement('div');
  lines.className = 'friend';
  for (const text of [fill(texts.you, game.found, game.max, game.percent),
    `\u2605 ${fill(texts.friend, places.size, count, percent(places.size, count))}`]) {
    const line = document.createElement('p');
    line.textContent = text;
    lines.append(line);
  }
  results.append(lines);
  if (count !== words.length) {
    notify(texts.othermarks);
    return;
  }
  const theirs = new Set([...places].map(place => words[place]));
  for (const item of results.querySelectorAll('.item')) {
    if (!theirs.has(item.textContent)) continue;
    item.classList.add('friend-word');
    item.setAttribute('aria-label', fill(texts.friendword, item.textContent));
  }
}

// Share: the device's own sharing where it has it, else the clipboard.
async function share() {
  if (!shared) return;
  if (navigator.share) {
    try {
      await navigator.share({ text: shared.line, url: shared.url });
      return;
    } catch (error) {
      if (error?.name === 'AbortError') return;  // the player chose not to
    }
  }
  try {
    await navigator.clipboard.writeText(`${shared.line}\n${shared.url}`);
    notify(texts.copied);
  } catch {
    notify(`${texts.nocopy}\n${shared.line}\n${shared.url}`);
  }
}

async function openStatistics() {
  if (ended) return;
  const games = await history.games();
  if (!games) {
    notify(texts.nohistory);
    return;
  }
  document.querySelector('dialog[data-window="statistics"]')?.remove();
  const statistics = buildStatistics(texts, games, localDay(), dateText, async () => {
    const answer = await messageBox(texts.clearask, texts.statistics, boxValues.kBoxYesNo | boxValues.kBoxIconQuestion);
    if (answer !== boxValues.kAnswerYes) return;
    statistics.close();
    if (!await history.clear()) notify(texts.nohistory);
    openStatistics();
  });
  document.body.append(statistics);
  statistics.showModal();
  statistics.querySelector('[data-action="close"]').focus({ preventScroll: true });
}

function endProgram(exitCode) {
  showEnded();
  throw new ProgramEnded(`exit ${exitCode}`);
}

function showEnded() {
  ended = true;
  for (const box of boxes) box.remove();
  document.getElementById('desktop').hidden = true;
  for (const id of ['export', 'import', 'statistics']) document.getElementById(id).disabled = true;
  const restart = document.getElementById('restart');
  restart.href = location.href;
  document.getElementById('ended').hidden = false;
  restart.focus();
}

const page = {
  decode,
  setControlText: dialogs.setControlText,
  enableControl: dialogs.enableControl,
  focusControl,
  clearList: dialogs.clearList,
  addListItem: dialogs.addListItem,
  setWordText,
  beep,
  openDialog: dialogs.openWindow,
  closeDialog: dialogs.closeWindow,
  showMainWindow() {
    dialogs.openWindow(MAIN_WINDOW);
    document.body.classList.add('started');
    if (pendingFocus) pendingFocus.focus();
    pendingFocus = null;
  },
  runDialog,
  messageBox,
  openHelp,
  gameOver,
  endProgram,
  storage: null,
};

// Runs a call into the module; calls that wait for the player suspend it,
// and the windows take no input until it is over.
async function call(name, types, args) {
  busy(+1);
  try {
    return await module.ccall(name, 'number', types, args, { async: true });
  } catch (error) {
    if (!(error instanceof ProgramEnded)) throw error;
    return 0;
  } finally {
    busy(-1);
  }
}

// Counts the work under way; body[data-idle] marks a page that takes input.
// The word field takes no typing meanwhile: the engine would not see it.
function busy(change) {
  running += change;
  dialogs.control(MAIN_WINDOW, WORD_FIELD).readOnly = running > 0;
  if (running) delete document.body.dataset.idle;
  else document.body.dataset.idle = 'true';
}

async function command(id) {
  if (ended || running) return;
  // Letters and Clear never wait: called at once, so that a fast drag loses
  // no cell.
  if ((id >= ids.IDC_LETTER_FIRST && id <= ids.IDC_LETTER_LAST) || id === ids.IDC_CLEAR) {
    module._vrel_command(id);
    return;
  }
  const more = await call('vrel_command', ['number'], [id]);
  if (id === ids.IDOK && !more) showEnded();
}

function withBytes(bytes, use) {
  const pointer = module._malloc(Math.max(bytes.length, 1));
  module.HEAPU8.set(bytes, pointer);
  try {
    return use(pointer);
  } finally {
    module._free(pointer);
  }
}

function wordEdit(text) {
  if (ended) return;
  if (running) return;  // a box is up; the field is inert
  const bytes = encode(text);
  withBytes(bytes, pointer => module._vrel_word_edit(pointer, bytes.length));
}

function topWindow() {
  if (boxes.length) return { kind: 'box', element: boxes[boxes.length - 1] };
  // The page's own windows take their keys as the browser gives them.
  if (document.querySelector('dialog.page-window[open]')) return null;
  for (const number of [ids.IDD_ABOUT, ids.IDD_RESULTS, ids.IDD_SEARCH, ids.IDD_SAVE, ids.IDD_LOAD]) {
    if (dialogs.isOpen(number)) return { kind: 'dialog', number, element: dialogs.windowOf(number) };
  }
  if (dialogs.isOpen(MAIN_WINDOW)) return { kind: 'main', number: MAIN_WINDOW, element: dialogs.windowOf(MAIN_WINDOW) };
  return null;
}

async function exportDictionary() {
  if (ended || running) return;
  const FS = module.FS;
  FS.mkdirTree('/tmp/export');
  const path = '/tmp/export/VREL.DAT';
  if (!await call('vrel_export', ['string'], [path])) return;
  const bytes = FS.readFile(path);
  FS.unlink(path);
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  link.download = 'VREL.DAT';
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

async function importDictionary(file) {
  if (ended || running || !file) return;
  busy(+1);
  const FS = module.FS;
  FS.mkdirTree('/tmp/import');
  const name = file.name.replace(/[^A-Za-z0-9._-]/g, '_').slice(-64) || 'VREL.DAT';
  const path = `/tmp/import/${name}`;
  try {
    FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
    await call('vrel_import', ['string'], [path]);
  } finally {
    if (FS.analyzePath(path).exists) FS.unlink(path);
    busy(-1);
  }
}

// The windows' size: on a phone, the phone layout; elsewhere, unless the
// player chose the classic size, the main window is drawn
// at the largest whole or half scale that fits the screen. The scale
// multiplies the dialog units, so borders and text stay crisp. The choice
// is kept where the browser lets the page keep it.
const FIT_KEY = 'vrel-fit';
let classicSize = false;
try {
  classicSize = localStorage.getItem(FIT_KEY) === 'classic';
} catch {
  // A browser that keeps nothing still fits the screen.
}
let mainSize = null;  // the main window's size at the classic scale

// Measured once, before any scale is set, while it is still hidden.
function measureMainWindow() {
  const frame = dialogs.windowOf(MAIN_WINDOW);
  frame.style.visibility = 'hidden';
  frame.hidden = false;
  const { width, height } = frame.getBoundingClientRect();
  frame.hidden = true;
  frame.style.visibility = '';
  mainSize = { width, height };
}

// A phone, or any screen that a finger plays on, gets the phone layout: the
// same controls, arranged for the screen and drawn at their own sizes.
const phone = matchMedia('(max-width: 600px), (pointer: coarse)');

function scaleToScreen() {
  const root = document.documentElement;
  const width = root.clientWidth;
  root.classList.toggle('phone', phone.matches);
  let scale = 1;
  if (!phone.matches && !classicSize) {
    const desktop = document.getElementById('desktop');
    const padding = parseFloat(getComputedStyle(desktop).paddingTop) * 2;
    const height = root.clientHeight - desktop.getBoundingClientRect().top - window.scrollY - padding;
    const fits = Math.min((width - 8) / mainSize.width, height / mainSize.height);
    scale = Math.max(1, Math.floor(fits * 2) / 2);
  }
  root.style.setProperty('--scale', String(scale));
}

// The bar's menu button, on a narrow screen: it shows and hides the rest.
function wireMenu() {
  const button = document.getElementById('menu');
  const items = document.getElementById('bar-items');
  button.textContent = texts.menu;
  const show = open => {
    items.classList.toggle('open', open);
    button.setAttribute('aria-expanded', String(open));
  };
  button.addEventListener('click', () => show(!items.classList.contains('open')));
  // An item chosen folds the menu again.
  items.addEventListener('click', event => { if (event.target.closest('button, a')) show(false); });
}

function wireFit() {
  const button = document.getElementById('fit');
  button.textContent = texts.fit;
  button.setAttribute('aria-pressed', String(!classicSize));
  button.addEventListener('click', () => {
    classicSize = !classicSize;
    try {
      localStorage.setItem(FIT_KEY, classicSize ? 'classic' : 'fit');
    } catch {
      // Not kept, but switched for this visit.
    }
    button.setAttribute('aria-pressed', String(!classicSize));
    scaleToScreen();
  });
}

function linkEditions() {
  const list = document.getElementById('editions');
  for (const [other, edition] of Object.entries(editions)) {
    // Each edition by its own name, in its language.
    const item = document.createElement(other === code ? 'strong' : 'a');
    item.textContent = edition.own;
    item.lang = other;
    if (other !== code) {
      item.href = `?edition=${other}`;
      item.hreflang = other;
    } else {
      item.setAttribute('aria-current', 'page');
    }
    list.append(item, ' ');
  }
}

// Today's board, Share and Statistics; the link's faults are told.
function wireBar() {
  const today = document.getElementById('today');
  today.textContent = texts.today;
  // The date when it is followed: a page left open past midnight links to
  // the new day.
  const point = () => { today.href = `?edition=${code}&day=${localDay()}`; };
  point();
  today.addEventListener('pointerdown', point);
  today.addEventListener('focus', point);
  today.addEventListener('click', point);
  const shareButton = document.getElementById('share');
  shareButton.textContent = texts.share;
  shareButton.addEventListener('click', share);
  const statistics = document.getElementById('statistics');
  statistics.textContent = texts.statistics;
  statistics.addEventListener('click', openStatistics);
  if (link.faults.includes('day')) notify(texts.badday);
  else if (link.faults.includes('result')) notify(texts.badresult);
}

// The engine's module; rejects when vrel.js or vrel.wasm cannot be had, or
// the browser has no WebAssembly.
function loadModule() {
  return new Promise((resolve, reject) => {
    if (typeof WebAssembly !== 'object' || typeof createVrelModule !== 'function') {
      reject(new Error('no WebAssembly module'));
      return;
    }
    createVrelModule({ page, onAbort: reject }).then(resolve, reject);
  });
}

// The program's fatal box in place of a game that cannot start, then the
// ended page.
async function failToStart(text) {
  dialogs.closeWindow(ids.IDD_LOAD);
  await messageBox(text, strings.IDS_FATAL_ERROR_CAPTION, ERROR_BOX);
  showEnded();
}

async function main() {
  document.documentElement.lang = code;
  dialogs.setLanguage(code, editions[code].texts, texts.close);
  linkEditions();
  document.getElementById('export').textContent = texts.export;
  document.getElementById('import-text').textContent = texts.import;
  document.getElementById('ended-text').textContent = texts.ended;
  document.getElementById('restart').textContent = texts.restart;
  wireBar();
  dialogs.buildWindows(document.getElementById('desktop'), number => {
    if (running && number === MAIN_WINDOW) return;
    if (number === MAIN_WINDOW) command(ids.IDOK);
    else endDialog(number, ids.IDCANCEL);
  });
  measureMainWindow();
  wireMenu();
  wireFit();
  scaleToScreen();
  window.addEventListener('resize', scaleToScreen);
  phone.addEventListener('change', scaleToScreen);
  wireInput({ command, wordEdit, endDialog, topWindow });
  dialogs.openWindow(ids.IDD_LOAD);  // the loading dialog, until the engine takes over
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});

  // The shipped dictionary is needed at the first visit only; it is fetched
  // meanwhile, from the service worker's cache after that.
  const shipped = fetchDictionary(code).catch(() => null);
  try {
    module = await loadModule();
  } catch {
    await failToStart(texts.nomodule);
    return;
  }
  performance.mark('vrel-module');
  storage = new Storage(module);
  page.storage = storage;
  history = new History(storage, code);
  // A browser that refuses storage still plays, but nothing added is kept.
  const stored = await storage.open(code, shipped);
  performance.mark('vrel-storage');
  if (!stored) await messageBox(texts.nostorage, strings.IDS_ERROR_CAPTION, ERROR_BOX);
  await call('vrel_start', ['number', 'string', 'string'], [seed, code, storage.tab]);
  if (ended) return;
  const exportButton = document.getElementById('export');
  const importInput = document.getElementById('import');
  exportButton.disabled = false;
  importInput.disabled = false;
  document.getElementById('statistics').disabled = false;
  exportButton.addEventListener('click', exportDictionary);
  importInput.addEventListener('change', () => {
    const file = importInput.files[0];
    importInput.value = '';
    importDictionary(file);
  });
  document.body.dataset.ready = 'true';
  performance.mark('vrel-ready');
}

main();
