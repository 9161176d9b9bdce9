#!/usr/bin/env python3
"""The WebSocket client's failures, through veldrisa-bot, each named in plain words: nobody at the
address, a certificate that is not the pinned one, a server that refuses the WebSocket, one that
speaks another protocol version; and the pinned fingerprint that is the server's own accepted.

    client_failures.py SERVER BOT
"""

import base64
import hashlib
import os
import socket
import ssl
import subprocess
import sys
import tempfile
import threading

import netplay
from netplay import check


def bot(program, port, *args):
    done = subprocess.run([program, "--server", f"127.0.0.1:{port}", "--create"] + list(args),
                          capture_output=True, text=True, timeout=60)
    return done.returncode, done.stderr


def fake_server(folder, answer):
    """A TLS server with the real server's certificate that answers each connection with answer(request)."""
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(folder, "veldrisa-server.crt"), os.path.join(folder, "veldrisa-server.key"))
    listener = socket.create_server(("127.0.0.1", 0))

    def serve():
        while True:
            raw, _ = listener.accept()
            try:
                with context.wrap_socket(raw, server_side=True) as conn:
                    request = b""
                    while b"\r\n\r\n" not in request:
                        request += conn.recv(4096)
                    conn.sendall(answer(request.decode()))
                    conn.recv(4096)
            except (OSError, ssl.SSLError):
                pass

    threading.Thread(target=serve, daemon=True).start()
    return listener.getsockname()[1]


def accept_then_refuse_version(request):
    key = next(l.split(":", 1)[1].strip() for l in request.split("\r\n") if l.lower().startswith("sec-websocket-key"))
    accept = base64.b64encode(hashlib.sha1((key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11").encode()).digest()).decode()
    payload = b'{"type":"error","reason":"version","text":"El servidor usa otra versi\\u00f3n del protocolo."}'
    return (f"HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
            f"Sec-WebSocket-Accept: {accept}\r\n\r\n").encode() + bytes([0x81, len(payload)]) + payload


def main(server_program, bot_program):
    with tempfile.TemporaryDirectory() as folder:
        server = netplay.Server(server_program, folder, 1)
        try:
            nobody = socket.socket()
            nobody.bind(("127.0.0.1", 0))
            free = nobody.getsockname()[1]
            nobody.close()
            code, said = bot(bot_program, free)
            check("nobody listening: no server at that address", code != 0 and "No hay ningún servidor" in said, said)
            code, said = bot(bot_program, server.port, "--fingerprint", "00" * 32)
            check("another certificate than the pinned one: no secure connection",
                  code != 0 and "conexión segura" in said, said)
            with open(os.path.join(folder, "veldrisa-server.crt"), encoding="ascii") as f:
                own = hashlib.sha256(ssl.PEM_cert_to_DER_cert(f.read())).hexdigest()
            code, said = bot(bot_program, server.port, "--fingerprint", ":".join(own[i:i + 2] for i in range(0, 64, 2)).upper())
            check("the server's own fingerprint pinned: a whole game", code == 0, said)
            port = fake_server(folder, lambda request: b"HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n")
            code, said = bot(bot_program, port)
            check("a server that refuses the WebSocket: refused", code != 0 and "ha rechazado la conexión" in said, said)
            port = fake_server(folder, accept_then_refuse_version)
            code, said = bot(bot_program, port)
            check("a server of another protocol version: said so", code != 0 and "otra versión del protocolo" in said, said)
        finally:
            server.stop()
    return 1 if netplay.failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
