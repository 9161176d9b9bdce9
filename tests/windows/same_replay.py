"""The Windows replay tool under Wine against the Linux one: the same bytes on every script."""

import argparse
import json
import os
import random
import shlex
import subprocess
import sys
import time

AQUI = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(AQUI, "..", "oracle"))
import compare  # noqa: E402  (the repository's scripts and the differential test's generator)


def ejecuta(orden, entrada):
    r = subprocess.run(orden, input=entrada.encode("utf-8"), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                       timeout=120)
    return r.returncode, r.stdout, r.stderr


def sin_carpeta(salida, carpeta, separador):
    """The program's folder, which differs by platform, written as one placeholder."""
    escrita = json.dumps(carpeta + separador, ensure_ascii=False)[1:-1].encode("utf-8")
    return salida.replace(escrita, b"<folder>/")


def guiones(cuantos):
    for n in sorted(os.listdir(compare.GUIONES)):
        if n.endswith(".txt"):
            with open(os.path.join(compare.GUIONES, n), encoding="utf-8") as f:
                yield "scripts/" + n, f.read()
    rng = random.Random(20240601)
    for k in range(cuantos):
        yield "generated-%d" % k, compare.guion_aleatorio(rng)


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--linux", required=True, help="the Linux replay tool")
    ap.add_argument("--windows", required=True, help="the Windows replay tool")
    ap.add_argument("--wine", required=True, help="the command that runs a Windows program")
    ap.add_argument("--count", type=int, default=150, help="generated scripts, as the differential test makes them")
    op = ap.parse_args()

    linux, windows = os.path.realpath(op.linux), os.path.realpath(op.windows)
    carpeta_linux = os.path.dirname(linux)
    carpeta_windows = "Z:" + os.path.dirname(windows).replace("/", "\\")
    inicio = time.monotonic()
    iguales = distintos = lineas = 0
    for nombre, texto in guiones(op.count):
        args = compare.cabecera(texto)
        rl, out_l, err_l = ejecuta([linux] + args, texto)
        rw, out_w, err_w = ejecuta([op.wine, windows] + args, texto)
        out_l, out_w = sin_carpeta(out_l, carpeta_linux, "/"), sin_carpeta(out_w, carpeta_windows, "\\")
        lineas += out_l.count(b"\n")
        if (rl, out_l, err_l) == (rw, out_w, err_w):
            iguales += 1
            continue
        distintos += 1
        print("%s (args %s): exit %d / %d" % (nombre, shlex.join(args), rl, rw))
        for parte, a, b in (("stdout", out_l, out_w), ("stderr", err_l, err_w)):
            la, lb = a.split(b"\n"), b.split(b"\n")
            for i in range(max(len(la), len(lb))):
                x = la[i] if i < len(la) else b"(none)"
                y = lb[i] if i < len(lb) else b"(none)"
                if x != y:
                    print("   %s line %d\n   linux   %r\n   windows %r" % (parte, i + 1, x[:300], y[:300]))
                    break
    print("%d scripts compared, %d output lines, %.1f s" % (iguales + distintos, lineas, time.monotonic() - inicio))
    print("%d passed, %d failed" % (iguales, distintos))
    return 1 if distintos else 0


if __name__ == "__main__":
    sys.exit(main())
