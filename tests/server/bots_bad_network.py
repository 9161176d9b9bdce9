#!/usr/bin/env python3
"""A bad network: inside a network namespace of its own (unshare -rn), 5 % of the packets on
loopback lost at random and 100 ms of delay each way. Two bots and a spectator play a whole game
through it; every stream equals what veldrisa-replay prints for it on the journal: nothing lost,
nothing twice. netem is tried first; without it (this kernel has none) the loss comes from an
nftables rule (numgen random) and the delay from a proxy on loopback that holds every chunk
100 ms each way. Skipped (exit 77) where a network namespace cannot be made.

    bots_bad_network.py SERVER BOT REPLAY
"""

import asyncio
import os
import subprocess
import sys
import tempfile
import threading
import time

import netplay
from netplay import check

SKIP = 77
DELAY = 0.1


def run(*args):
    return subprocess.run(list(args), capture_output=True, text=True)


async def pump(reader, writer):
    """Copies one direction, each chunk held DELAY seconds, in order; the end passed on last."""
    queue = asyncio.Queue()

    async def deliver():
        while True:
            due, data = await queue.get()
            await asyncio.sleep(max(0, due - time.monotonic()))
            if data is None:
                break
            writer.write(data)
            await writer.drain()
        writer.close()

    sender = asyncio.ensure_future(deliver())
    try:
        while data := await reader.read(65536):
            queue.put_nowait((time.monotonic() + DELAY, data))
    except ConnectionError:
        pass
    queue.put_nowait((time.monotonic() + DELAY, None))
    await sender


def delaying_proxy(target_port):
    """A proxy on loopback in a thread of its own; its port."""
    ready, port = threading.Event(), []

    async def handle(client_reader, client_writer):
        try:
            server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target_port)
        except OSError:
            client_writer.close()
            return
        await asyncio.gather(pump(client_reader, server_writer), pump(server_reader, client_writer),
                             return_exceptions=True)

    async def serve():
        server = await asyncio.start_server(handle, "127.0.0.1", 0)
        port.append(server.sockets[0].getsockname()[1])
        ready.set()
        async with server:
            await server.serve_forever()

    threading.Thread(target=lambda: asyncio.run(serve()), daemon=True).start()
    ready.wait(10)
    return port[0]


def impair():
    """Loss and delay on loopback; whether the delay still needs the proxy, and what was used."""
    if run("tc", "qdisc", "add", "dev", "lo", "root", "netem", "delay", "100ms", "loss", "5%").returncode == 0:
        return False, "netem: 100 ms delay and 5 % loss on lo"
    rules = ["add table inet lossy",
             "add chain inet lossy out { type filter hook output priority 0 ; }",
             "add rule inet lossy out numgen random mod 100 < 5 counter drop"]
    for rule in rules:
        done = run("nft", *rule.split())
        if done.returncode != 0:
            raise RuntimeError("nft " + rule + ": " + done.stderr)
    return True, "no netem here: nftables numgen random drops 5 % of the packets on lo, a proxy delays 100 ms each way"


def inside(server_program, bot, replay):
    up = run("ip", "link", "set", "lo", "up")
    if up.returncode != 0:
        print("SKIP: loopback cannot be brought up in the namespace: " + up.stderr)
        return SKIP
    proxied, how = impair()
    print(how, flush=True)
    with tempfile.TemporaryDirectory() as folder:
        server = netplay.Server(server_program, folder, 6300)
        try:
            port = delaying_proxy(server.port) if proxied else server.port
            began = time.monotonic()
            ana = netplay.Bot(bot, server, "Ana", ["--create", "--players", "2", "--spectators", "1", "--seed", "3"],
                              folder, port)
            table = ana.table()
            bea = netplay.Bot(bot, server, "Bea", ["--join", table, "--prefer", "6", "--seed", "4"], folder, port)
            dora = netplay.Bot(bot, server, "Dora", ["--watch", table], folder, port)
            finish = time.monotonic() + 150
            codes = [b.wait(max(1, finish - time.monotonic())) for b in (ana, bea, dora)]
            check("the game reached its end through the bad network", codes == [0, 0, 0],
                  "; ".join(b.errors for b in (ana, bea, dora)))
            print(f"one game in {time.monotonic() - began:.1f} s", flush=True)
            netplay.compare("bad network", replay, folder, table, [ana, bea], [dora])
            if proxied:
                listed = run("nft", "list", "chain", "inet", "lossy", "out").stdout.split()
                dropped = int(listed[listed.index("packets") + 1]) if "packets" in listed else 0
                check(f"packets were lost on the way ({dropped} dropped)", dropped > 0)
        finally:
            server.stop()
    return 1 if netplay.failures else 0


def main(args):
    if os.environ.get("VELDRISA_NAMESPACE") == "1":
        return inside(*args)
    probe = run("unshare", "-rn", "true")
    if probe.returncode != 0:
        print("SKIP: a network namespace cannot be made here (unshare -rn): " + probe.stderr.strip())
        return SKIP
    env = dict(os.environ, VELDRISA_NAMESPACE="1")
    return subprocess.run(["unshare", "-rn", sys.executable, os.path.abspath(__file__)] + args, env=env).returncode


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:4]))
