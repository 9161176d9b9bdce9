#!/usr/bin/env python3
"""The server's Linux package as an administrator would get it: built by CPack, checked by lintian,
its contents and maintainer scripts read, its systemd unit verified by systemd-analyze (where
systemd is installed), and the packaged server started from the unpacked tree with the packaged
configuration file pointed at scratch paths: one player connects and starts a game, SIGTERM says
goodbye and ends the server cleanly, and the journal it leaves brings the same game back.

    check_server_deb.py path/to/CPackConfig.cmake
"""

import gzip
import http.client
import os
import re
import shutil
import signal
import ssl
import sqlite3
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from websocket_client import Client, free_port  # noqa: E402

CONFIG = "etc/veldrisa/server.conf"
UNIT = "lib/systemd/system/veldrisa-server.service"
SERVER = "usr/sbin/veldrisa-server"

failures = 0


def check(what, ok, detail=""):
    global failures
    print(("ok: " if ok else "FAIL: ") + what + (f" ({detail})" if detail and not ok else ""))
    failures += 0 if ok else 1


def run(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def build(config, work):
    made = run("cpack", "-G", "DEB", "--config", config, "-B", f"{work}/out", "-D", "CPACK_COMPONENTS_ALL=server")
    if made.returncode != 0:
        sys.exit("cpack failed:\n" + made.stdout + made.stderr)
    deb = next(f"{work}/out/{name}" for name in os.listdir(f"{work}/out") if name.startswith("veldrisa-server_"))
    print(f"package: {os.path.basename(deb)}, {os.path.getsize(deb)} bytes")
    return deb


def unit_settings(path):
    """The unit's settings, each key with every value it is given."""
    settings = {}
    for line in open(path, encoding="utf-8"):
        if "=" in line and not line.startswith(("#", ";", "[")):
            key, value = line.rstrip("\n").split("=", 1)
            settings.setdefault(key, []).append(value)
    return settings


def check_package(deb, root):
    lint = run("lintian", "--fail-on", "error,warning", "--suppress-tags", "binary-has-unneeded-section", deb)
    said = [line for line in (lint.stdout + lint.stderr).splitlines() if "running with root" not in line]
    check("lintian reports no error or warning", lint.returncode == 0, "; ".join(said))
    for line in said:
        print("    lintian: " + line)

    control = run("dpkg-deb", "-f", deb, "Package", "Depends", "Description").stdout
    check("the package is veldrisa-server", "Package: veldrisa-server\n" in control)
    check("it depends on adduser, for its system user", re.search(r"^Depends:.*\badduser\b", control, re.M))
    check("its summary is its own", "Description: online tables server for La fortuna de Veldrisa" in control)
    scripts = f"{root}/DEBIAN"
    run("dpkg-deb", "-e", deb, scripts)
    check("the configuration file is a conffile", open(f"{scripts}/conffiles").read().split() == ["/" + CONFIG])
    check("postinst makes the system user veldrisa",
          re.search(r"adduser --system .*\n?.* veldrisa$", open(f"{scripts}/postinst").read(), re.M))

    check("the server, executable", os.access(f"{root}/{SERVER}", os.X_OK))
    check("its manual page", gzip.open(f"{root}/usr/share/man/man8/veldrisa-server.8.gz").read().startswith(b".TH"))
    for doc in ("copyright", "changelog.gz"):
        check(f"its {doc}", os.path.getsize(f"{root}/usr/share/doc/veldrisa-server/{doc}") > 0)
    check("the browser seat's page", os.path.isfile(f"{root}/usr/share/veldrisa-server/web/index.html"))
    sounds = sorted(os.listdir(f"{root}/usr/share/veldrisa-server/sonidos"))
    check("the four room sounds the page plays", len(sounds) == 4 and "fuego.wav" in sounds, sounds)
    game = [p for p in run("dpkg-deb", "-c", deb).stdout.splitlines() if "games" in p or "veldrisa.desktop" in p]
    check("none of the game's files", not game, " ".join(game))

    unit = unit_settings(f"{root}/{UNIT}")
    expected = {"User": "veldrisa", "Group": "veldrisa", "StateDirectory": "veldrisa", "KillSignal": "SIGTERM",
                "NoNewPrivileges": "yes", "ProtectSystem": "strict", "ProtectHome": "yes", "PrivateTmp": "yes",
                "ExecStart": f"/{SERVER} --config /{CONFIG}"}
    for key, value in expected.items():
        check(f"the unit says {key}={value}", unit.get(key) == [value], unit.get(key))
    stop = re.fullmatch(r"(\d+)s", unit.get("TimeoutStopSec", [""])[0])
    check("the unit waits longer for the goodbyes than a WebSocket close may take (30 s)",
          stop and int(stop.group(1)) > 30)
    data = re.search(r"^data = (.*)$", open(f"{root}/{CONFIG}").read(), re.M)
    check("the configuration keeps the journals in the unit's state folder",
          data and data.group(1) == "/var/lib/veldrisa")


def check_unit(root):
    if not shutil.which("systemd-analyze"):
        print("skipped: systemd-analyze (systemd is not installed)")
        return
    # The unit's own dependencies (sysinit.target and the rest) are the host's.
    shutil.copytree("/lib/systemd/system", f"{root}/lib/systemd/system", symlinks=True, dirs_exist_ok=True,
                    ignore=lambda folder, names: [n for n in names if n == "veldrisa-server.service"])
    env = dict(os.environ, MANPATH=f"{root}/usr/share/man")
    verify = run("systemd-analyze", "verify", f"--root={root}", "/" + UNIT, env=env)
    check("systemd-analyze verify finds nothing to say", verify.returncode == 0 and not verify.stderr.strip(),
          verify.stderr.strip())
    security = run("systemd-analyze", "security", "--offline=true", "--threshold=20", f"--root={root}",
                   "veldrisa-server.service")
    level = re.search(r"Overall exposure level for veldrisa-server.service: (\S+ \S+)", security.stdout)
    check("and rates its exposure at 2.0 or less", security.returncode == 0 and level,
          security.stdout[-300:] + security.stderr)
    if level:
        print(f"    exposure: {level.group(1)}")


def scratch_config(root, work, data):
    """The packaged configuration with its address and data folder moved to scratch paths."""
    text = open(f"{root}/{CONFIG}").read()
    text = re.sub(r"^address = .*$", "address = 127.0.0.1", text, flags=re.M)
    text = re.sub(r"^data = .*$", f"data = {data}", text, flags=re.M)
    path = f"{work}/server.conf"
    open(path, "w").write(text)
    return path


def start(server, config, port):
    proc = subprocess.Popen([server, "--config", config, "--port", str(port)], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True)
    said = proc.stdout.readline()
    check("the packaged server starts with the packaged configuration, --port winning over its port",
          said.strip() == f"veldrisa-server: escuchando en 127.0.0.1:{port}", said or proc.stderr.read())
    return proc


def fetch(port, path):
    """The status of an HTTPS GET to the server, its self-signed certificate accepted."""
    context = ssl.create_default_context()
    context.check_hostname = False
    context.verify_mode = ssl.CERT_NONE
    connection = http.client.HTTPSConnection("127.0.0.1", port, timeout=10, context=context)
    try:
        connection.request("GET", path)
        return connection.getresponse().status
    finally:
        connection.close()


def journal_lines(data):
    db = sqlite3.connect(f"file:{data}/veldrisa-partidas.sqlite?mode=ro", uri=True)
    try:
        intact = db.execute("PRAGMA integrity_check").fetchone()[0] == "ok"
        return intact, db.execute("SELECT count(*) FROM mesas").fetchone()[0], \
            db.execute("SELECT count(*) FROM diario").fetchone()[0]
    finally:
        db.close()


def play_and_stop(server, config, data):
    port = free_port()
    proc = start(server, config, port)
    try:
        check("its self-signed certificate is made in the data folder",
              os.path.exists(f"{data}/veldrisa-server.crt") and os.path.exists(f"{data}/veldrisa-server.key"))
        page, fire = fetch(port, "/"), fetch(port, "/sonidos/fuego.wav")
        check("it serves the browser seat's page and the room sounds from its share folder",
              page == 200 and fire == 200, f"page {page}, sound {fire}")
        ana = Client(port)
        ana.send('{"type":"hello","version":1,"client":"bot"}')
        token = ana.receive()["token"]
        ana.send('{"type":"create_table","name":"Ana","private":false,"time_limit":0}')
        ana.receive()
        ana.send('{"type":"claim","character":3}')
        ana.send('{"type":"start"}')
        report = ana.until(lambda m: m.get("type") == "say" and "aspirantes" in m.get("text", ""))
        check("one player connects, starts a game and hears the first report", report is not None)
        ana.send('{"type":"key","key":"SPACE"}')
        check("and the day goes on to the room choice", ana.until(lambda m: m.get("type") == "say" and (
            "es su turno" in m["text"] or "Turno de" in m["text"]), limit=100) is not None)
        sent = time.monotonic()
        proc.send_signal(signal.SIGTERM)
        bye = ana.until(lambda m: m.get("type") == "goodbye")
        check("SIGTERM says goodbye", bye is not None and bye["reason"] == "shutdown")
        ana.close()
        status = proc.wait(timeout=40)
        took = time.monotonic() - sent
        check("and the server ends with status 0 once the player answers the close, in under 5 s",
              status == 0 and took < 5, f"status {status} after {took:.1f} s")
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
    intact, tables, lines = journal_lines(data)
    check("the journal is intact: one table, its inputs kept", intact and tables == 1 and lines > 0,
          f"integrity {intact}, {tables} tables, {lines} lines")
    return token


def come_back(server, config, token):
    port = free_port()
    proc = start(server, config, port)
    try:
        ana = Client(port)
        ana.send('{"type":"hello","version":1,"client":"bot","token":"%s"}' % token)
        back = ana.receive()
        history = ana.receive()
        check("started again, the player comes back to the same game",
              back.get("token") == token and history.get("type") == "history" and
              history["summary"].startswith("Ha vuelto a la partida."))
        proc.send_signal(signal.SIGTERM)
        ana.until(lambda m: m.get("type") == "goodbye")
        ana.close()
        proc.wait(timeout=40)
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()


def bad_config(server, config):
    with open(config, "a") as f:
        f.write("prot = 7531\n")
    refused = run(server, "--config", config, timeout=20)
    lines = len(open(config).read().splitlines())
    check("a mistyped key is refused at start, naming its line",
          refused.returncode == 2 and f"{config}, línea {lines}: la clave «prot» no existe" in refused.stderr,
          refused.stderr.strip())


def main(config):
    work = tempfile.mkdtemp()
    try:
        deb = build(os.path.realpath(config), work)
        root = f"{work}/root"
        run("dpkg-deb", "-x", deb, root)
        check_package(deb, root)
        check_unit(root)
        data = f"{work}/data"
        os.mkdir(data, 0o750)
        scratch = scratch_config(root, work, data)
        server = f"{root}/{SERVER}"
        token = play_and_stop(server, scratch, data)
        come_back(server, scratch, token)
        bad_config(server, scratch)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
