// The page of the emulated recorder: shows the frames and state the recorder
// streams, and sends the keys of the drawn remote and of the PC keyboard.
'use strict';

// The remote's keys: name (as the recorder names them), code, and how the
// button looks.
const KEYS = {
  'Mute': 0x1000C, 'UHF': 0x1000E, 'TvSat': 0x10022, 'M': 0x10050, 'Sleep': 0x10010,
  '1': 0x10001, '2': 0x10002, '3': 0x10003, '4': 0x10004, '5': 0x10005,
  '6': 0x10006, '7': 0x10007, '8': 0x10008, '9': 0x10009, '0': 0x10000,
  'Recall': 0x1000B, 'Info': 0x10014, 'Right Arrow': 0x10015, 'Left Arrow': 0x1000F,
  'Up Arrow': 0x10012, 'Down Arrow': 0x1001D, 'Ok': 0x1001E, 'Menu': 0x1001C, 'Guide': 0x10016,
  'TV/Radio': 0x10018, 'Audio Track': 0x10013, 'Subtitle': 0x10021, 'Teletext': 0x10037,
  'Exit': 0x10017, 'Fav': 0x10020, 'Fast Forward': 0x1003A, 'Rewind': 0x10038, 'Play': 0x10039,
  'Pause': 0x1001A, 'Record': 0x1003D, 'Stop': 0x1003C, 'Slow Motion': 0x1003B,
  'Previous': 0x10041, 'File List': 0x10042, 'Next': 0x10043,
  'Red': 0x1003F, 'Green': 0x10024, 'Yellow': 0x10025, 'Blue': 0x10026, 'Sat': 0x10040,
  'Option (White)': 0x10049, 'Ab (White)': 0x1003E,
};

// Layout, top to bottom: rows of [name, visible text, css classes].
const LAYOUT = [
  [['Mute', 'Mute', 'small'], ['Sleep', 'Sleep', 'small'], ['UHF', 'UHF', 'small'],
   ['TvSat', 'TvSat', 'small']],
  [['M', 'M', ''], ['TV/Radio', 'TV/Radio', ''], ['Sat', 'Sat', '']],
  'gap',
  [['1', '1', 'digit'], ['2', '2', 'digit'], ['3', '3', 'digit']],
  [['4', '4', 'digit'], ['5', '5', 'digit'], ['6', '6', 'digit']],
  [['7', '7', 'digit'], ['8', '8', 'digit'], ['9', '9', 'digit']],
  [['Recall', 'Recall', ''], ['0', '0', 'digit'], ['Fav', 'Fav', '']],
  'dpad',
  [['Audio Track', 'Audio Track', 'small'], ['Subtitle', 'Subtitle', 'small'],
   ['Teletext', 'Teletext', 'small']],
  [['Red', '', 'colour red'], ['Green', '', 'colour green'], ['Yellow', '', 'colour yellow'],
   ['Blue', '', 'colour blue']],
  'gap',
  [['Rewind', '◀◀', 'icon'], ['Play', '▶', 'icon'], ['Pause', '❚❚', 'icon'],
   ['Fast Forward', '▶▶', 'icon']],
  [['Previous', '|◀◀', 'icon'], ['Stop', '■', 'icon'], ['Record', '●', 'record'],
   ['Next', '▶▶|', 'icon']],
  [['Slow Motion', 'Slow Motion', ''], ['File List', 'File List', '']],
  [['Option (White)', 'Option', 'white'], ['Ab (White)', 'Ab', 'white']],
];
const DPAD = [
  ['Up Arrow', '▲', 'up'], ['Down Arrow', '▼', 'down'], ['Left Arrow', '◀', 'left'],
  ['Right Arrow', '▶', 'right'], ['Ok', 'OK', 'ok'], ['Menu', 'Menu', 'corner menu'],
  ['Guide', 'Guide', 'corner guide'], ['Info', 'Info', 'corner info'],
  ['Exit', 'Exit', 'corner exit'],
];
// Captions under symbol-only buttons, so that every key shows its name.
const CAPTIONED = new Set(['Rewind', 'Play', 'Pause', 'Fast Forward', 'Previous', 'Stop',
  'Record', 'Next', 'Red', 'Green', 'Yellow', 'Blue']);

// PC keyboard: KeyboardEvent.key (or code) → remote key, with what the page shows.
const KEYBOARD = [
  ['ArrowUp', 'Up Arrow', '↑'], ['ArrowDown', 'Down Arrow', '↓'],
  ['ArrowLeft', 'Left Arrow', '←'], ['ArrowRight', 'Right Arrow', '→'],
  ['Enter', 'Ok', 'Enter'], ['Escape', 'Exit', 'Esc'],
  ['PageUp', 'Rewind', 'PgUp'], ['PageDown', 'Fast Forward', 'PgDn'],
  ['Home', 'Previous', 'Home'], ['End', 'Next', 'End'],
  ['F1', 'Red', 'F1'], ['F2', 'Green', 'F2'], ['F3', 'Yellow', 'F3'], ['F4', 'Blue', 'F4'],
  ['F5', 'Option (White)', 'F5'], ['F6', 'Ab (White)', 'F6'],
  ['f', 'File List', 'F'], ['m', 'Menu', 'M'], ['i', 'Info', 'I'], ['g', 'Guide', 'G'],
  ['p', 'Play', 'P'], [' ', 'Pause', 'Space'], ['s', 'Stop', 'S'], ['r', 'Record', 'R'],
  ['a', 'Audio Track', 'A'], ['Backspace', 'Recall', 'Backspace'], ['t', 'Teletext', 'T'],
  ['z', 'Sleep', 'Z', 'Sleep (status screen)'],
  ['0', '0', '0'], ['1', '1', '1 … 9'],
];
for (let d = 2; d <= 9; d++) KEYBOARD.push([String(d), String(d), null]);

const buttons = new Map();  // name → button

// --- sending keys ---------------------------------------------------------------
// Requests go one after another, so that a release never overtakes its press.
let chain = Promise.resolve();
function post(url) {
  chain = chain.then(() => fetch(url, {method: 'POST'})).catch(() => {});
  return chain;
}
let downKey = null;  // name of the key that is down (one at a time, like a remote)
function keyDown(name) {
  if (downKey === name) return;
  if (downKey) keyUp(downKey);
  downKey = name;
  buttons.get(name)?.classList.add('pressed');
  post(`/key?action=down&code=0x${KEYS[name].toString(16)}`);
}
function keyUp(name) {
  if (downKey !== name) return;
  downKey = null;
  buttons.get(name)?.classList.remove('pressed');
  post(`/key?action=up&code=0x${KEYS[name].toString(16)}`);
}

// --- the remote ---------------------------------------------------------------------
function makeButton(name, text, classes) {
  const b = document.createElement('button');
  b.type = 'button';
  b.className = classes;
  b.dataset.key = name;
  b.setAttribute('aria-label', name);
  b.title = name;
  b.textContent = text;
  if (CAPTIONED.has(name) || text === '') {
    const c = document.createElement('span');
    c.className = 'caption';
    c.textContent = name;
    b.appendChild(c);
  }
  b.addEventListener('pointerdown', (e) => {
    e.preventDefault();
    b.setPointerCapture(e.pointerId);
    keyDown(name);
  });
  const up = () => keyUp(name);
  b.addEventListener('pointerup', up);
  b.addEventListener('pointercancel', up);
  b.addEventListener('lostpointercapture', up);
  b.addEventListener('contextmenu', (e) => e.preventDefault());
  buttons.set(name, b);
  return b;
}

function buildRemote() {
  const remote = document.getElementById('remote');
  const brand = document.createElement('div');
  brand.className = 'brand';
  brand.textContent = 'TMS';
  remote.appendChild(brand);
  for (const row of LAYOUT) {
    if (row === 'gap') {
      const g = document.createElement('div');
      g.className = 'gap';
      remote.appendChild(g);
      continue;
    }
    if (row === 'dpad') {
      const pad = document.createElement('div');
      pad.className = 'dpad';
      for (const [name, text, cls] of DPAD) pad.appendChild(makeButton(name, text, cls));
      remote.appendChild(pad);
      continue;
    }
    const r = document.createElement('div');
    r.className = 'row';
    for (const [name, text, cls] of row) r.appendChild(makeButton(name, text, cls));
    remote.appendChild(r);
  }
}

function buildKeymap() {
  const table = document.getElementById('keymap');
  const shown = KEYBOARD.filter((k) => k[2] !== null);
  const half = Math.ceil(shown.length / 2);
  for (let i = 0; i < half; i++) {
    const tr = document.createElement('tr');
    for (const k of [shown[i], shown[i + half]]) {
      const td1 = document.createElement('td');
      const td2 = document.createElement('td');
      if (k) {
        const kbd = document.createElement('kbd');
        kbd.textContent = k[2];
        td1.appendChild(kbd);
        td2.textContent = k[3] || (k[1] === '1' ? '1 … 9' : k[1]);
      }
      tr.append(td1, td2);
    }
    table.appendChild(tr);
  }
}

// Direct mode: while the remote-control application passes a keyboard's
// characters on as they are (the recorder reports it in its state, e.g. while
// the on-screen keyboard shows), printable characters go to the recorder as
// key code 0xEE000000 plus the character, Backspace and Enter as the codes 0x08
// and 0x0D; Escape, the arrows and the function keys keep their remote keys.
// Letters beyond ASCII go in the keyboard's code page (437), as an attached
// keyboard sends them: its accented letters at 0x80 to 0xA7, the sharp s at
// 0xE1. Anything else it cannot send is left alone.
const DIRECT_CODES = {'Backspace': 0x08, 'Enter': 0x0D};
const CP437_LETTERS = 'ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº';
function directCode(e) {
  if (!window.pvrState || !window.pvrState.directMode) return null;
  if (e.ctrlKey || e.altKey || e.metaKey) return null;
  if (e.key in DIRECT_CODES) return DIRECT_CODES[e.key];
  if (e.key.length !== 1) return null;
  const c = e.key.charCodeAt(0);
  if (c >= 0x20 && c <= 0x7E) return c;
  if (e.key === 'ß') return 0xE1;
  const at = CP437_LETTERS.indexOf(e.key);
  return at >= 0 ? 0x80 + at : null;
}
function typeDirect(code) {
  post(`/key?action=press&code=0x${(0xEE000000 + code).toString(16)}`);
}

function keyboardName(e) {
  if (e.ctrlKey || e.altKey || e.metaKey) return null;
  const key = e.key.length === 1 ? e.key.toLowerCase() : e.key;
  const hit = KEYBOARD.find((k) => k[0] === key);
  return hit ? hit[1] : null;
}
document.addEventListener('keydown', (e) => {
  if (e.target instanceof HTMLSelectElement) return;
  const direct = directCode(e);
  if (direct !== null) {
    e.preventDefault();
    typeDirect(direct);
    return;
  }
  const name = keyboardName(e);
  if (!name) return;
  e.preventDefault();
  if (!e.repeat) keyDown(name);
});
document.addEventListener('keyup', (e) => {
  if (directCode(e) !== null && !downKey) return;
  const name = keyboardName(e);
  if (!name) return;
  e.preventDefault();
  keyUp(name);
});
window.addEventListener('blur', () => { if (downKey) keyUp(downKey); });

// --- what the recorder streams ---------------------------------------------------
const screen = document.getElementById('screen');
let frames = 0;
function showState(s) {
  document.getElementById('clock').textContent = s.clock;
  document.getElementById('clock-toggle').textContent = s.clockRunning ? 'pause' : 'run';
  const mode = document.getElementById('mode');
  const playback = document.getElementById('playback');
  if (s.playback) {
    mode.textContent = s.playback.paused ? 'Playback (paused)' : 'Playback';
    playback.innerHTML = '';
    const name = document.createElement('div');
    name.textContent = s.playback.name;
    const pos = document.createElement('div');
    pos.textContent = `${s.playback.position} of ${s.playback.length} ` +
        `(block ${s.playback.block} of ${s.playback.blocks}, ${s.playback.percent} %)`;
    const bar = document.createElement('div');
    bar.className = 'bar';
    const fill = document.createElement('div');
    fill.style.width = `${s.playback.percent}%`;
    bar.appendChild(fill);
    playback.append(name, pos, bar);
  } else {
    mode.textContent = s.channel ? `Normal viewing: ${s.channel.number} ${s.channel.name}` :
        'Normal viewing';
    playback.textContent = 'none';
  }
  document.getElementById('osd').textContent =
      s.osd ? 'the application holds the screen' : 'live picture (no application window)';
  const slots = document.getElementById('slots');
  slots.innerHTML = '';
  if (!s.slots.length) slots.textContent = 'none recording';
  for (const r of s.slots) {
    const d = document.createElement('div');
    d.className = 'rec';
    d.textContent = `● ${r.slot}: ${r.name} – ${r.recorded} of ${r.length}`;
    slots.appendChild(d);
  }
  document.getElementById('fwstate').textContent =
      `${s.firmwareState}, ${s.apps} application(s) running, ${s.frames} syncs`;
  const apps = document.getElementById('apps');
  apps.innerHTML = '';
  if (!s.running || !s.running.length) apps.textContent = 'none';
  for (const a of s.running || []) {
    const d = document.createElement('div');
    d.textContent = `${a.slot}: ${a.name || a.file} (${a.id})`;
    d.title = a.file;
    apps.appendChild(d);
  }
  document.getElementById('direct-state').textContent = s.directMode ? 'on' : 'off';
  window.pvrState = s;
}

const consoleBox = document.getElementById('console');
function appendConsole(text) {
  const atEnd = consoleBox.scrollTop + consoleBox.clientHeight >= consoleBox.scrollHeight - 4;
  consoleBox.textContent += text.replace(/\r/g, '');
  if (consoleBox.textContent.length > 200000) {
    consoleBox.textContent = consoleBox.textContent.slice(-150000);
  }
  if (atEnd) consoleBox.scrollTop = consoleBox.scrollHeight;
}

function connect() {
  const status = document.getElementById('connection');
  const events = new EventSource('/events');
  events.onopen = () => {
    // A new stream repeats the output kept so far.
    consoleBox.textContent = '';
    status.textContent = 'live';
    status.className = '';
  };
  events.onerror = () => {
    status.textContent = 'disconnected – is the recorder running?';
    status.className = 'offline';
  };
  events.addEventListener('frame', (e) => {
    screen.src = 'data:image/png;base64,' + e.data;
    frames++;
    screen.dataset.frames = String(frames);
    document.getElementById('frameinfo').textContent = `${frames} frames shown`;
  });
  events.addEventListener('state', (e) => showState(JSON.parse(e.data)));
  events.addEventListener('console', (e) => appendConsole(JSON.parse(e.data)));
}

document.getElementById('zoom').addEventListener('change', (e) => {
  const v = e.target.value;
  document.body.classList.toggle('fit', v === 'fit');
  if (v === 'fit') {
    screen.style.width = '';
    screen.style.height = '';
  } else {
    screen.style.width = `${720 * Number(v)}px`;
    screen.style.height = `${576 * Number(v)}px`;
  }
});
document.getElementById('clock-toggle').addEventListener('click', () => {
  const running = window.pvrState ? window.pvrState.clockRunning : true;
  post(`/clock?action=${running ? 'pause' : 'run'}`);
});
document.getElementById('clock-step').addEventListener('click', () => post('/clock?action=step'));

buildRemote();
buildKeymap();
connect();
