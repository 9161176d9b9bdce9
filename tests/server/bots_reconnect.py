#!/usr/bin/env python3
"""Coming back: at two tables, bots cut their own connections mid-choice (before answering a room
or a card), mid-dialog (before naming a target) and mid-night (once the Space that starts it is
sent), and the server is killed with SIGKILL mid-game and started again on the same port. Every
game goes on to its end, and every seat's stream, the histories it received included, equals
what veldrisa-replay prints for it on the final journal: nothing lost, nothing twice.

    bots_reconnect.py SERVER BOT REPLAY
"""

import os
import sqlite3
import sys
import tempfile
import time

import netplay
from netplay import check

SEED = 5200
PACE = "15"  # milliseconds before each key: games long enough to be killed in the middle


def journal_length(folder):
    path = os.path.join(folder, "veldrisa-partidas.sqlite")
    if not os.path.exists(path):
        return 0
    db = sqlite3.connect(path, timeout=5)
    try:
        return min((n for (n,) in db.execute("SELECT COUNT(*) FROM diario GROUP BY mesa")), default=0)
    except sqlite3.OperationalError:
        return 0
    finally:
        db.close()


def table_of_bots(bot, server, folder, n):
    common = ["--pace", PACE]
    ana = netplay.Bot(bot, server, f"Ana {n}", ["--create", "--players", "4", "--seed", str(n * 10 + 1),
                                                 "--cut-at", "night,room"] + common, folder)
    table = ana.table()
    bots = [ana,
            netplay.Bot(bot, server, f"Bea {n}", ["--join", table, "--characters", "2", "--prefer", "3",
                                                  "--seed", str(n * 10 + 2), "--cut-at", "room,target"] + common,
                        folder),
            netplay.Bot(bot, server, f"Carla {n}", ["--join", table, "--prefer", "7", "--seed", str(n * 10 + 3),
                                                    "--cut-at", "card,target"] + common, folder)]
    return table, bots


def main(server_program, bot, replay):
    with tempfile.TemporaryDirectory() as folder:
        server = netplay.Server(server_program, folder, SEED)
        try:
            began = time.monotonic()
            tables = [table_of_bots(bot, server, folder, n) for n in (1, 2)]
            everyone = [b for _, bots in tables for b in bots]
            # Killed once every table is well into its game.
            deadline = time.monotonic() + 60
            while journal_length(folder) < 60 and time.monotonic() < deadline:
                time.sleep(0.02)
            playing = all(b.proc.poll() is None for b in everyone)
            at = journal_length(folder)
            server.kill()
            time.sleep(0.5)
            server.start()
            check(f"the server was killed with SIGKILL mid-game (journals {at} lines long) and started again on its port",
                  playing)
            finish = time.monotonic() + 90
            codes = [b.wait(max(1, finish - time.monotonic())) for b in everyone]
            check("every game went on to its end", codes == [0] * len(codes), "; ".join(b.errors for b in everyone))
            print(f"2 games in {time.monotonic() - began:.1f} s", flush=True)
            cuts = {line.rsplit(" ", 1)[1] for b in everyone for line in b.errors.splitlines() if "corte de" in line}
            check(f"connections were cut mid-choice, mid-night and mid-dialog (cut at: {', '.join(sorted(cuts))})",
                  {"room", "card", "night", "target"} <= cuts)
            check("every bot came back after the restart",
                  all("conexión perdida" in b.errors for b in everyone))
            for table, bots in tables:
                netplay.compare(f"table {table}", replay, folder, table, bots)
        finally:
            server.stop()
    return 1 if netplay.failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
