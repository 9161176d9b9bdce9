// The room sounds with the Web Audio API, from the game's own four files, at the level F11 and
// F12 set; and the short beep of a refused key.
import { decodeImaAdpcm } from './ima_adpcm.js';

const FILES = ['fuego.wav', 'Vaso rompiéndose.mp3', 'Pasar páginas.mp3', 'Ronquido.mp3'];
// As in the game, the glass breaks once; fire, pages and snoring go on until they are stopped.
const ONCE = 2;
const STEP = 10;
const MAX = 100;
// The level the room sounds start at, as in the game.
const START = 40;

// A sound file as the browser decodes it, or as the IMA ADPCM decoder does when the browser cannot.
export async function decodeSound(context, bytes) {
  try {
    return await context.decodeAudioData(bytes.slice(0));
  } catch (error) {
    const decoded = decodeImaAdpcm(bytes);
    if (!decoded) throw error;
    const buffer = context.createBuffer(1, decoded.samples.length, decoded.rate);
    buffer.copyToChannel(decoded.samples, 0);
    return buffer;
  }
}

export class Sounds {
  constructor(settings) {
    this.settings = settings;
    this.context = null;
    this.buffers = [];
    this.playing = new Map();
  }

  get level() {
    return Number(this.settings.get('nivel') ?? START);
  }

  // Browsers let a page make sound only after the player has pressed something.
  wake() {
    if (this.context) {
      if (this.context.state === 'suspended') this.context.resume();
      return;
    }
    this.context = new AudioContext();
    this.gain = this.context.createGain();
    this.gain.gain.value = this.level / MAX;
    this.gain.connect(this.context.destination);
    this.buffers = FILES.map((name) => this.load(name));
  }

  async load(name) {
    const response = await fetch(`sonidos/${encodeURIComponent(name)}`);
    if (!response.ok) throw new Error(`${name}: ${response.status}`);
    return decodeSound(this.context, await response.arrayBuffer());
  }

  async play(player) {
    this.wake();
    this.stop(player);
    let buffer;
    try {
      buffer = await this.buffers[player - 1];
    } catch (error) {
      console.warn('sonido no disponible', error);
      return;
    }
    const source = this.context.createBufferSource();
    source.buffer = buffer;
    source.loop = player !== ONCE;
    source.connect(this.gain);
    source.onended = () => {
      if (this.playing.get(player) === source) this.playing.delete(player);
    };
    this.playing.set(player, source);
    source.start();
  }

  stop(player) {
    const source = this.playing.get(player);
    if (!source) return;
    this.playing.delete(player);
    source.stop();
  }

  beep() {
    this.wake();
    const tone = this.context.createOscillator();
    tone.frequency.value = 880;
    tone.connect(this.context.destination);
    tone.start();
    tone.stop(this.context.currentTime + 0.12);
  }

  // F11 and F12: what to say, as the game says it.
  change(direction) {
    const level = Math.min(MAX, Math.max(0, this.level + direction * STEP));
    if (level === this.level) return level === 0 ? 'Sonidos apagados' : 'Sonidos al máximo';
    this.settings.set('nivel', level);
    if (this.gain) this.gain.gain.value = level / MAX;
    return level === 0 ? 'Sonidos apagados' : `Sonidos al ${level} %`;
  }
}
