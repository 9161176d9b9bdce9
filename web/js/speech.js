// Speech two ways, the player's choice: the player's own screen reader through two live regions
// (one that a new message replaces, one that waits its turn), or the browser's own voice.

export const SCREEN_READER = 'lector';
export const BROWSER_VOICE = 'voz';

// The game's rate scale and steps; the browser's rate doubles every 25 steps from its normal 1.
const RATE_MIN = -50;
const RATE_MAX = 50;
const browserRate = (rate) => 2 ** (rate / 25);

export class Speech {
  constructor(immediate, queued, settings) {
    this.immediate = immediate;
    this.queued = queued;
    this.settings = settings;
    this.holding = null;  // an utterance the next message must not cut off
  }

  get mode() {
    return this.settings.get('modo') === BROWSER_VOICE ? BROWSER_VOICE : SCREEN_READER;
  }

  setMode(mode) {
    this.silence();
    this.settings.set('modo', mode);
  }

  // `before`: wait for what is being said; `after`: the next message waits for this one.
  say(text, before = false, after = false) {
    if (this.mode === BROWSER_VOICE) this.speak(text, before, after);
    else this.show(text, before);
  }

  silence() {
    this.holding = null;
    this.immediate.textContent = '';
    this.queued.textContent = '';
    if (window.speechSynthesis) window.speechSynthesis.cancel();
  }

  show(text, before) {
    if (before) {
      const line = document.createElement('p');
      line.textContent = text;
      this.queued.append(line);
      return;
    }
    this.queued.textContent = '';
    // The same text twice must still be heard twice: a region only speaks what changed.
    const repeat = this.immediate.textContent === text;
    this.immediate.textContent = repeat ? `${text}\u00a0` : text;
  }

  speak(text, before, after) {
    const synth = window.speechSynthesis;
    if (!synth) return;
    if (!before && !this.holding) synth.cancel();
    const utterance = new SpeechSynthesisUtterance(text);
    utterance.lang = 'es-ES';
    utterance.rate = browserRate(this.rate());
    const voice = this.voices()[this.voiceIndex()];
    if (voice) utterance.voice = voice;
    if (after) {
      this.holding = utterance;
      utterance.onend = utterance.onerror = () => {
        if (this.holding === utterance) this.holding = null;
      };
    }
    synth.speak(utterance);
  }

  // The browser's voices, the Spanish ones first, Spain's before the others.
  voices() {
    const all = window.speechSynthesis ? window.speechSynthesis.getVoices() : [];
    const rank = (v) => (v.lang.startsWith('es-ES') ? 0 : v.lang.startsWith('es') ? 1 : 2);
    return [...all].sort((a, b) => rank(a) - rank(b));
  }

  rate() {
    return Number(this.settings.get('velocidad') ?? 0);
  }

  voiceIndex() {
    const chosen = this.voices().findIndex((v) => v.name === this.settings.get('voz'));
    return Math.max(chosen, 0);
  }

  // F7 and F8: the answer to say, or null when the screen reader sets the rate itself.
  changeRate(direction, fine) {
    if (this.mode === SCREEN_READER) return null;
    const rate = this.rate();
    if (direction < 0 && rate <= RATE_MIN) return 'Velocidad mínima';
    if (direction > 0 && rate >= RATE_MAX) return 'Velocidad máxima';
    this.settings.set('velocidad', rate + direction * (fine ? 1 : 5));
    return direction < 0 ? 'Velocidad de la voz más lenta' : 'Velocidad de la voz más rápida';
  }

  // F9 and F10: the voice's name, or null as for the rate.
  changeVoice(direction) {
    if (this.mode === SCREEN_READER) return null;
    const voices = this.voices();
    if (voices.length === 0) return 'El navegador no tiene voces';
    const index = (this.voiceIndex() + direction + voices.length) % voices.length;
    this.settings.set('voz', voices[index].name);
    return voices[index].name;
  }
}
