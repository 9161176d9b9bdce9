// The WebSocket to the page's own server: every message received checked against the protocol's
// schema, and the connection taken up again with the seat's token when it drops.

const VERSION = 1;
// The messages of a seat's game stream, counted for `seen`.
const GAME_MESSAGES = new Set(['say', 'sound', 'log', 'beep']);
// Seconds between attempts, the last one repeated; the server keeps a seat two minutes.
const RETRIES = [1, 2, 4, 8];
const GIVE_UP_AFTER_MS = 3 * 60 * 1000;

export class Connection {
  // handlers: message(m) for every valid message, lost() when the connection drops,
  // unreachable() when it cannot be made again.
  constructor(validator, handlers) {
    this.validator = validator;
    this.handlers = handlers;
    this.socket = null;
    this.token = null;
    this.seated = false;  // a table holds a place for this token: coming back takes it again
    this.seen = 0;  // the seat's game messages received, so that coming back brings exactly the rest
    this.attempt = 0;
    this.lostAt = null;
    this.closing = false;
  }

  open() {
    const socket = new WebSocket(`wss://${location.host}/`);
    this.socket = socket;
    socket.onopen = () => {
      socket.send(JSON.stringify(this.hello()));
    };
    socket.onmessage = (event) => this.received(event.data);
    socket.onclose = () => {
      if (this.socket === socket) this.dropped();
    };
  }

  received(text) {
    let message;
    try {
      message = JSON.parse(text);
    } catch {
      message = undefined;
    }
    if (message === undefined || !this.validator.valid(message, 'server')) {
      console.error('Mensaje del servidor no válido, descartado:', text);
      return;
    }
    if (message.type === 'welcome') {
      this.token = message.token;
      this.attempt = 0;
      this.lostAt = null;
    }
    if (message.type === 'goodbye' && message.reason !== 'shutdown') this.closing = true;
    if (GAME_MESSAGES.has(message.type)) this.seen += 1;
    if (message.type === 'history') this.seen += message.missed?.length ?? 0;
    this.handlers.message(message);
  }

  hello() {
    const hello = { type: 'hello', version: VERSION, client: 'web' };
    if (this.token && this.seated) Object.assign(hello, { token: this.token, seen: this.seen });
    return hello;
  }

  send(message) {
    if (this.socket?.readyState === WebSocket.OPEN) this.socket.send(JSON.stringify(message));
  }

  dropped() {
    this.socket = null;
    if (this.closing) return;
    this.lostAt ??= Date.now();
    if (Date.now() - this.lostAt > GIVE_UP_AFTER_MS) {
      this.handlers.unreachable();
      return;
    }
    if (this.attempt === 0) this.handlers.lost();
    const wait = RETRIES[Math.min(this.attempt, RETRIES.length - 1)];
    this.attempt += 1;
    setTimeout(() => this.open(), wait * 1000);
  }
}
