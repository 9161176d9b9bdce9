// The browser seat: the lobby, the game by the game's own keys, speech and room sounds, all from
// what the server sends over the page's own origin.
import { Connection } from './connection.js';
import { History } from './history.js';
import { showCharacters, showTables } from './lobby.js';
import { Sounds } from './sounds.js';
import { BROWSER_VOICE, SCREEN_READER, Speech } from './speech.js';
import { Validator } from './validator.js';

const $ = (id) => document.getElementById(id);

// The page stores its own settings and nothing else.
const settings = {
  key: 'veldrisa.ajustes',
  read() {
    try {
      return JSON.parse(localStorage.getItem(this.key)) ?? {};
    } catch {
      return {};
    }
  },
  get(name) {
    return this.read()[name];
  },
  set(name, value) {
    localStorage.setItem(this.key, JSON.stringify({ ...this.read(), [name]: value }));
  },
};

const speech = new Speech($('voz-inmediata'), $('voz-en-cola'), settings);
const sounds = new Sounds(settings);
const history = new History($('historial'));
let connection;
let screen = 'vestibulo';
let table = null;
let lastMessage = '';
let helpPending = false;
let cursor = -1;  // the row of the lobby's list that the arrows reached

const BROWSER_KEYS =
  'En el navegador también: A, ayuda. R, repetir el último mensaje. D, descripción de las cartas. ' +
  'Coma y punto, velocidad de la voz. V, voz siguiente. Menos y más, volumen de los sonidos. ' +
  'M, cambiar entre el lector de pantalla y la voz del navegador.';
const LOBBY_KEYS =
  'Flechas arriba y abajo: mesas. Enter: jugar en la mesa. E: mirarla como espectador. ' +
  'N: crear una mesa pública. L: actualizar la lista. F5: repetir. Re Pág y Av Pág: mensajes anteriores. ' +
  'F7 y F8: velocidad de la voz. F9 y F10: voz. Control: callar. F11 y F12: volumen de los sonidos.';
const TABLE_KEYS =
  'Flechas arriba y abajo: personajes. Espacio: jugar o no con el personaje. F2: cambiar su nombre. ' +
  'Enter: empezar la partida. Escape: dejar la mesa. F5: repetir. Control: callar.';

// As the game's Habla: heard, kept in the history, repeated by F5.
function speak(text, before = false, after = false) {
  if (text.length > 2) lastMessage = text;
  history.keep(text);
  speech.say(text, before, after);
}

// As the game's Dice: heard only, for the voice keys and the history's browsing.
function tell(text) {
  speech.say(text);
}

function showScreen(name) {
  screen = name;
  cursor = -1;
  $('vestibulo').hidden = name !== 'vestibulo';
  $('mesa').hidden = name !== 'mesa';
  $('juego').hidden = name !== 'juego';
  if (name === 'juego') $('teclado').focus();
}

function playerName() {
  const name = $('nombre').value.trim();
  if (name) return name;
  speak('Escriba su nombre primero');
  $('nombre').focus();
  return null;
}

function createTable(isPrivate, code, timeLimit) {
  const name = playerName();
  if (!name) return;
  const message = { type: 'create_table', name, private: isPrivate, time_limit: timeLimit };
  if (isPrivate) message.code = code;
  connection.send(message);
}

function join(id, asSpectator) {
  const name = playerName();
  if (!name) return;
  const message = { type: 'join', table: id, as: asSpectator ? 'spectator' : 'player', name };
  const code = $('codigo-unirse').value.trim();
  if (code) message.code = code;
  connection.send(message);
}

function leave() {
  connection.send({ type: 'leave' });
  connection.seated = false;
  connection.seen = 0;
  table = null;
  $('registro').textContent = '';
  showScreen('vestibulo');
  speak('Ha dejado la mesa');
  connection.send({ type: 'list_tables' });
}

// Back on a connection with no seat to take again: a spectator watches the same table again,
// a player whose place was not kept (away past the wait) finds the lobby.
function comeBackWithoutSeat() {
  const watched = table.spectator ? table.id : null;
  table = null;
  showScreen('vestibulo');
  if (watched) join(watched, true);
  else connection.send({ type: 'list_tables' });
}

const handlers = {
  welcome() {
    if (table && !connection.seated) comeBackWithoutSeat();
    else if (screen === 'vestibulo') connection.send({ type: 'list_tables' });
  },
  tables(m) {
    showTables($('mesas-filas'), m.tables, { join });
    $('sin-mesas').hidden = m.tables.length > 0;
  },
  table(m) {
    table = m;
    connection.seated = !m.spectator;
    $('titulo-mesa').textContent = `Mesa ${m.id}`;
    $('mesa-info').textContent = m.spectator ? 'Mira la mesa como espectador.' : 'Elija sus personajes.';
    $('empezar').hidden = !m.creator || m.spectator;
    // The rows are made anew: the focus goes back to the control that had it.
    const focused = document.activeElement?.id;
    showCharacters($('personajes-filas'), m, {
      toggle: (character, take) => connection.send({ type: take ? 'claim' : 'release', character }),
      rename: (character, name) => {
        if (name.trim()) connection.send({ type: 'rename', character, name: name.trim() });
        else speak('Escriba un nombre');
      },
    });
    const wanted = m.started ? 'juego' : 'mesa';
    if (screen !== wanted) showScreen(wanted);
    else if (focused && $(focused)) $(focused).focus();
    if (m.event) speak(m.event);
  },
  say(m) {
    let text = m.text;
    if (helpPending) {
      helpPending = false;
      text = `${text} ${BROWSER_KEYS}`;
    }
    speak(text, m.before, m.after);
  },
  sound(m) {
    if (m.op === 'play') sounds.play(m.player);
    else if (m.op === 'stop') sounds.stop(m.player);
  },
  log(m) {
    $('registro').textContent = m.text;
  },
  beep() {
    sounds.beep();
  },
  // Whose turn it is is also said in words, which is what this page goes by.
  turn() {},
  history(m) {
    for (const text of m.messages) history.keep(text);
    const log = m.missed?.findLast((missed) => missed.type === 'log');
    if (log) $('registro').textContent = log.text;
    if (screen !== 'juego') showScreen('juego');
    speak(m.summary);
  },
  error(m) {
    helpPending = false;
    speak(m.text);
    // The seat is gone (its token expired): a new conversation, without it.
    if (m.reason !== 'token') return;
    connection.seated = false;
    connection.send(connection.hello());
  },
  goodbye(m) {
    speak(m.text);
  },
};

// ---- keys ----

const isField = (target) => target instanceof HTMLInputElement && target.type !== 'checkbox' ||
  target instanceof HTMLSelectElement || target instanceof HTMLTextAreaElement;
const isButton = (target) => target instanceof HTMLButtonElement;

// Keys that work everywhere, as the game's common keys; true when the key was one of them.
function commonKey(e, field) {
  const letter = field ? '' : e.key.toLowerCase();
  const fine = e.shiftKey || e.ctrlKey || e.altKey;
  if (e.key === 'F5' || letter === 'r') speak(lastMessage);
  else if (e.key === 'F7' || letter === ',') voiceAnswer(speech.changeRate(-1, fine));
  else if (e.key === 'F8' || letter === '.') voiceAnswer(speech.changeRate(+1, fine));
  else if (e.key === 'F9') voiceAnswer(speech.changeVoice(-1));
  else if (e.key === 'F10' || letter === 'v') voiceAnswer(speech.changeVoice(+1));
  else if (e.key === 'F11' || letter === '-') tell(sounds.change(-1));
  else if (e.key === 'F12' || letter === '+') tell(sounds.change(+1));
  else if (letter === 'm') switchMode();
  else if (field) return false;
  else if (e.key === 'PageUp') tell(history.previous());
  else if (e.key === 'PageDown') tell(history.next());
  else if (e.key === 'Home') tell(history.first());
  else if (e.key === 'End') tell(history.newest());
  else return false;
  return true;
}

function voiceAnswer(answer) {
  if (answer === null) tell('La velocidad y la voz son las de su lector de pantalla');
  else speak(answer);
}

function switchMode() {
  const mode = speech.mode === BROWSER_VOICE ? SCREEN_READER : BROWSER_VOICE;
  speech.setMode(mode);
  document.querySelector(`input[name="modo"][value="${mode}"]`).checked = true;
  tell(mode === BROWSER_VOICE ? 'Voz del navegador' : 'Lector de pantalla');
}

const GAME_KEYS = { ' ': 'SPACE', F1: 'F1', F2: 'F2', F6: 'F6', c: 'C', p: 'P', h: 'H', a: 'F1', d: 'F6' };

function gameKey(e) {
  const key = /^[0-9]$/.test(e.key) ? e.key : GAME_KEYS[e.key.length === 1 ? e.key.toLowerCase() : e.key];
  if (e.key === 'Escape') return leave(), true;
  if (!key) return false;
  if (key === 'F1') helpPending = true;
  const message = { type: 'key', key };
  if (e.ctrlKey && /^[0-9]$/.test(key)) message.control = true;
  connection.send(message);
  return true;
}

// The rows of the list on show: arrows move the cursor from one to the next and say it; the
// cursor's row takes the focus where it has something to focus.
function rows() {
  return [...document.querySelectorAll(screen === 'mesa' ? '#personajes-filas tr' : '#mesas-filas tr')];
}

function moveInList(direction) {
  const list = rows();
  if (list.length === 0) return tell(screen === 'mesa' ? 'Sin personajes' : 'No hay mesas abiertas');
  cursor = Math.min(list.length - 1, Math.max(0, cursor + direction));
  const row = list[cursor];
  const target = row.querySelector('.entrada:not(:disabled), button:not(:disabled)');
  if (target) target.focus();
  else document.activeElement?.blur();
  tell(row.dataset.description);
}

function currentCharacter() {
  return screen === 'mesa' && cursor >= 0 ? cursor + 1 : 0;
}

function lobbyKey(e) {
  const letter = e.key.toLowerCase();
  if (e.key === 'ArrowDown' || e.key === 'ArrowUp') return moveInList(e.key === 'ArrowDown' ? 1 : -1), true;
  if (e.key === 'F1' || letter === 'a') return tell(screen === 'mesa' ? TABLE_KEYS : LOBBY_KEYS), true;
  if (screen === 'vestibulo') {
    if (letter === 'n') return createTable(false, '', 0), true;
    if (letter === 'l') return connection.send({ type: 'list_tables' }), true;
    const row = rows()[cursor];
    if (letter === 'e' && row) return row.querySelectorAll('button')[1].click(), true;
    return false;
  }
  if (e.key === 'Escape') return leave(), true;
  if (e.key === 'Enter' && !isButton(e.target)) return connection.send({ type: 'start' }), true;
  if (e.key === 'F2' && currentCharacter()) {
    const field = $(`nombre-${currentCharacter()}`);
    tell(`Escriba el nombre del personaje y pulse enter: ${field.value}`);
    if (!field.disabled) field.focus();
    return true;
  }
  return false;
}

function onKey(e) {
  sounds.wake();
  if (e.key === 'Control') {
    speech.silence();
    history.keep('');
    return;
  }
  const field = isField(e.target);
  if (commonKey(e, field)) {
    e.preventDefault();
    return;
  }
  // Inside a field or on a button, the form's own keys do what they always do.
  if (field && !/^F\d+$/.test(e.key) && e.key !== 'Escape') return;
  if (isButton(e.target) && (e.key === ' ' || e.key === 'Enter')) return;
  const handled = screen === 'juego' ? gameKey(e) : lobbyKey(e);
  if (handled || /^F\d+$/.test(e.key)) e.preventDefault();
}

// ---- the form ----

function wireForm() {
  const mode = speech.mode;
  document.querySelector(`input[name="modo"][value="${mode}"]`).checked = true;
  for (const radio of document.querySelectorAll('input[name="modo"]')) {
    radio.addEventListener('change', () => speech.setMode(radio.value));
  }
  $('privada').addEventListener('change', () => {
    $('codigo').required = $('privada').checked;
  });
  $('form-crear').addEventListener('submit', (event) => {
    event.preventDefault();
    createTable($('privada').checked, $('codigo').value.trim(), Number($('tiempo').value));
  });
  $('actualizar').addEventListener('click', () => connection.send({ type: 'list_tables' }));
  $('empezar').addEventListener('click', () => connection.send({ type: 'start' }));
  $('salir').addEventListener('click', leave);
  $('dejar').addEventListener('click', leave);
  document.addEventListener('keydown', onKey);
  document.addEventListener('pointerdown', () => sounds.wake());
}

async function start() {
  wireForm();
  let validator;
  try {
    const response = await fetch('protocol.schema.json');
    validator = new Validator(await response.json());
  } catch (error) {
    console.error(error);
    $('estado').textContent = 'No se puede leer el protocolo del servidor.';
    return;
  }
  connection = new Connection(validator, {
    message: (m) => {
      $('estado').textContent = 'Conectado.';
      handlers[m.type](m);
    },
    lost: () => {
      $('estado').textContent = 'Conexión perdida, reintentando';
      speak('Conexión perdida, reintentando');
    },
    unreachable: () => {
      $('estado').textContent = 'No se puede conectar con el servidor.';
      speak('No se puede conectar con el servidor. Vuelva a cargar la página para intentarlo de nuevo.');
    },
  });
  connection.open();
}

start();
