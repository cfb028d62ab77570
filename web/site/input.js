// Input: keys, clicks, taps and drags become the commands that the windows
// handle (control ids), as the program's dialogs receive them.
import * as dialogs from './dialogs.js';
import { ids } from './resources.js';

const MAIN_WINDOW = ids.IDD_GAME;
const FIRST_LETTER = ids.IDC_LETTER_FIRST;
const LAST_LETTER = ids.IDC_LETTER_LAST;

// handlers: command(id), wordEdit(text), endDialog(number, code),
// topWindow() -> { kind: 'main' | 'dialog' | 'box', number, element }.
export function wireInput(handlers) {
  const main = dialogs.windowOf(MAIN_WINDOW);
  main.addEventListener('click', event => {
    const button = event.target.closest('button[data-id]');
    if (!button || button.disabled || !main.contains(button)) return;
    const id = Number(button.dataset.id);
    if (id >= FIRST_LETTER && id <= LAST_LETTER && dragged) return;  // the drag added it
    handlers.command(id);
  });
  dialogs.control(MAIN_WINDOW, ids.IDC_WORD).addEventListener('input', event => {
    handlers.wordEdit(event.target.value);
  });
  for (const number of [ids.IDD_ABOUT, ids.IDD_SEARCH, ids.IDD_RESULTS]) {
    dialogs.windowOf(number).addEventListener('click', event => {
      const button = event.target.closest(`button[data-id="${ids.IDOK}"]`);
      if (button && !button.disabled) handlers.endDialog(number, ids.IDOK);
    });
  }
  for (const dialog of document.querySelectorAll('dialog')) {
    dialog.addEventListener('cancel', event => event.preventDefault());
  }
  let dragged = false;
  wireTracing(main, handlers, value => { dragged = value; });
  document.addEventListener('keydown', event => onKey(event, handlers));
}

// The letter a key stands for on the player's layout (the A of an AZERTY
// keyboard sends KeyQ); the key's place only when it gives no letter, as
// where Alt or Option turns it into a symbol.
function letterOf(event) {
  if (/^\p{L}$/u.test(event.key)) return event.key.toLowerCase();
  return /^Key[A-Z]$/.test(event.code) ? event.code.slice(3).toLowerCase() : null;
}

function press(element) {
  if (!element || element.disabled) return;
  if (element.tagName === 'BUTTON') element.click();
  else element.focus();
}

function onKey(event, handlers) {
  const top = handlers.topWindow();
  if (!top) return;
  if (top.kind === 'box') {
    const key = letterOf(event);
    if (event.key === 'Escape') {
      event.preventDefault();
      const only = top.element.querySelectorAll('button');
      if (only.length === 1) only[0].click();  // an OK box closes; a question waits
    } else if (event.key === 'Enter') {
      event.preventDefault();
      const focused = top.element.contains(document.activeElement) && document.activeElement.tagName === 'BUTTON'
        ? document.activeElement : top.element.querySelector('button');
      focused.click();
    } else if (key && !event.ctrlKey && top.element.mnemonics.has(key)) {
      event.preventDefault();
      top.element.mnemonics.get(key).click();
    }
    return;
  }
  if (event.altKey && !event.ctrlKey && !event.metaKey) {
    const key = letterOf(event);
    const target = key && dialogs.mnemonicTarget(top.number, key);
    if (target) {
      event.preventDefault();
      press(target);
    }
    return;
  }
  if (event.key === 'Enter') {
    if (document.activeElement?.tagName === 'BUTTON' && top.element.contains(document.activeElement)) return;
    event.preventDefault();
    const button = top.element.querySelector('.client > button.default');
    if (button && !button.disabled) button.click();
  } else if (event.key === 'Escape') {
    event.preventDefault();
    // Cancel: the main window ignores it; a dialog ends with IDCANCEL once it
    // takes input (the searching dialog when its search is over).
    if (top.kind === 'dialog') {
      const ok = top.element.querySelector(`.client > button[data-id="${ids.IDOK}"]`);
      if (ok && !ok.disabled) handlers.endDialog(top.number, ids.IDCANCEL);
    }
  }
}

// Tracing by touch or with a held button: the letters of the cells that
// the pointer crosses, each next to the one before and not used yet.
function wireTracing(main, handlers, setDragged) {
  let path = null;
  const cellAt = (x, y) => {
    const element = document.elementFromPoint(x, y)?.closest('button[data-id]');
    if (!element || !main.contains(element) || element.disabled) return null;
    const id = Number(element.dataset.id);
    if (id < FIRST_LETTER || id > LAST_LETTER) return null;
    // Only the middle of a cell counts, so that a diagonal can be drawn.
    const box = element.getBoundingClientRect();
    const dx = (x - (box.left + box.width / 2)) / box.width;
    const dy = (y - (box.top + box.height / 2)) / box.height;
    return dx * dx + dy * dy <= 0.16 ? id - FIRST_LETTER : null;
  };
  const touching = (a, b) => a !== b && Math.abs((a >> 2) - (b >> 2)) <= 1 && Math.abs((a & 3) - (b & 3)) <= 1;
  // The cells of the drag so far, lit and joined by a line.
  const line = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
  line.classList.add('drag-line');
  line.append(document.createElementNS('http://www.w3.org/2000/svg', 'polyline'));
  main.append(line);
  const show = () => {
    for (let cell = 0; cell < 16; cell++)
      dialogs.control(MAIN_WINDOW, FIRST_LETTER + cell).classList.toggle('traced', Boolean(path?.includes(cell)));
    const frame = main.getBoundingClientRect();
    const scale = frame.width / main.offsetWidth || 1;  // the window's zoom
    line.querySelector('polyline').setAttribute('points', (path ?? []).map(cell => {
      const box = dialogs.control(MAIN_WINDOW, FIRST_LETTER + cell).getBoundingClientRect();
      return `${(box.left + box.width / 2 - frame.left) / scale},${(box.top + box.height / 2 - frame.top) / scale}`;
    }).join(' '));
  };
  main.addEventListener('pointerdown', event => {
    const button = event.target.closest('button[data-id]');
    if (!button || button.disabled) return;
    const id = Number(button.dataset.id);
    if (id < FIRST_LETTER || id > LAST_LETTER) return;
    path = [id - FIRST_LETTER];
    setDragged(false);
    if (button.hasPointerCapture?.(event.pointerId)) button.releasePointerCapture(event.pointerId);
  });
  main.addEventListener('pointermove', event => {
    if (!path) return;
    const cell = cellAt(event.clientX, event.clientY);
    if (cell === null || path.includes(cell) || !touching(path[path.length - 1], cell)) return;
    if (path.length === 1) {
      setDragged(true);
      handlers.command(FIRST_LETTER + path[0]);
    }
    path.push(cell);
    show();
    handlers.command(FIRST_LETTER + cell);
  });
  const end = () => {
    path = null;
    show();
    // The click that ends a drag is not a tap.
    setTimeout(() => setDragged(false), 0);
  };
  main.addEventListener('pointerup', end);
  main.addEventListener('pointercancel', end);
}
