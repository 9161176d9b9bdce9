#!/usr/bin/env python3
"""veldrisa-server on loopback: a self-signed certificate made on first start, two clients over
WebSocket and TLS playing the opening of a game, bad messages refused, the server killed with
SIGKILL and started again with its players coming back, and SIGTERM closing every connection with
a goodbye.

    server_smoke.py SERVER
"""

import os
import signal
import stat
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from websocket_client import Client, free_port  # noqa: E402


failures = 0


def check(what, ok):
    global failures
    print(("ok: " if ok else "FAIL: ") + what)
    failures += 0 if ok else 1


def start(server, port, data, *options):
    proc = subprocess.Popen([server, "--port", str(port), "--data", data, *options], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True)
    check("the server says where it listens", "escuchando" in proc.stdout.readline())
    return proc


def main(server):
    with tempfile.TemporaryDirectory() as data:
        port = free_port()
        proc = start(server, port, data)
        try:
            key = os.path.join(data, "veldrisa-server.key")
            check("a self-signed certificate is made on first start",
                  os.path.exists(os.path.join(data, "veldrisa-server.crt")) and os.path.exists(key))
            check("its key is readable by the owner only", stat.S_IMODE(os.stat(key).st_mode) == 0o600)
            ana, bea = Client(port), Client(port)
            check("WebSocket over TLS", ana.upgraded and bea.upgraded)
            ana.send('{"type":"hello","version":1,"client":"bot"}')
            welcome = ana.receive()
            check("hello is welcomed with a token", welcome.get("type") == "welcome" and len(welcome["token"]) == 32)
            bea.send('{"type":"hello","version":1,"client":"bot"}')
            bea_token = bea.receive()["token"]
            ana.send("{not json")
            check("a malformed message is refused", ana.receive().get("reason") == "malformed")
            ana.send('{"type":"list_tables","x":"' + "a" * 5000 + '"}')
            check("an oversized message is refused", ana.receive().get("reason") == "too_large")
            ana.send('{"type":"create_table","name":"Ana","private":false,"time_limit":0}')
            table = ana.receive()
            bea.send('{"type":"join","table":"%s","as":"player","name":"Bea"}' % table["id"])
            ana.send('{"type":"claim","character":3}')
            bea.send('{"type":"claim","character":7}')
            ana.send('{"type":"start"}')
            report = lambda m: m.get("type") == "say" and "aspirantes" in m.get("text", "")
            check("both seats hear the first report", ana.until(report) is not None and bea.until(report) is not None)
            ana.send('{"type":"key","key":"SPACE"}')
            prompt = lambda m: m.get("type") == "say" and ("es su turno" in m["text"] or "Turno de" in m["text"])
            heard = ana.until(prompt)
            check("the room choice starts, and a seat hears either its prompt or whose turn it is", heard is not None)

            proc.kill()
            proc.wait()
            proc = start(server, port, data)
            ana, bea = Client(port), Client(port)
            ana.send('{"type":"hello","version":1,"client":"bot","token":"%s"}' % welcome["token"])
            back = ana.receive()
            check("killed with SIGKILL and started again, a player comes back with its token",
                  back.get("type") == "welcome" and back.get("token") == welcome["token"])
            history = ana.receive()
            check("and hears where the game stands", history.get("type") == "history"
                  and history["summary"].startswith("Ha vuelto a la partida."))
            bea.send('{"type":"hello","version":1,"client":"bot","token":"%s"}' % bea_token)
            bea.receive()
            proc.send_signal(signal.SIGTERM)
            bye = [c.until(lambda m: m.get("type") == "goodbye") for c in (ana, bea)]
            check("SIGTERM says goodbye to every connection", all(b and b["reason"] == "shutdown" for b in bye))
            for c in (ana, bea):
                c.close()
            check("and the server ends cleanly once its players answer the close", proc.wait(timeout=10) == 0)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
