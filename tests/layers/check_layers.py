#!/usr/bin/env python3
"""The layers of the source tree, checked include by include.

The game (src/core) and the ports (src/ports) are plain C++: they may include the standard
library, utf8proc and each other's headers, never an adapter, the app, the replay tool or a
platform or engine header (SDL, espeak-ng, Windows). Inside the game a folder includes only
folders below it, in the order of CORE_FOLDERS; the ports include nothing of the game. The online
client (src/online) stands on the game and the ports alike, with nlohmann's JSON besides; nothing
below it includes it.

    check_layers.py SRC            checks the tree, lists every broken rule, exits 1 on any
    check_layers.py --planted SRC  plants forbidden includes in copies of the tree, one at a
                                   time, and exits 1 unless the check catches every one
"""

import pathlib
import re
import shutil
import sys
import tempfile

# Lowest first: a folder may include its own headers and those of the folders before it.
CORE_FOLDERS = ["common", "speech", "roster", "setup", "table", "cards", "play"]

STANDARD = set("""
algorithm any array atomic barrier bit bitset charconv chrono codecvt compare complex concepts
condition_variable coroutine deque exception execution expected filesystem format forward_list
fstream functional future initializer_list iomanip ios iosfwd iostream istream iterator latch
limits list locale map memory memory_resource mutex new numbers numeric optional ostream queue
random ranges ratio regex scoped_allocator semaphore set shared_mutex source_location span
sstream stack stdexcept stop_token streambuf string string_view syncstream system_error thread
tuple type_traits typeindex typeinfo unordered_map unordered_set utility valarray variant vector
version cassert cctype cerrno cfenv cfloat cinttypes climits clocale cmath csetjmp csignal
cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype
""".split())
LIBRARIES = {"utf8proc.h"}
ONLINE_LIBRARIES = {"nlohmann/json.hpp"}

# Named so that a failure says what was reached for.
ENGINE_HEADERS = [
    (re.compile(r"^SDL2?/|^SDL[_.]"), "SDL"),
    (re.compile(r"^espeak"), "espeak-ng"),
    (re.compile(r"(?i)^(windows|winuser|winbase|windef|winnt|winerror|wtypes|objbase|combaseapi|ole2|"
                r"oleauto|comdef|comip|atlbase|sapi|sphelper|mmsystem|mmreg|dsound|shlobj|shellapi|shlwapi|"
                r"commctrl|commdlg|winsock2?|ws2tcpip|wrl|mfapi|mfidl|mfplay|mfreadwrite|initguid|"
                r"propvarutil|timeapi|synchapi|processthreadsapi|direct\.h|io\.h|tchar)"), "Windows"),
]
UPPER_FOLDERS = ["platform/", "app/", "replay/", "bin/", "support/", "protocol/", "audience/", "server/", "online/",
                 "net/", "bot/"]

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def problem(layer, folder, quote, name):
    """Why this include breaks the layers, or None."""
    for pattern, what in ENGINE_HEADERS:
        if pattern.search(name):
            return f"a platform header ({what}) in the {layer}"
    if ".." in pathlib.PurePosixPath(name).parts:
        return "a path that climbs out of its include root"
    if layer == "online" and (name.startswith("online/") or name in ONLINE_LIBRARIES):
        return None
    for upper in UPPER_FOLDERS:
        if name.startswith(upper):
            return f"a layer above the {layer} ({upper.rstrip('/')})"
    if quote == "<":
        return None if name in STANDARD or name in LIBRARIES else f"a header of no library the {layer} may use"
    top = name.split("/", 1)[0]
    if top == "ports":
        return None
    if layer == "ports":
        return "the game, from the ports"
    if top not in CORE_FOLDERS:
        return "a header outside the game and its ports"
    if layer == "online":
        return None
    if CORE_FOLDERS.index(top) > CORE_FOLDERS.index(folder):
        return f"{top}/, a folder above {folder}/"
    return None


def broken_rules(src):
    src = pathlib.Path(src)
    found = []
    for layer, root in (("game", src / "core"), ("ports", src / "ports"), ("online", src / "online")):
        for path in sorted(root.rglob("*")):
            if path.suffix not in (".cpp", ".hpp", ".h", ".cc"):
                continue
            folder = path.relative_to(root).parts[0] if layer != "online" else "online"
            if layer == "game" and folder not in CORE_FOLDERS:
                found.append(f"{path}: the folder {folder}/ has no place in the order of the game's folders")
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                why = problem(layer, folder, m.group(1), m.group(2))
                if why:
                    found.append(f"{path}:{number}: {line.strip()}: {why}")
    return found


# Each planted include must be caught; the file it goes into, relative to src.
PLANTED = [
    ("core/table/mesa.hpp", "#include <SDL2/SDL.h>"),
    ("core/speech/voz.cpp", "#include <espeak-ng/speak_lib.h>"),
    ("core/common/texto.hpp", "#include <windows.h>"),
    ("core/play/resuelve_dia.cpp", "#include <sapi.h>"),
    ("core/cards/mazo.cpp", '#include "platform/sdl/key_map.hpp"'),
    ("core/setup/formini.cpp", '#include "app/programa.hpp"'),
    ("core/roster/personajes.cpp", '#include "replay/input.hpp"'),
    ("core/table/form1.hpp", '#include "../../app/programa.hpp"'),
    ("core/table/form1.hpp", '#include "play/despachador.hpp"'),
    ("core/common/generador.hpp", '#include "speech/voz.hpp"'),
    ("core/cards/informe.cpp", "#include <X11/Xlib.h>"),
    ("ports/ports/keys.hpp", '#include "table/mesa.hpp"'),
    ("core/play/despachador.cpp", '#include "protocol/messages.hpp"'),
    ("core/play/relevo.cpp", '#include "audience/seat_filter.hpp"'),
    ("ports/ports/platform.hpp", "#include <nlohmann/json.hpp>"),
    ("ports/ports/platform.hpp", "#include <SDL2/SDL_mixer.h>"),
    ("core/speech/voz.cpp", '#include "online/cliente.hpp"'),
    ("online/cliente.cpp", '#include "app/programa.hpp"'),
    ("online/mensajes.cpp", "#include <windows.h>"),
    ("online/cliente.hpp", '#include "platform/recording/connection.hpp"'),
    ("online/textos.cpp", "#include <boost/asio.hpp>"),
]


def planted(src):
    missed = 0
    with tempfile.TemporaryDirectory() as tmp:
        for relative, line in PLANTED:
            copy = pathlib.Path(tmp) / "src"
            shutil.rmtree(copy, ignore_errors=True)
            shutil.copytree(pathlib.Path(src) / "core", copy / "core")
            shutil.copytree(pathlib.Path(src) / "ports", copy / "ports")
            shutil.copytree(pathlib.Path(src) / "online", copy / "online")
            target = copy / relative
            target.write_text(line + "\n" + target.read_text(encoding="utf-8"), encoding="utf-8")
            caught = [f for f in broken_rules(copy) if line in f]
            if caught:
                print(f"caught: {caught[0].replace(str(copy) + '/', '')}")
            else:
                print(f"MISSED: {line} in {relative}")
                missed += 1
    return missed


def main(args):
    if args[:1] == ["--planted"]:
        return 1 if planted(args[1]) else 0
    found = broken_rules(args[0])
    for f in found:
        print(f)
    if found:
        print(f"{len(found)} include(s) break the layers (tests/layers/check_layers.py says which may go where)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
