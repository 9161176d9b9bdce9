#!/usr/bin/env python3
"""The web page over the WebSocket's own TLS port, on loopback: files with their types and a strict
policy, refusals that keep every answer inside the page's folder, requests bounded in size, and
the WebSocket beside it working as before.

    web_serving.py SERVER
"""

import os
import socket
import ssl
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from server_smoke import Client, check, free_port  # noqa: E402
import server_smoke  # noqa: E402


def tls(port):
    context = ssl.create_default_context()
    context.check_hostname = False
    context.verify_mode = ssl.CERT_NONE
    return context.wrap_socket(socket.create_connection(("127.0.0.1", port), timeout=10))


def answer(sock, head=False):
    """One HTTP answer: status, headers (lower-case names), body (none for HEAD)."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(4096)
        if not chunk:
            return None, {}, b""
        data += chunk
    top, body = data.split(b"\r\n\r\n", 1)
    lines = top.decode("latin-1").split("\r\n")
    headers = {k.strip().lower(): v.strip() for k, v in (line.split(":", 1) for line in lines[1:])}
    length = 0 if head else int(headers.get("content-length", "0"))
    while len(body) < length:
        chunk = sock.recv(65536)
        if not chunk:
            break
        body += chunk
    return int(lines[0].split()[1]), headers, body


def request(port, raw, head=False):
    with tls(port) as sock:
        sock.sendall(raw)
        return answer(sock, head)


def get(port, path, method="GET"):
    return request(port, f"{method} {path} HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n".encode(),
                   head=method == "HEAD")


def main(server):
    with tempfile.TemporaryDirectory() as data:
        web = os.path.join(data, "web")
        os.makedirs(os.path.join(web, "js"))
        with open(os.path.join(web, "index.html"), "w") as f:
            f.write("<!doctype html><title>Mesa</title>")
        with open(os.path.join(web, "js", "main.js"), "w") as f:
            f.write("export {};")
        with open(os.path.join(data, "secret.json"), "w") as f:
            f.write('{"secret": true}')
        os.symlink(os.path.join(data, "secret.json"), os.path.join(web, "out.json"))
        port = free_port()
        proc = subprocess.Popen([server, "--port", str(port), "--data", data, "--web", web],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        try:
            check("the server says where it listens", "escuchando" in proc.stdout.readline())
            status, headers, body = get(port, "/")
            check("GET / is the page", status == 200 and body == b"<!doctype html><title>Mesa</title>")
            check("as HTML", headers.get("content-type") == "text/html; charset=utf-8")
            policy = headers.get("content-security-policy", "")
            check("under a strict policy", "default-src 'none'" in policy and "connect-src 'self'" in policy
                  and "frame-ancestors 'none'" in policy)
            check("no sniffing, no referrer", headers.get("x-content-type-options") == "nosniff"
                  and headers.get("referrer-policy") == "no-referrer")
            status, headers, _ = get(port, "/js/main.js")
            check("a module as JavaScript", status == 200 and headers["content-type"].startswith("text/javascript"))
            status, headers, body = get(port, "/sonidos/Ronquido.mp3")
            check("a room sound from the game's own files", status == 200 and headers["content-type"] == "audio/mpeg"
                  and len(body) > 1000)
            status, headers, body = get(port, "/js/main.js", "HEAD")
            check("HEAD tells the length with no body", headers.get("content-length") == "10" and body == b"")
            for path in ["/../secret.json", "/%2e%2e/secret.json", "/js/%2e%2e/%2e%2e/secret.json", "/out.json",
                         "/js/", "/sonidos/../secret.json", "/nothing.js"]:
                status, headers, body = get(port, path)
                check(f"{path} is refused", status in (400, 404) and b"secret" not in body
                      and "default-src 'none'" in headers.get("content-security-policy", ""))
            status, headers, _ = get(port, "/", "POST")
            check("POST is refused", status == 405 and headers.get("allow") == "GET, HEAD")
            status, _, _ = request(port, b"GET / HTTP/1.1\r\nHost: x\r\nX-Filler: " + b"a" * 9000 + b"\r\n\r\n")
            check("oversized headers are refused", status == 431)
            status, _, _ = request(port, b"GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n\r\nhello")
            check("a request with a body is refused", status == 413)
            with tls(port) as sock:
                two = b"GET /js/main.js HTTP/1.1\r\nHost: x\r\n\r\n"
                sock.sendall(two)
                first, _, _ = answer(sock)
                sock.sendall(two)
                second, _, _ = answer(sock)
                check("one connection serves several files", first == 200 and second == 200)
            client = Client(port)
            check("the WebSocket still upgrades on the same port", client.upgraded)
            client.send('{"type":"hello","version":1,"client":"web"}')
            check("and speaks the protocol", client.receive().get("type") == "welcome")
        finally:
            proc.kill()
            proc.wait()
    return 1 if server_smoke.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
