// Drawing: the windows of the program built from its dialog templates, in
// dialog units at the base units of the templates' System font (8 x 16
// pixels: a horizontal unit is 2 pixels, a vertical one 2 pixels), and the
// message boxes. Every function draws what it is given; nothing here decides.
import { boxValues, ids, templates } from './resources.js';

const UNIT_X = 2;
const UNIT_Y = 2;
const MAIN_WINDOW = ids.IDD_GAME;
const FIRST_LETTER = ids.IDC_LETTER_FIRST;

let collator = new Intl.Collator('en');
let language = 'en';
let wiktionary = 'en';  // the Wiktionary of the edition's language
let dialogTexts = {};
let closeLabel = 'Close';
let itemCount = 0;  // for the list items' element ids
const windows = new Map();  // template number -> window element
const mnemonics = new Map();  // template number -> Map(letter -> control)

// The lines that change as the game goes on, said by a screen reader as
// they change: the score and the searching dialog's count.
const LIVE_LINES = [[MAIN_WINDOW, ids.IDC_SCORE_LINE], [ids.IDD_SEARCH, ids.IDC_PROGRESS_LINE]];

// The edition's language, its dialog texts and the title bar's close
// button's name, which Windows gives the program. Norwegian's Wiktionary is
// no., not nb.
export function setLanguage(code, texts, close) {
  collator = new Intl.Collator(code);
  language = code;
  wiktionary = code === 'nb' ? 'no' : code;
  dialogTexts = texts;
  closeLabel = close;
}

// "&Word" as "Word" with the W underlined; the letter is the mnemonic.
function renderMnemonic(element, text) {
  element.textContent = '';
  const at = text.search(/&[^&]/);
  const plain = text.replace(/&&/g, '&');
  if (at < 0) {
    element.textContent = plain;
    return null;
  }
  element.append(text.slice(0, at).replace(/&&/g, '&'));
  const u = document.createElement('u');
  u.textContent = text[at + 1];
  element.append(u, text.slice(at + 2).replace(/&&/g, '&'));
  return text[at + 1].toLowerCase();
}

// The template's place, which the classic layout uses; the phone layout
// places a control by its name (data-name) and a letter cube by its row
// and column.
function place(element, [x, y, w, h]) {
  element.style.setProperty('--x', `${x * UNIT_X}px`);
  element.style.setProperty('--y', `${y * UNIT_Y}px`);
  element.style.setProperty('--w', `${w * UNIT_X}px`);
  element.style.setProperty('--h', `${h * UNIT_Y}px`);
}

function textOf(control) {
  if (control.textName) return dialogTexts[control.textName] ?? '';
  return control.text ?? '';
}

function buildControl(number, control, labelId) {
  const has = style => control.style.includes(style);
  let element;
  if (control.class === 'Button' && has('BS_GROUPBOX')) {
    element = document.createElement('div');
    element.className = 'groupbox';
    element.setAttribute('role', 'group');
    const legend = document.createElement('span');
    legend.className = 'legend';
    legend.id = `label-${number}-${control.rect.join('-')}`;
    element.append(legend);
    element.setAttribute('aria-labelledby', legend.id);
  } else if (control.class === 'Button') {
    element = document.createElement('button');
    element.type = 'button';
    element.className = has('BS_DEFPUSHBUTTON') ? 'push default' : 'push';
  } else if (control.class === 'Edit') {
    element = document.createElement('input');
    element.type = 'text';
    element.autocomplete = 'off';
    element.spellcheck = false;
    element.setAttribute('autocapitalize', 'characters');
    element.className = 'edit';
    if (labelId) element.setAttribute('aria-labelledby', labelId);
  } else if (control.class === 'ListBox') {
    element = document.createElement('div');
    element.className = 'listbox';
    element.setAttribute('role', 'listbox');
    element.tabIndex = 0;
    const list = document.createElement('div');
    list.className = 'items';
    element.append(list);
    element.addEventListener('keydown', event => moveSelection(element, event));
    element.addEventListener('click', event => {
      const item = event.target.closest('.item');
      if (item && !element.classList.contains('disabled')) select(element, item);
    });
    element.addEventListener('pointerover', event => {
      const item = event.target.closest('.item');
      if (item) drawPath(item);
    });
    if (labelId) element.setAttribute('aria-labelledby', labelId);
  } else if (has('SS_ICON')) {
    element = document.createElement('img');
    element.className = 'icon';
    element.src = 'icons/about-32.png';
    element.alt = '';
  } else {
    element = document.createElement('div');
    element.className = 'static';
    if (LIVE_LINES.some(([n, id]) => n === number && id === control.id)) {
      element.setAttribute('role', 'status');
      element.setAttribute('aria-live', 'polite');
    }
  }
  element.dataset.id = String(control.id);
  element.dataset.name = control.name;
  place(element, control.rect);
  const cell = control.id - FIRST_LETTER;
  if (number === MAIN_WINDOW && cell >= 0 && cell < 16) {
    element.style.setProperty('--row', String(cell >> 2));
    element.style.setProperty('--col', String(cell & 3));
  }
  if (has('NOT WS_VISIBLE')) element.hidden = true;
  if (has('WS_DISABLED')) setEnabled(element, false);
  return element;
}

// A list box's own keys, as Windows's list box takes them: the arrows, Home
// and End move its selection (Left and Right by a column), which the program
// never reads. Enter, Escape and Alt go on to the window's keys.
function moveSelection(list, event) {
  if (event.altKey || event.ctrlKey || event.metaKey || list.classList.contains('disabled')) return;
  const items = [...list.querySelectorAll('.item')];
  const at = items.findIndex(item => item.getAttribute('aria-selected') === 'true');
  const rows = items.filter(item => item.offsetLeft === items[0]?.offsetLeft).length;  // in a column
  const moves = { ArrowUp: at - 1, ArrowDown: at + 1, ArrowLeft: at - rows, ArrowRight: at + rows, Home: 0, End: items.length - 1 };
  if (!(event.key in moves)) return;
  event.preventDefault();
  if (!items.length) return;
  const next = at < 0 && event.key !== 'End' ? 0 : moves[event.key];
  select(list, items[Math.max(0, Math.min(items.length - 1, next))]);
}

function select(list, item) {
  for (const other of list.querySelectorAll('.item[aria-selected="true"]')) other.setAttribute('aria-selected', 'false');
  item.setAttribute('aria-selected', 'true');
  list.setAttribute('aria-activedescendant', item.id);
  item.scrollIntoView({ block: 'nearest', inline: 'nearest' });
  drawPath(item);
}

// The board beside the results' lists, where the word pointed at, touched
// or selected is drawn: its cells lit and joined in order, with a link to
// the word in Wiktionary.
const TRACE_CELL = 22;
const TRACE_GAP = 4;
const centre = index => index * (TRACE_CELL + TRACE_GAP) + TRACE_CELL / 2;

function buildTrace() {
  const panel = document.createElement('div');
  panel.className = 'trace';
  const board = document.createElement('div');
  board.className = 'trace-board';
  board.setAttribute('aria-hidden', 'true');
  for (let cell = 0; cell < 16; cell++) board.append(document.createElement('span'));
  const line = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
  const side = 4 * TRACE_CELL + 3 * TRACE_GAP;
  line.setAttribute('viewBox', `0 0 ${side} ${side}`);
  line.append(document.createElementNS('http://www.w3.org/2000/svg', 'polyline'));
  board.append(line);
  const link = document.createElement('a');
  link.target = '_blank';
  link.rel = 'noopener noreferrer';
  link.hidden = true;
  panel.append(board, link);
  return panel;
}

function drawPath(item) {
  const panel = item.closest('dialog')?.querySelector('.trace');
  if (!panel || !item.dataset.path) return;
  const path = item.dataset.path.split(' ').map(Number);
  const cells = panel.querySelectorAll('.trace-board span');
  cells.forEach((cell, index) => {
    cell.textContent = control(MAIN_WINDOW, FIRST_LETTER + index)?.textContent ?? '';
    const step = path.indexOf(index);
    cell.classList.toggle('on', step >= 0);
    cell.classList.toggle('first', step === 0);
  });
  panel.querySelector('polyline').setAttribute('points',
    path.map(index => `${centre(index & 3)},${centre(index >> 2)}`).join(' '));
  const link = panel.querySelector('a');
  const word = item.textContent.toLowerCase();
  link.href = `https://${wiktionary}.wiktionary.org/w/index.php?search=${encodeURIComponent(word)}&go=Go`;
  link.textContent = `${word} \u2013 Wiktionary`;
  link.lang = language;
  link.hidden = false;
}

// A letter cube without its letter is still named for a screen reader: by
// its row and column.
function nameLetterCube(element, id, text) {
  const cell = id - FIRST_LETTER;
  if (text === '' && id >= FIRST_LETTER && id <= ids.IDC_LETTER_LAST) element.setAttribute('aria-label', `${(cell >> 2) + 1}-${(cell & 3) + 1}`);
  else element.removeAttribute('aria-label');
}

function setEnabled(element, enabled) {
  if (element.classList.contains('listbox')) {
    element.classList.toggle('disabled', !enabled);
    element.setAttribute('aria-disabled', String(!enabled));
  } else {
    element.disabled = !enabled;
  }
}

// A window's title bar: its id (the window's label), its text, the
// program's icon if asked, and the close button when onClose is given.
export function buildCaption(id, text, { icon = false, onClose = null } = {}) {
  const caption = document.createElement('div');
  caption.className = 'caption';
  caption.id = id;
  if (icon) {
    const image = document.createElement('img');
    image.src = 'icons/vrel-32.png';
    image.alt = '';
    caption.append(image);
  }
  const title = document.createElement('span');
  title.textContent = text;
  caption.append(title);
  if (onClose) {
    const close = document.createElement('button');
    close.type = 'button';
    close.className = 'close';
    close.tabIndex = -1;
    close.setAttribute('aria-label', closeLabel);
    close.textContent = '\u00d7';
    close.addEventListener('click', onClose);
    caption.append(close);
  }
  return caption;
}

// Builds the window of a template; the main window is a part of the page,
// the others are modal <dialog> elements.
function buildWindow(number, onClose) {
  const template = templates[number];
  const modal = number !== MAIN_WINDOW;
  const frame = document.createElement(modal ? 'dialog' : 'div');
  frame.className = modal ? 'window' : 'window main';
  frame.dataset.dialog = String(number);
  // The main window is a part of the page, in which a screen reader keeps
  // its reading mode.
  if (!modal) frame.setAttribute('role', 'document');
  const caption = buildCaption(`caption-${number}`, template.caption, {
    icon: true, onClose: template.style.includes('WS_SYSMENU') ? () => onClose(number) : null,
  });
  frame.setAttribute('aria-labelledby', caption.id);
  const client = document.createElement('div');
  client.className = 'client';
  client.style.setProperty('--w', `${template.size[0] * UNIT_X}px`);
  client.style.setProperty('--h', `${template.size[1] * UNIT_Y}px`);
  const keys = new Map();
  let labelId = null;
  let labelIds = [];  // the statics just before a control: its label
  let pendingMnemonic = null;
  for (const control of template.controls) {
    const isList = control.class === 'ListBox';
    const element = buildControl(number, control, isList && labelIds.length ? labelIds.join(' ') : labelId);
    const text = textOf(control);
    let key = null;
    if (element.classList.contains('groupbox')) {
      key = renderMnemonic(element.querySelector('.legend'), text);
      labelId = element.querySelector('.legend').id;
    } else if (element.tagName === 'BUTTON') {
      const label = document.createElement('span');
      key = renderMnemonic(label, text);
      element.append(label);
      nameLetterCube(element, control.id, text);
    } else if (element.classList.contains('static')) {
      element.id = `static-${number}-${control.id}-${control.rect.join('-')}`;
      renderMnemonic(element, text);
      labelId = element.id;
    }
    if (element.classList.contains('static')) labelIds.push(element.id);
    else labelIds = [];
    if (pendingMnemonic && !element.hidden && element.tagName !== 'DIV') {
      keys.set(pendingMnemonic, element);
      pendingMnemonic = null;
    }
    if (key) {
      if (element.tagName === 'BUTTON') keys.set(key, element);
      else pendingMnemonic = key;
    }
    client.append(element);
  }
  if (number === ids.IDD_RESULTS) {
    const body = document.createElement('div');
    body.className = 'body';
    body.append(client, buildTrace());
    frame.append(caption, body);
  } else {
    frame.append(caption, client);
  }
  mnemonics.set(number, keys);
  windows.set(number, frame);
  return frame;
}

export function buildWindows(desktop, onClose) {
  for (const number of Object.keys(templates).map(Number)) {
    const frame = buildWindow(number, onClose);
    if (number === MAIN_WINDOW) frame.hidden = true;
    desktop.append(frame);
  }
}

export function windowOf(number) { return windows.get(number); }

export function control(number, id) {
  return windows.get(number)?.querySelector(`.client > [data-id="${id}"]`) ?? null;
}

export function mnemonicTarget(number, key) { return mnemonics.get(number)?.get(key) ?? null; }

export function setControlText(number, id, text) {
  const element = control(number, id);
  if (!element) return;
  if (element.tagName === 'BUTTON') {
    const label = element.querySelector('span');
    renderMnemonic(label, text);
    nameLetterCube(element, id, text);
  } else if (element.tagName === 'INPUT') {
    element.value = text;
  } else {
    element.textContent = text;
  }
}

export function enableControl(number, id, enabled) {
  const element = control(number, id);
  if (element) setEnabled(element, enabled);
}

export function clearList(number, id) {
  const element = control(number, id);
  if (!element) return;
  element.querySelector('.items').textContent = '';
  element.removeAttribute('aria-activedescendant');
}

// Items keep their alphabetical order, as a sorted list box keeps them.
// path: the item's word's cells on the board, for the results' drawing.
export function addListItem(number, id, text, path = []) {
  const element = control(number, id);
  if (!element) return;
  const items = element.querySelector('.items');
  const item = document.createElement('div');
  item.className = 'item';
  item.setAttribute('role', 'option');
  item.setAttribute('aria-selected', 'false');
  item.id = `list-item-${++itemCount}`;
  item.textContent = text;
  if (path.length) item.dataset.path = path.join(' ');
  const after = [...items.children].find(other => collator.compare(other.textContent, text) > 0);
  items.insertBefore(item, after ?? null);
}

export function isOpen(number) {
  const frame = windows.get(number);
  return number === MAIN_WINDOW ? !frame.hidden : frame.open;
}

export function openWindow(number) {
  const frame = windows.get(number);
  if (number === MAIN_WINDOW) frame.hidden = false;
  else if (!frame.open) frame.showModal();
}

export function closeWindow(number) {
  const frame = windows.get(number);
  if (number === MAIN_WINDOW) frame.hidden = true;
  else if (frame.open) frame.close();
}

// A message box: caption, icon (the exclamation mark or the question mark
// of its type), text and its buttons; answers the button pressed through
// onAnswer.
export function buildMessageBox(text, caption, type, buttonTexts, onAnswer) {
  const box = document.createElement('dialog');
  box.className = 'window messagebox';
  box.setAttribute('role', 'alertdialog');
  const captionBar = buildCaption(`box-caption-${Date.now()}-${Math.random().toString(36).slice(2)}`, caption);
  const body = document.createElement('div');
  body.className = 'box-body';
  const icon = type & 0xF0;  // the icon's bits of the type
  const exclamation = icon === boxValues.kBoxIconExclamation;
  if (exclamation || icon === boxValues.kBoxIconQuestion) {
    const sign = document.createElement('span');
    sign.className = exclamation ? 'box-icon exclamation' : 'box-icon question';
    sign.setAttribute('aria-hidden', 'true');
    sign.textContent = exclamation ? '!' : '?';
    body.append(sign);
  }
  const message = document.createElement('p');
  message.className = 'box-text';
  message.id = `${captionBar.id}-text`;
  message.textContent = text;
  body.append(message);
  const buttons = document.createElement('div');
  buttons.className = 'box-buttons';
  const keys = new Map();
  for (const [label, answer] of buttonTexts) {
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'push';
    button.dataset.answer = String(answer);
    const span = document.createElement('span');
    const key = renderMnemonic(span, label);
    if (key) keys.set(key, button);
    button.append(span);
    button.addEventListener('click', () => onAnswer(answer));
    buttons.append(button);
  }
  box.setAttribute('aria-labelledby', captionBar.id);
  box.setAttribute('aria-describedby', message.id);
  box.append(captionBar, body, buttons);
  box.mnemonics = keys;
  return box;
}
