#!/usr/bin/env python3
"""Whole games through the network: three tables at once on one veldrisa-server, each with three
bots playing four characters (one of them two) and a bot watching; every stream a bot received
equals what veldrisa-replay prints for its seat (or for spectators) on the table's journal, and
every message is valid under the protocol's schema.

    bots_golden.py SERVER BOT REPLAY SCHEMA
"""

import json
import sys
import tempfile
import time

import jsonschema

import netplay
from netplay import check

TABLES = 3
SEED = 4100


def table_of_bots(bot, server, folder, n):
    ana = netplay.Bot(bot, server, f"Ana {n}", ["--create", "--players", "4", "--spectators", "1",
                                                 "--seed", str(n * 10 + 1)], folder)
    table = ana.table()
    bots = [ana,
            netplay.Bot(bot, server, f"Bea {n}", ["--join", table, "--characters", "2", "--prefer", "4",
                                                  "--seed", str(n * 10 + 2)], folder),
            netplay.Bot(bot, server, f"Carla {n}", ["--join", table, "--prefer", "9", "--seed", str(n * 10 + 3)],
                        folder)]
    watcher = netplay.Bot(bot, server, f"Dora {n}", ["--watch", table], folder)
    return table, bots, watcher


def main(server_program, bot, replay, schema_path):
    schema = json.load(open(schema_path, encoding="utf-8"))
    valid = jsonschema.Draft202012Validator({"$ref": "#/$defs/server", "$defs": schema["$defs"]})
    with tempfile.TemporaryDirectory() as folder:
        server = netplay.Server(server_program, folder, SEED)
        try:
            began = time.monotonic()
            tables = [table_of_bots(bot, server, folder, n) for n in range(1, TABLES + 1)]
            finish = time.monotonic() + 60
            for table, bots, watcher in tables:
                codes = [b.wait(max(1, finish - time.monotonic())) for b in bots + [watcher]]
                check(f"table {table}: every bot played the game to its end", codes == [0] * len(codes),
                      "; ".join(b.errors for b in bots + [watcher]))
            print(f"{TABLES} games in {time.monotonic() - began:.1f} s", flush=True)
            seeds = set()
            for table, bots, watcher in tables:
                journal = netplay.compare(f"table {table}", replay, folder, table, bots, [watcher])
                seeds.add(netplay.stored(folder, table)[0])
                check(f"table {table}: a whole game, its end reached",
                      any(m.get("text", "").startswith("La partida ha terminado") for m in bots[0].stream()))
                check(f"table {table}: every key in the journal is a seat's", all(
                    line.startswith(("@", "COMPUTER ")) for line in journal[journal.index("ENTER") + 1:]))
                broken = [m for b in bots + [watcher] for m in b.stream() if not valid.is_valid(m)]
                check(f"table {table}: every message received is valid under the schema", not broken,
                      json.dumps(broken[:1], ensure_ascii=False))
            check("the tables were dealt the seeds --seed gave them", seeds == set(range(SEED, SEED + TABLES)))
        finally:
            server.stop()
    return 1 if netplay.failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5]))
