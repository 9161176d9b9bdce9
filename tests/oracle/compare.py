# Differential test: runs the rules model and the scripted-play tool on the same scripts and compares their events.

import argparse
import json
import os
import random
import shlex
import subprocess
import sys
import tempfile
import time

AQUI = os.path.dirname(os.path.abspath(__file__))
MODELO = os.path.join(AQUI, "model.py")
GUIONES = os.path.join(AQUI, "scripts")


def cabecera(texto):
    """Command-line arguments written in a script's '# args:' comment lines."""
    args = []
    for linea in texto.splitlines():
        if linea.startswith("# args:"):
            args += shlex.split(linea[len("# args:"):])
    return args


def ejecuta(orden, entrada, limite=60):
    """Exit status, stdout and stderr; a run that hangs counts as exit status -1 with what it wrote so far."""
    try:
        r = subprocess.run(orden, input=entrada.encode("utf-8"), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                           timeout=limite)
    except subprocess.TimeoutExpired as e:
        out = (e.stdout or b"").decode("utf-8", errors="replace")
        return -1, out, "no end after %d s" % limite
    return r.returncode, r.stdout.decode("utf-8", errors="replace"), r.stderr.decode("utf-8", errors="replace")


def eventos(salida):
    """Each output line as a parsed object, so that escaping choices do not count as differences."""
    res = []
    for linea in salida.splitlines():
        try:
            res.append(json.loads(linea))
        except ValueError:
            res.append({"unparsable line": linea})
    return res


def resumen(ev, ancho=400):
    t = json.dumps(ev, ensure_ascii=False)
    return t if len(t) <= ancho else t[:ancho] + "..."


def diferencia_estado(a, b):
    """For two snapshots, the names of the fields that differ, to make a report readable."""
    if not (isinstance(a, dict) and isinstance(b, dict) and a.get("ev") == "state" == b.get("ev")):
        return ""
    campos = []
    for k in list(a) + [k for k in b if k not in a]:
        if a.get(k) != b.get(k):
            if k == "Personajes" and isinstance(a.get(k), list) and isinstance(b.get(k), list):
                for i, (x, y) in enumerate(zip(a[k], b[k])):
                    for f in x:
                        if x.get(f) != y.get(f):
                            campos.append("Personajes[%d].%s: %r vs %r" % (i, f, y.get(f), x.get(f)))
            else:
                campos.append("%s: %r vs %r" % (k, b.get(k), a.get(k)))
    return "; ".join(campos)


def linea_causante(texto, args, replay, indice):
    """The input line whose handling wrote output line indice (0-based), found by bisecting prefixes."""
    lineas = texto.splitlines(keepends=True)
    bajo, alto = 0, len(lineas)
    while bajo < alto:
        medio = (bajo + alto) // 2
        _, out, _ = ejecuta([replay] + args, "".join(lineas[:medio]))
        if len(out.splitlines()) > indice:
            alto = medio
        else:
            bajo = medio + 1
    if bajo == 0:
        return "the start of the program"
    return "input line %d: %s" % (bajo, lineas[bajo - 1].rstrip("\r\n"))


def compara(nombre, texto, replay, carpeta):
    """None when both sides agree, else a report of the first difference."""
    args = cabecera(texto)
    rc_r, out_r, err_r = ejecuta([replay] + args, texto)
    rc_m, out_m, err_m = ejecuta([sys.executable, MODELO, "--folder", carpeta] + args, texto)
    ev_r, ev_m = eventos(out_r), eventos(out_m)
    informe = []
    for i in range(max(len(ev_r), len(ev_m))):
        a = ev_r[i] if i < len(ev_r) else None
        b = ev_m[i] if i < len(ev_m) else None
        if a != b:
            informe.append("%s (args %s): first difference at output line %d, written for %s"
                           % (nombre, shlex.join(args), i + 1, linea_causante(texto, args, replay, i)))
            for j in range(max(0, i - 3), i):
                informe.append("   same  %s" % resumen(ev_r[j]))
            informe.append("   tool  %s" % ("(no line)" if a is None else resumen(a, 4000)))
            informe.append("   model %s" % ("(no line)" if b is None else resumen(b, 4000)))
            detalle = diferencia_estado(a, b)
            if detalle:
                informe.append("   fields (model vs tool): " + detalle)
            break
    if not informe and rc_r != rc_m:
        informe.append("%s (args %s): exit status tool %d, model %d" % (nombre, shlex.join(args), rc_r, rc_m))
    if informe:
        if err_r.strip():
            informe.append("   tool stderr: " + err_r.strip()[:500])
        if err_m.strip():
            informe.append("   model stderr: " + err_m.strip()[:500])
        return "\n".join(informe), len(ev_r)
    return None, len(ev_r)


# ---------------------------------------------------------------------------
# Random scripts, weighted towards keys that move a game on.

NOMBRES_RAROS = ["Ana", "Zoë", "  con blancos  ", "a;b, 03; 07;", "Ñandú", "xy", "#no es comentario",
                 "Tom", "名前", "e\u0301"]

TECLAS_JUEGO = [
    ("SPACE", 30), ("1", 14), ("2", 12), ("3", 8), ("4", 6), ("CTRL+1", 3), ("CTRL+2", 3), ("F2", 3),
    ("0", 2), ("5", 1), ("9", 1), ("H", 2), ("C", 3), ("P", 3), ("F5", 2), ("F6", 2), ("CTRL", 2),
    ("F7", 1), ("F8", 1), ("SHIFT+F7", 1), ("CTRL+F8", 1), ("F9", 1), ("F10", 1), ("KP1", 1), ("F4", 1),
    ("SHIFT+SPACE", 1), ("ALT+2", 1), ("A", 1), ("STATE", 6),
]

TECLAS_INICIO = [
    ("LEFT", 4), ("RIGHT", 6), ("UP", 2), ("DOWN", 3), ("SPACE", 6), ("F2", 2), ("CTRL", 1), ("F7", 1),
    ("F8", 1), ("ALT+F7", 1), ("F9", 1), ("F10", 1), ("5", 1), ("F5", 1), ("STATE", 2),
]


def elige(rng, tabla):
    total = sum(p for _, p in tabla)
    x = rng.uniform(0, total)
    for t, p in tabla:
        x -= p
        if x <= 0:
            return t
    return tabla[-1][0]


TECLAS_CAMPO = [
    ("LEFT", 4), ("RIGHT", 4), ("HOME", 2), ("END", 2), ("BACKSPACE", 4), ("DELETE", 3), ("UP", 1), ("DOWN", 1),
    ("CTRL+LEFT", 2), ("CTRL+RIGHT", 2), ("CTRL+BACKSPACE", 2), ("CTRL+DELETE", 2), ("CTRL", 1), ("F1", 1),
    ("TAB", 1), ("F5", 1), ("A", 1),
]
ESCRITOS = ["a", "B", " ", "ñ", "É", "xy z", "\u00a0", "\u200b", "e\u0301", "名", "\x01", "😀", "a" * 60]


def edita_campo(rng):
    """The name field driven key by key, then closed: FIELD and TYPE lines."""
    lineas = []
    for _ in range(rng.randint(0, 25)):
        if rng.random() < 0.5:
            lineas.append("TYPE " + rng.choice(ESCRITOS))
        else:
            lineas.append("FIELD " + elige(rng, TECLAS_CAMPO))
    lineas.append(rng.choice(["FIELD ENTER", "FIELD ENTER", "FIELD ESC", "TEXT Ana", "CANCEL"]))
    return lineas


def guion_aleatorio(rng):
    lineas = []
    args = ["--seed", str(rng.randrange(1 << 32))]
    if rng.random() < 0.3:
        for _ in range(rng.randint(1, 4)):
            args += ["--voice", rng.choice(["Voz A", "Voz B", "", "Otra voz"])]
    lineas.append("# args: " + shlex.join(args))
    controlados = rng.sample(range(1, 11), rng.choice([0, 1, 1, 2, 2, 3, 4, 10]))
    cursor = 1
    for _ in range(rng.randint(0, 12)):
        t = elige(rng, TECLAS_INICIO)
        lineas.append(t)
        if t in ("LEFT", "UP"):
            cursor = 10 if cursor == 1 else cursor - 1
        elif t in ("RIGHT", "DOWN"):
            cursor = 1 if cursor == 10 else cursor + 1
        elif t == "SPACE":
            if cursor in controlados:
                controlados.remove(cursor)
            else:
                controlados.append(cursor)
        elif t == "F2":
            if rng.random() < 0.5:
                lineas += edita_campo(rng)
            else:
                lineas.append(rng.choice(["CANCEL", "TEXT ", "TEXT " + rng.choice(NOMBRES_RAROS)]))
    for c in sorted(controlados):
        while cursor != c:
            lineas.append("RIGHT")
            cursor = 1 if cursor == 10 else cursor + 1
        lineas.append("SPACE")
        if rng.random() < 0.2:
            lineas.append("F2")
            lineas.append("TEXT " + rng.choice(NOMBRES_RAROS))
    lineas.append("ENTER")
    for _ in range(rng.randint(150, 700)):
        lineas.append(elige(rng, TECLAS_JUEGO))
    final = rng.random()
    if final < 0.1:
        lineas.append("ESC")
    elif final < 0.15:
        lineas.append("ALT+F4")
    lineas.append("STATE")
    return "\n".join(lineas) + "\n"


def main():
    ap = argparse.ArgumentParser(description="Compare the rules model with the scripted-play tool.")
    ap.add_argument("--replay", required=True, help="the scripted-play executable")
    ap.add_argument("--count", type=int, default=150, help="number of generated scripts")
    ap.add_argument("--seed", type=int, default=None, help="seed of the script generator (default: fixed)")
    ap.add_argument("--budget", type=float, default=40.0, help="seconds after which no new generated script starts")
    ap.add_argument("--keep", default=None, help="folder where differing generated scripts are written")
    op = ap.parse_args()

    replay = os.path.realpath(op.replay)
    carpeta = os.path.dirname(replay)
    fallos = 0
    n_guiones = 0
    n_eventos = 0
    inicio = time.monotonic()

    fijos = [os.path.join(GUIONES, n) for n in sorted(os.listdir(GUIONES)) if n.endswith(".txt")]
    for ruta in fijos:
        nombre = os.path.relpath(ruta, AQUI)
        with open(ruta, encoding="utf-8") as f:
            texto = f.read()
        informe, n = compara(nombre, texto, replay, carpeta)
        n_guiones += 1
        n_eventos += n
        if informe:
            fallos += 1
            print(informe)

    semilla = op.seed if op.seed is not None else 20240601
    rng = random.Random(semilla)
    guardar = op.keep or tempfile.mkdtemp(prefix="oracle-")
    for k in range(op.count):
        if time.monotonic() - inicio > op.budget:
            print("time budget reached after %d generated scripts" % k)
            break
        texto = guion_aleatorio(rng)
        nombre = "generated-%d-%d" % (semilla, k)
        informe, n = compara(nombre, texto, replay, carpeta)
        n_guiones += 1
        n_eventos += n
        if informe:
            fallos += 1
            ruta = os.path.join(guardar, nombre + ".txt")
            with open(ruta, "w", encoding="utf-8") as f:
                f.write(texto)
            print(informe)
            print("   script kept in " + ruta)

    print("%d scripts compared, %d tool events, %.1f s" % (n_guiones, n_eventos, time.monotonic() - inicio))
    print("%d passed, %d failed" % (n_guiones - fallos, fallos))
    return 1 if fallos else 0


if __name__ == "__main__":
    sys.exit(main())
