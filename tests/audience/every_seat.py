#!/usr/bin/env python3
"""The seat filter loses nothing: a seat that controls all ten characters receives, byte for byte,
what the replay tool writes without a seat, on every script of the differential test.

    every_seat.py REPLAY SCRIPTS_FOLDER
"""

import pathlib
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "oracle"))
from compare import cabecera as args_of  # noqa: E402  the scripts' "# args:" lines, read as the differential test reads them

ALL = "1,2,3,4,5,6,7,8,9,10"

def run(replay, args, script):
    r = subprocess.run([replay] + args, input=script.encode("utf-8"), capture_output=True, timeout=60)
    return r.returncode, r.stdout


def main(replay, folder):
    scripts = sorted(pathlib.Path(folder).glob("*.txt"))
    differ = 0
    for path in scripts:
        script = path.read_text(encoding="utf-8")
        args = args_of(script)
        if run(replay, args, script) != run(replay, args + ["--seat", ALL], script):
            print(f"FAIL: {path.name}: the seat of all ten characters receives something else")
            differ += 1
    print(f"{len(scripts)} scripts, {differ} different")
    return 1 if differ or not scripts else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
