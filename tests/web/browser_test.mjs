// The browser seat in Debian's Chromium: a page joins a table beside two veldrisa-bot players
// and plays a whole game to its end by keys, through a server restart; what it would
// have said is read from its live regions and from a stand-in for speechSynthesis; privacy,
// accessibility (axe-core), what it sends and stores, and screenshots of the lobby and the game.
//     node browser_test.mjs SERVER BOT NODE_MODULES OUT_DIR
import { spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import net from 'node:net';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const [server, bot, modules, outDir] = process.argv.slice(2);
const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.join(here, '..', '..');
const require = createRequire(path.resolve(modules, 'node_modules', 'index.js'));
const { chromium } = require('playwright-core');
const axeSource = readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const { Validator } = await import(pathToFileURL(path.join(root, 'web', 'js', 'validator.js')).href);
const validator = new Validator(JSON.parse(readFileSync(path.join(root, 'docs', 'protocol.schema.json'), 'utf8')));

const started = Date.now();
let passed = 0;
let failed = 0;
function check(what, ok, detail = '') {
  console.log(`${ok ? 'ok' : 'FAIL'}: ${what}${ok || !detail ? '' : ` (${detail})`}`);
  if (ok) passed += 1;
  else failed += 1;
}
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function freePort() {
  return new Promise((resolve) => {
    const s = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = s.address();
      s.close(() => resolve(port));
    });
  });
}

function startServer(port, data) {
  const proc = spawn(server, ['--port', String(port), '--data', data], { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    proc.stdout.once('data', (chunk) => (String(chunk).includes('escuchando') ? resolve(proc) : reject(chunk)));
    proc.once('exit', (code) => reject(new Error(`the server ended: ${code}`)));
  });
}

// Before the page loads: a recording speechSynthesis, and every change of the live regions.
function recorder() {
  window.heard = { regions: [], voice: [], cancels: 0, logs: [] };
  const voices = [{ name: 'Prueba en inglés', lang: 'en-US' }, { name: 'Prueba española', lang: 'es-ES' }];
  const synth = {
    speaking: false,
    pending: false,
    getVoices: () => voices,
    speak: (u) => window.heard.voice.push({ text: u.text, rate: u.rate, voice: u.voice?.name, lang: u.lang }),
    cancel: () => {
      window.heard.cancels += 1;
    },
    addEventListener() {},
    removeEventListener() {},
  };
  Object.defineProperty(window, 'speechSynthesis', { value: synth, configurable: true });
  window.SpeechSynthesisUtterance = class {
    constructor(text) {
      this.text = text;
    }
  };
  new MutationObserver((changes) => {
    for (const c of changes) {
      const region = c.target.nodeType === 1 ? c.target : c.target.parentElement;
      const log = region?.closest('#registro');
      if (log) window.heard.logs.push(log.textContent);
      const live = region?.closest('[aria-live]');
      if (!live) continue;
      for (const node of c.addedNodes) {
        const text = node.textContent.replace(/\u00a0$/, '');
        if (text) window.heard.regions.push(text);
      }
    }
  }).observe(document, { childList: true, subtree: true, characterData: true });
}

async function axe(page, where) {
  await page.evaluate(axeSource);
  const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ['violations'] }));
  const found = result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  check(`axe-core finds no violation on ${where}`, found.length === 0, found.join('; '));
}

const heardAll = (page) => page.evaluate(() => [...window.heard.regions, ...window.heard.voice.map((v) => v.text)]);

// Plays by keys until the game ends: the page's own prompts get 1, the moves on get Space.
async function playUntil(page, done, limitMs) {
  const end = Date.now() + limitMs;
  let seen = 0;
  let quietSince = Date.now();
  while (Date.now() < end) {
    const all = await heardAll(page);
    if (all.length !== seen) {
      seen = all.length;
      quietSince = Date.now();
      if (done(all)) return true;
    }
    await sleep(40);
    if (Date.now() - quietSince < 120 || seen === 0) continue;
    // The last thing the game asked for decides; the lobby's news and the voice keys' answers do not.
    const last = all.findLast((t) => /es su turno de jugar|Indique con qué heredero|Pulse espacio|Turno de /.test(t));
    if (!last || last.startsWith('Turno de ')) continue;
    await page.keyboard.press(last.includes('Pulse espacio') ? 'Space' : '1');
    quietSince = Date.now() + 1000;  // the answer comes; a second press only after a long silence
  }
  return false;
}

async function main() {
  const data = mkdtempSync(path.join(tmpdir(), 'veldrisa-web-'));
  const port = await freePort();
  let proc = await startServer(port, data);
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
  let bots;
  try {
    const context = await browser.newContext({ ignoreHTTPSErrors: true, viewport: { width: 1000, height: 900 } });
    await context.addInitScript(recorder);
    const page = await context.newPage();
    const problems = [];
    page.on('console', (m) => m.type() === 'error' && problems.push(m.text()));
    page.on('pageerror', (e) => problems.push(String(e)));
    const sent = [];
    page.on('websocket', (ws) => ws.on('framesent', (f) => sent.push(f.payload)));

    const response = await page.goto(`https://127.0.0.1:${port}/`);
    check('the page is served with a strict policy',
      response.headers()['content-security-policy']?.includes("default-src 'none'"));
    await page.waitForFunction(() => document.getElementById('estado').textContent === 'Conectado.');
    await axe(page, 'the lobby');
    const decoded = await page.evaluate(async () => {
      const { decodeSound } = await import('/js/sounds.js');
      const names = ['fuego.wav', 'Vaso rompiéndose.mp3', 'Pasar páginas.mp3', 'Ronquido.mp3'];
      const context = new OfflineAudioContext(1, 1, 44100);
      const lengths = [];
      for (const name of names) {
        const bytes = await (await fetch(`sonidos/${encodeURIComponent(name)}`)).arrayBuffer();
        lengths.push(await decodeSound(context, bytes).then((b) => b.duration, (e) => String(e)));
      }
      return lengths;
    });
    check('the four room sounds are served and the browser decodes them', decoded.every((d) => d > 0.2),
      decoded.join(', '));
    await page.fill('#nombre', 'Ana');
    await page.evaluate(() => document.activeElement.blur());
    await page.keyboard.press('n');
    await page.waitForSelector('#mesa:not([hidden])');
    const table = (await page.textContent('#titulo-mesa')).replace('Mesa ', '');
    check('N creates a table and the lobby says so', (await heardAll(page)).includes('Mesa creada'));

    bots = [5, 8].map((c) => spawn(bot,
      ['--server', `127.0.0.1:${port}`, '--join', table, '--prefer', String(c), '--name', `Bot${c}`,
        '--record', path.join(data, `bot${c}.jsonl`)], { stdio: ['ignore', 'ignore', 'inherit'] }));
    await page.waitForFunction(() => document.querySelectorAll('#personajes-filas input:disabled[type=checkbox]').length >= 2);
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Space');
    await page.waitForFunction(() => window.heard.regions.some((t) => t.startsWith('Ana juega con')));
    const lobbyHeard = await heardAll(page);
    check('the arrows say each character', lobbyHeard.some((t) => t.endsWith(', libre')));
    check('claiming is said', lobbyHeard.some((t) => t.startsWith('Ana juega con')));
    await page.screenshot({ path: path.join(outDir, 'web-lobby.png'), fullPage: true });
    await axe(page, 'the table');
    // A spectator in a browser of its own, joining by keys: L lists the tables, Down reaches one, E watches.
    const watcherContext = await browser.newContext({ ignoreHTTPSErrors: true });
    await watcherContext.addInitScript(recorder);
    const watcher = await watcherContext.newPage();
    watcher.on('pageerror', (e) => problems.push(String(e)));
    await watcher.goto(`https://127.0.0.1:${port}/`);
    await watcher.waitForFunction(() => document.getElementById('estado').textContent === 'Conectado.');
    await watcher.fill('#nombre', 'Eva');
    await watcher.evaluate(() => document.activeElement.blur());
    await watcher.keyboard.press('l');
    await watcher.waitForSelector('#mesas-filas tr');
    await watcher.keyboard.press('ArrowDown');
    await watcher.screenshot({ path: path.join(outDir, 'web-tables.png'), fullPage: true });
    await watcher.keyboard.press('e');
    await watcher.waitForSelector('#mesa:not([hidden])');
    check('a spectator joins by keys', (await heardAll(watcher)).some((t) => t.startsWith(`Mesa ${table}`)));

    await page.keyboard.press('Enter');
    await page.waitForSelector('#juego:not([hidden])');

    // The first day, through the screen reader's live regions.
    const report = (t) => t.includes('Los actuales aspirantes');
    const day = await playUntil(page, (all) => all.filter(report).length >= 2 || all.some((t) => t.includes('La partida ha terminado')), 45000);
    const firstDay = await page.evaluate(() => window.heard.regions.slice());
    check('a whole day is played by keys and heard in the live regions', day && firstDay.some(report));
    await page.screenshot({ path: path.join(outDir, 'web-game.png'), fullPage: true });
    await axe(page, 'the game');

    // The browser's own voice from here on; the setting is remembered.
    await page.keyboard.press('m');
    await page.keyboard.press('F8');
    await page.keyboard.press('F1');
    await sleep(300);
    const voice = await page.evaluate(() => window.heard.voice);
    check('F8 speeds the browser voice up, in a Spanish voice',
      voice.some((v) => v.text === 'Velocidad de la voz más rápida' && v.rate > 1 && v.voice === 'Prueba española'));
    check('F1 names the keys and the browser\'s alternatives', voice.some((v) => v.text.includes('En el navegador también')));
    const cancels = await page.evaluate(() => window.heard.cancels);
    await page.keyboard.press('Control');
    check('Control cancels the voice', (await page.evaluate(() => window.heard.cancels)) > cancels);
    check('the setting is stored', (await page.evaluate(() => localStorage.getItem('veldrisa.ajustes'))).includes('"modo":"voz"'));

    // The server killed and started again: the page says so and comes back with its token.
    proc.kill('SIGKILL');
    await new Promise((resolve) => proc.once('exit', resolve));
    await sleep(200);
    proc = await startServer(port, data);
    const back = await page.waitForFunction(() => window.heard.voice.some((v) => v.text.startsWith('Ha vuelto a la partida')),
      null, { timeout: 20000 }).then(() => true, () => false);
    const afterCut = await heardAll(page);
    check('a dropped connection is said', afterCut.includes('Conexión perdida, reintentando'));
    check('and the page comes back to its seat', back);

    const ended = await playUntil(page, (all) => all.some((t) => t.includes('La partida ha terminado')), 75000);
    check('the game is played to its end by keys', ended, (await heardAll(page)).slice(-8).join(' | '));
    // What each bot heard, from its record (written as it goes, so read once it has heard the end).
    const said = (c) => readFileSync(path.join(data, `bot${c}.jsonl`), 'utf8').split('\n').filter(Boolean)
      .map((line) => JSON.parse(line)).filter((m) => m.type === 'say').map((m) => m.text);
    const botsHeardEnd = () => [5, 8].every((c) => said(c).some((t) => t.includes('La partida ha terminado')));
    for (let i = 0; i < 100 && !botsHeardEnd(); i++) await sleep(100);
    check('the two bots beside it played to the end too', botsHeardEnd());

    // Privacy: what the other seats were asked never reached this page, and the other way round.
    const theirs = Object.fromEntries([5, 8].map((c) => [c, said(c)]));
    const everything = [...(await heardAll(page)), await page.textContent('body')].join('\n');
    const theirPrompts = Object.values(theirs).flat().filter((t) => t.includes('es su turno de jugar'));
    check('the other seats were asked', theirPrompts.length > 0);
    check('the page never shows or says another seat\'s hand', theirPrompts.every((t) => !everything.includes(t)));
    const ours = (await heardAll(page)).filter((t) => t.includes(', es su turno de jugar.'));
    check('no other seat heard this page\'s prompts',
      ours.length > 0 && ours.every((t) => !Object.values(theirs).flat().includes(t)));

    const watched = await heardAll(watcher);
    check('the spectator heard the game', watched.some((t) => t.includes('La partida ha terminado')));
    check('and no seat\'s prompt', watched.every((t) => !t.includes('es su turno de jugar')));
    const cardLines = (logs) => logs.join('\n').split('\n').filter((line) => line.startsWith('- ')).length;
    check('the window\'s log shows the seat its own hand and the spectator none',
      cardLines(await page.evaluate(() => window.heard.logs)) > 0 &&
        cardLines(await watcher.evaluate(() => window.heard.logs)) === 0);

    const frames = sent.map((p) => JSON.parse(p));
    check('everything sent is a valid client message',
      frames.length > 0 && frames.every((m) => validator.valid(m, 'client')), JSON.stringify(frames.find((m) => !validator.valid(m, 'client'))));
    const stored = await page.evaluate(() => Object.keys(localStorage));
    check('it stores only its own settings', stored.length === 1 && stored[0] === 'veldrisa.ajustes', stored.join(','));
    check('no error in the page (an invalid message or a refused resource would be one)', problems.length === 0,
      problems.join(' | '));
    check('the history is shown as a list', (await page.locator('#historial li').count()) > 20);

    await page.keyboard.press('Escape');
    await page.waitForSelector('#vestibulo:not([hidden])');
    check('Escape leaves the table for the lobby', (await heardAll(page)).includes('Ha dejado la mesa'));

    console.log('\nWhat the page heard on its first day:');
    const from = firstDay.findIndex(report);
    const to = firstDay.findIndex((t, i) => i > from && report(t));
    for (const text of firstDay.slice(from, to < 0 ? undefined : to)) console.log(`  ${text}`);
  } finally {
    for (const b of bots ?? []) b.kill();
    await browser.close();
    proc.kill();
    if (!failed) rmSync(data, { recursive: true, force: true }); else console.log('kept', data);
  }
  console.log(`\n${passed} passed, ${failed} failed (${((Date.now() - started) / 1000).toFixed(1)} s)`);
  process.exit(failed ? 1 : 0);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
