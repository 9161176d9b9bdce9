"""What the network tests share: a veldrisa-server in a scratch folder, bots playing at it, the
tables' journals read from the server's SQLite file, and each bot's recorded stream held against
what veldrisa-replay prints for its seat on that journal."""

import json
import os
import signal
import sqlite3
import subprocess
import time

failures = 0


def check(what, ok, detail=""):
    global failures
    print(("ok: " if ok else "FAIL: ") + what + ("" if ok or not detail else "\n      " + detail), flush=True)
    failures += 0 if ok else 1


class Server:
    """veldrisa-server on loopback (or any address), its port picked by the system."""

    def __init__(self, program, data, seed, address="127.0.0.1", port=0):
        self.program, self.data, self.seed, self.address = program, data, seed, address
        self.port = port
        self.start()

    def start(self):
        args = [self.program, "--address", self.address, "--port", str(self.port), "--data", self.data]
        if self.seed is not None:
            args += ["--seed", str(self.seed)]
        self.proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        line = self.proc.stdout.readline()
        if "escuchando" not in line:
            raise RuntimeError("the server did not start: " + line + self.proc.stderr.read())
        self.port = int(line.rsplit(":", 1)[1])

    def kill(self):
        self.proc.send_signal(signal.SIGKILL)
        self.proc.wait()

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


class Bot:
    """One veldrisa-bot process; its record file in the scratch folder."""

    def __init__(self, program, server, name, args, folder, port=None):
        self.name = name
        self.record = os.path.join(folder, name.replace(" ", "_") + ".jsonl")
        self.proc = subprocess.Popen(
            [program, "--server", f"{server.address}:{port or server.port}", "--name", name, "--record", self.record]
            + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def table(self):
        """The table a creating bot made."""
        line = self.proc.stdout.readline()
        if not line.startswith("mesa "):
            raise RuntimeError(f"{self.name} made no table: {line}{self.proc.stderr.read()}")
        return line.split()[1]

    def wait(self, timeout):
        try:
            code = self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
            code = None
        self.errors = self.proc.stderr.read()
        return code

    def stream(self):
        with open(self.record, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.strip()]


def stored(data, table):
    """A table's seed, its seats by player name (characters as veldrisa-replay names them), journal."""
    db = sqlite3.connect(os.path.join(data, "veldrisa-partidas.sqlite"))
    seed, seats, holders = db.execute("SELECT semilla, asientos, jugadores FROM mesas WHERE id = ?", (table,)).fetchone()
    journal = [r[0] for r in db.execute("SELECT linea FROM diario WHERE mesa = ? ORDER BY n", (table,))]
    db.close()
    names = [line.split(" ", 1)[1] for line in holders.splitlines()]
    return seed, dict(zip(names, seats.split(";"))), journal


def game_message(event):
    """A line of veldrisa-replay as the message the server makes of it, or None (as GameMessage)."""
    kind = event.pop("ev", None)
    if kind not in ("say", "sound", "log", "beep"):
        return None
    if kind == "sound" and event.get("op") not in ("play", "stop"):
        return None
    event["type"] = kind
    return event


def replayed(replay, seed, journal, reader):
    """What the replay tool prints for a seat (reader: ["--seat", "1,3"]) or ["--spectator"], from the
    game's opening on, as messages. Players who leave at the end hand their characters to the
    computer once the game is over: those last lines are nobody's stream."""
    while journal and journal[-1].startswith("COMPUTER "):
        journal = journal[:-1]
    out = subprocess.run([replay, "--seed", str(seed)] + reader, input="".join(l + "\n" for l in journal),
                         capture_output=True, text=True, check=True).stdout
    messages, opened = [], False
    for line in out.splitlines():
        event = json.loads(line)
        opened = opened or event == {"ev": "screen", "name": "game"}
        message = game_message(event) if opened else None
        if message is not None:
            messages.append(message)
    return messages


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return f"message {i}: received {json.dumps(x, ensure_ascii=False)[:200]}, replay {json.dumps(y, ensure_ascii=False)[:200]}"
    return f"lengths {len(a)} received, {len(b)} replayed"


def compare(what, replay, data, table, bots, spectators=()):
    """Every bot's stream against the replay tool's on the table's final journal."""
    seed, seats, journal = stored(data, table)
    for bot in bots:
        expected = replayed(replay, seed, journal, ["--seat", seats[bot.name]])
        got = bot.stream()
        check(f"{what}: {bot.name} (characters {seats[bot.name]}) received what the replay tool prints for its seat"
              f" ({len(got)} messages)", got == expected, first_difference(got, expected))
    for bot in spectators:
        expected = replayed(replay, seed, journal, ["--spectator"])
        got = bot.stream()
        check(f"{what}: spectator {bot.name} received what the replay tool prints for spectators ({len(got)} messages)",
              got == expected, first_difference(got, expected))
    return journal
