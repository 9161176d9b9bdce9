#!/bin/bash
# The Linux package as a player would get it: built by CPack, checked by lintian, unpacked into
# a scratch root, and the game started from there on a virtual display, where it must speak
# and find its room sounds.
#
# Usage: check_deb.sh path/to/CPackConfig.cmake
# Needs cpack, dpkg-deb, lintian, xvfb-run, xdotool and sox.
set -euo pipefail

config=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$(realpath "$0")")/../support/checks.sh"

cpack -G DEB --config "$config" -B "$work/out" >"$work/cpack.txt" 2>&1 || { cat "$work/cpack.txt"; exit 1; }
deb=$(ls "$work"/out/veldrisa_*.deb)
echo "package: ${deb##*/}, $(stat -c %s "$deb") bytes"

# lintian refuses to run as root without saying so on every call; its verdict is the status.
lintian --fail-on error --suppress-tags binary-has-unneeded-section "$deb" >"$work/lintian.txt" 2>&1 ||
    bad "lintian reports errors: $(cat "$work/lintian.txt")"
sed 's/^/    lintian: /' "$work/lintian.txt" | grep -v "running with root" || true

root=$work/root
dpkg-deb -x "$deb" "$root"
has_line() { grep -qx "$1" "$2"; }
expect "the game under the games prefix" test -x "$root/usr/games/veldrisa"
expect "and nothing of the server's package" bash -c "! dpkg-deb -c '$deb' | grep -q -e veldrisa-server -e /etc/"
expect "a desktop entry in the Game category" grep -q '^Categories=.*\bGame;' "$root/usr/share/applications/veldrisa.desktop"
expect "the desktop entry starts the game and names its icon" \
    has_line "Icon=veldrisa" "$root/usr/share/applications/veldrisa.desktop"
expect "an icon" test -s "$root/usr/share/icons/hicolor/scalable/apps/veldrisa.svg"
expect "AppStream metadata launching the desktop entry" \
    grep -q '<launchable type="desktop-id">veldrisa.desktop</launchable>' "$root"/usr/share/metainfo/*.metainfo.xml
expect "a manual page in English" bash -c "zcat '$root/usr/share/man/man6/veldrisa.6.gz' | grep -q '^.SH NAME'"
expect "a manual page in Spanish" bash -c "zcat '$root/usr/share/man/es/man6/veldrisa.6.gz' | grep -q '^.SH NOMBRE'"
for sound in fuego.wav "Vaso rompiéndose.mp3" "Pasar páginas.mp3" Ronquido.mp3; do
    expect "$sound found beside the game" test -s "$root/usr/lib/games/veldrisa/$sound"
done
if command -v desktop-file-validate >/dev/null; then
    expect "desktop-file-validate accepts the entry" desktop-file-validate "$root/usr/share/applications/veldrisa.desktop"
fi
if command -v appstreamcli >/dev/null; then
    expect "appstreamcli accepts the metadata" appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
fi

# The installed game: its introduction, then Enter and the first report over the fire.
cat >"$work/session.sh" <<'INNER'
#!/bin/bash
game=$1
timeout --preserve-status -s TERM -k 5 9 "$game" &
pid=$!
sleep 3
id=$(xdotool search --onlyvisible --class '^veldrisa$' 2>/dev/null | head -1)
[ -n "$id" ] && xdotool windowfocus --sync "$id" key Return
wait "$pid"
INNER
chmod +x "$work/session.sh"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
status=0
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" \
    xvfb-run -a -s "-screen 0 1280x800x24" "$work/session.sh" "$root/usr/games/veldrisa" \
    >"$work/out.txt" 2>"$work/err.txt" || status=$?
expect "the installed game ends cleanly on a close request" [ "$status" -eq 0 ]
rms() { sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/audio.raw" -n "$@" stat 2>&1 | awk '/RMS +amplitude/ { print $3 }'; }
first=$(rms trim 0 2.5)
after=$(rms trim 3.2 3)
echo "    captured: RMS $first in the introduction, $after after Enter"
expect "the installed game speaks" awk -v r="$first" 'BEGIN { exit !(r > 0.02) }'
expect "and goes on speaking over the fire after Enter" awk -v r="$after" 'BEGIN { exit !(r > 0.02) }'
expect "no warning: the room sounds were found" bash -c "! grep -q Aviso '$work/err.txt'"
if ((failures > 0)); then
    echo "--- stderr of the game:"
    cat "$work/err.txt"
    exit 1
fi
