#!/bin/bash
# The real game on a virtual display: its introduction must be heard as speech, and a close
# request must end it cleanly.
#
# Usage: intro_audio.sh path/to/veldrisa [screenshot.png]
# Needs xvfb-run and sox; with a second argument and ImageMagick's `import`, it also saves a
# picture of the setup screen. SDL's disk audio driver writes what the game plays to a file,
# in the format the game asks for (44.1 kHz, signed 16-bit, stereo); the game is sent SIGTERM
# (which SDL turns into a close request) after a few seconds.
set -euo pipefail

game=$(realpath "$1")
screenshot=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/session.sh" <<'INNER'
#!/bin/bash
game=$1 screenshot=$2
timeout --preserve-status -s TERM -k 5 5 "$game" &
pid=$!
if [ -n "$screenshot" ] && command -v import >/dev/null; then
    sleep 2.5
    import -window root "$screenshot"
fi
wait "$pid"
INNER
chmod +x "$work/session.sh"

# In a sanitizer build the D-Bus library that SDL opens for the desktop session still holds
# memory at exit; leaks of the game's own code are for the unit tests to find.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

status=0
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" \
    xvfb-run -a -s "-screen 0 1280x800x24" "$work/session.sh" "$game" "$screenshot" \
    >"$work/out.txt" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    echo "FAIL: the game ended with status $status on a close request"
    cat "$work/out.txt"
    exit 1
fi

raw=(-t raw -r 44100 -e signed -b 16 -c 2 "$work/audio.raw")
stat_of() { sox "${raw[@]}" -n "$@" stat 2>&1; }
value() { awk -F: -v key="$1" '$1 ~ key { gsub(/ /, "", $2); print $2 }'; }

all=$(stat_of)
length=$(value "Length" <<<"$all")
rms=$(value "RMS +amplitude" <<<"$all")
first_rms=$(stat_of trim 0 1 | value "RMS +amplitude")
echo "captured ${length} s, RMS ${rms}; first second RMS ${first_rms}"

fail=0
awk -v l="$length" 'BEGIN { exit !(l >= 3) }' || { echo "FAIL: less than 3 s of audio captured"; fail=1; }
# Speech measures about 0.08 here; silence is 0.
awk -v r="$rms" 'BEGIN { exit !(r > 0.02) }' || { echo "FAIL: the introduction was not heard"; fail=1; }
awk -v r="$first_rms" 'BEGIN { exit !(r > 0.01) }' || { echo "FAIL: the introduction did not start at once"; fail=1; }
exit "$fail"
