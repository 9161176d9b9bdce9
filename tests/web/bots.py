#!/usr/bin/env python3
"""Two players beside the browser seat, over the protocol: they join a table, claim a character
each, answer their own prompts with 1 and come back with their tokens when the server restarts.
Everything they heard is written to a JSON file for the privacy check.

    bots.py PORT TABLE OUT_JSON CHARACTER...
"""

import json
import os
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "server"))
from server_smoke import Client  # noqa: E402

HELLO = '{"type":"hello","version":1,"client":"bot"%s}'


class Bot:
    def __init__(self, port, table, character):
        self.port, self.table, self.character = port, table, character
        self.heard = []
        self.ended = False
        self.client = self.connect()
        self.client.send(HELLO % "")
        self.token = self.client.receive()["token"]
        self.client.send(json.dumps({"type": "join", "table": table, "as": "player", "name": f"Bot{character}"}))
        self.client.send(json.dumps({"type": "claim", "character": character}))

    def connect(self):
        client = Client(self.port)
        client.sock.settimeout(None)  # a player may think for long; a dead server ends the read
        return client

    def reconnect(self, deadline=30):
        end = time.time() + deadline
        while time.time() < end:
            try:
                self.client = self.connect()
                self.client.send(HELLO % (',"token":"%s"' % self.token))
                if self.client.receive().get("type") == "welcome":
                    return True
            except (OSError, EOFError):
                time.sleep(0.3)
        return False

    def play(self):
        while not self.ended:
            try:
                m = self.client.receive()
            except (OSError, EOFError, ValueError):
                m = None
            if m is None:
                if not self.reconnect():
                    return
                continue
            if m.get("type") == "history" and "Es el turno de" in m["summary"]:
                self.client.send('{"type":"key","key":"1"}')  # refused unless it is this seat's turn
            if m.get("type") != "say":
                continue
            text = m["text"]
            self.heard.append(text)
            if ", es su turno de jugar." in text or "Indique con qué heredero" in text:
                time.sleep(0.05)
                self.client.send('{"type":"key","key":"1"}')
            if "La partida ha terminado" in text:
                self.ended = True


def main(port, table, out, *characters):
    bots = [Bot(int(port), table, int(c)) for c in characters]
    print("ready", flush=True)
    threads = [threading.Thread(target=b.play, daemon=True) for b in bots]
    for t in threads:
        t.start()
    for t in threads:
        t.join(timeout=150)
    with open(out, "w", encoding="utf-8") as f:
        json.dump({str(b.character): b.heard for b in bots}, f, ensure_ascii=False)
    return 0 if all(b.ended for b in bots) else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
