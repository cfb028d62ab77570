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
let dialogTexts = {};
const windows = new Map();  // template number -> window element
const mnemonics = new Map();  // template number -> Map(letter -> control)

export function setLanguage(code, texts) {
  collator = new Intl.Collator(code);
  dialogTexts = texts;
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

function place(element, [x, y, w, h]) {
  element.style.left = `${x * UNIT_X}px`;
  element.style.top = `${y * UNIT_Y}px`;
  element.style.width = `${w * UNIT_X}px`;
  element.style.height = `${h * UNIT_Y}px`;
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
    if (labelId) element.setAttribute('aria-labelledby', labelId);
  } else if (has('SS_ICON')) {
    element = document.createElement('img');
    element.className = 'icon';
    element.src = 'icons/about-32.png';
    element.alt = '';
  } else {
    element = document.createElement('div');
    element.className = 'static';
  }
  element.dataset.id = String(control.id);
  place(element, control.rect);
  if (has('NOT WS_VISIBLE')) element.hidden = true;
  if (has('WS_DISABLED')) setEnabled(element, false);
  return element;
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

// Builds the window of a template; the main window is a part of the page,
// the others are modal <dialog> elements.
function buildWindow(number, onClose) {
  const template = templates[number];
  const modal = number !== MAIN_WINDOW;
  const frame = document.createElement(modal ? 'dialog' : 'div');
  frame.className = modal ? 'window' : 'window main';
  frame.dataset.dialog = String(number);
  if (!modal) frame.setAttribute('role', 'application');
  const caption = document.createElement('div');
  caption.className = 'caption';
  caption.id = `caption-${number}`;
  const icon = document.createElement('img');
  icon.src = 'icons/vrel-32.png';
  icon.alt = '';
  const title = document.createElement('span');
  title.textContent = template.caption;
  caption.append(icon, title);
  if (template.style.includes('WS_SYSMENU')) {
    const close = document.createElement('button');
    close.type = 'button';
    close.className = 'close';
    close.tabIndex = -1;
    close.setAttribute('aria-label', 'Close');
    close.textContent = '\u00d7';
    close.addEventListener('click', () => onClose(number));
    caption.append(close);
  }
  frame.setAttribute('aria-labelledby', caption.id);
  const client = document.createElement('div');
  client.className = 'client';
  client.style.width = `${template.size[0] * UNIT_X}px`;
  client.style.height = `${template.size[1] * UNIT_Y}px`;
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
  frame.append(caption, client);
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
  if (element) element.querySelector('.items').textContent = '';
}

// Items keep their alphabetical order, as a sorted list box keeps them.
export function addListItem(number, id, text) {
  const element = control(number, id);
  if (!element) return;
  const items = element.querySelector('.items');
  const item = document.createElement('div');
  item.className = 'item';
  item.setAttribute('role', 'option');
  item.setAttribute('aria-selected', 'false');
  item.textContent = text;
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
  const captionBar = document.createElement('div');
  captionBar.className = 'caption';
  captionBar.id = `box-caption-${Date.now()}-${Math.random().toString(36).slice(2)}`;
  const title = document.createElement('span');
  title.textContent = caption;
  captionBar.append(title);
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
