// The messages heard, read again with Page Up, Page Down, Home and End, and shown as a list for
// whoever helps by looking at the screen.

const KEPT = 200;
export const BEGINNING = 'Principio';
export const END = 'Final';

export class History {
  constructor(list) {
    this.list = list;
    this.messages = [];
    this.reached = -1;
  }

  keep(text) {
    if (text === '' || this.messages.at(-1) === text) {
      this.reached = this.messages.length - 1;
      return;
    }
    this.messages.push(text);
    const item = document.createElement('li');
    item.textContent = text;
    this.list.append(item);
    while (this.messages.length > KEPT) {
      this.messages.shift();
      this.list.firstElementChild.remove();
    }
    this.reached = this.messages.length - 1;
  }

  previous() {
    if (this.reached <= 0) return BEGINNING;
    return this.messages[--this.reached];
  }

  next() {
    if (this.reached + 1 >= this.messages.length) return END;
    return this.messages[++this.reached];
  }

  first() {
    if (this.messages.length === 0) return BEGINNING;
    this.reached = 0;
    return this.messages[0];
  }

  newest() {
    if (this.messages.length === 0) return END;
    this.reached = this.messages.length - 1;
    return this.messages[this.reached];
  }
}
