"""A minimal WebSocket client over TLS for the tests that talk to veldrisa-server on loopback:
text frames out, masked; frames in, unmasked; the server's certificate taken as it comes (it is
self-signed)."""

import base64
import json
import os
import socket
import ssl
import struct


class Client:
    def __init__(self, port, host="127.0.0.1"):
        context = ssl.create_default_context()
        context.check_hostname = False
        context.verify_mode = ssl.CERT_NONE
        raw = socket.create_connection((host, port), timeout=10)
        self.sock = context.wrap_socket(raw)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET / HTTP/1.1\r\nHost: {host}:{port}\r\nUpgrade: websocket\r\n"
                           f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
        answer = b""
        while b"\r\n\r\n" not in answer:
            answer += self.sock.recv(1)
        self.upgraded = answer.startswith(b"HTTP/1.1 101")

    def frame(self, opcode, payload):
        mask = os.urandom(4)
        n = len(payload)
        head = bytes([0x80 | opcode]) + (bytes([0x80 | n]) if n < 126 else bytes([0x80 | 126]) + struct.pack(">H", n))
        self.sock.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))

    def send(self, text):
        self.frame(0x1, text.encode() if isinstance(text, str) else text)

    def close(self):
        """Answers the server's close (or starts one), then hangs up."""
        try:
            self.frame(0x8, struct.pack(">H", 1000))
        except OSError:
            pass
        self.sock.close()

    def exact(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise EOFError
            data += chunk
        return data

    def receive(self):
        """The next message as an object; None once the server closes."""
        first, second = self.exact(2)
        n = second & 0x7F
        if n == 126:
            n = struct.unpack(">H", self.exact(2))[0]
        elif n == 127:
            n = struct.unpack(">Q", self.exact(8))[0]
        payload = self.exact(n)
        return None if first & 0x0F == 8 else json.loads(payload)

    def until(self, test, limit=400):
        for _ in range(limit):
            m = self.receive()
            if m is None or test(m):
                return m
        return None


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]
