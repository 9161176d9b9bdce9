#!/bin/bash
# The game with espeak-ng's data missing, or with no Spanish voice in it: "No hay voces
# instaladas" on stderr, no game window, three falling tones heard (880, 587 and 392 Hz), status 1.
#
# Usage: no_voices.sh path/to/veldrisa
# The adapter starts espeak-ng with no path of its own, so espeak-ng honours ESPEAK_DATA_PATH;
# an empty folder there is data missing. What the game plays goes to a file (SDL's disk audio
# driver). On SDL's dummy video driver the message box fails at once; on a virtual display it
# waits for a press of Enter, as a player would give it.
source "$(dirname "$0")/lib.sh"

# The rough frequency of each tone heard, from the first sound on: the no-voice tones last
# 180, 180 and 420 ms with 70 ms between them.
tones() {
    local span
    for span in "0.03 0.12" "0.28 0.12" "0.55 0.3"; do
        sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -n remix 1 silence 1 0.005 2% trim $span stat 2>&1 |
            awk '/Rough +frequency/ { print $3 }'
    done | tr '\n' ' '
}
# The tones heard were the no-voice ones, each within 5 % of its frequency.
no_voice_tones() {
    local heard
    heard=$(tones "$1")
    echo "    tones heard: $heard Hz"
    awk -v h="$heard" 'BEGIN { n = split(h, f, " "); split("880 587 392", want, " ");
        if (n != 3) exit 1; for (i = 1; i <= 3; ++i) if (f[i] < want[i] * 0.95 || f[i] > want[i] * 1.05) exit 1 }'
}

# The game with this data folder on SDL's dummy video driver.
without_voices() {
    local name=$1 status=0 start took
    export ESPEAK_DATA_PATH=$2
    start=$(now_ms)
    SDL_VIDEODRIVER=dummy SDL_DISKAUDIOFILE="$work/audio-$name.raw" timeout -k 2 10 "$game" \
        >"$work/out-$name.txt" 2>"$work/err-$name.txt" || status=$?
    took=$(($(now_ms) - start))
    echo "$name: status $status after $took ms; stderr:"
    sed 's/^/    /' "$work/err-$name.txt"
    expect "$name: exit status 1" [ "$status" -eq 1 ]
    expect "$name: \"No hay voces instaladas\" on stderr" grep -qx "No hay voces instaladas" "$work/err-$name.txt"
    expect "$name: nothing on stdout" [ ! -s "$work/out-$name.txt" ]
    expect "$name: the no-voice tones heard" no_voice_tones "$work/audio-$name.raw"
    expect "$name: within 5 s" [ "$took" -lt 5000 ]
}

outside() {
    game=$1
    export SDL_AUDIODRIVER=disk
    mkdir "$work/no-data"
    without_voices "no data" "$work/no-data"

    # The real data, less the Spanish languages.
    local data
    for data in /usr/lib/*/espeak-ng-data /usr/share/espeak-ng-data; do [ -d "$data/lang/roa" ] && break; done
    if [ ! -d "$data/lang/roa" ]; then
        echo "no Spanish voice: skipped, espeak-ng's data folder was not found"
    else
        mkdir "$work/no-spanish"
        for f in "$data"/*; do [ "${f##*/}" = lang ] || ln -s "$f" "$work/no-spanish/"; done
        cp -r "$data/lang" "$work/no-spanish/lang"
        rm "$work/no-spanish"/lang/roa/es*
        without_voices "no Spanish voice" "$work/no-spanish"
    fi

    # Under the sanitizers SDL's X11 box, drawn by a child it forks, maps its window and then
    # mostly never draws it: a fault of that build alone, which a player never runs.
    if [ -n "${VELDRISA_SANITIZED:-}" ]; then
        echo "virtual display: skipped in the sanitizer build"
        return
    fi
    export ESPEAK_DATA_PATH=$work/no-data
    SDL_DISKAUDIOFILE="$work/audio-x11.raw" on_display "$game"
    echo "virtual display: $(cat "$work/report.txt")"
    expect "virtual display: the message box appeared, and only it" grep -q "^box ok" "$work/report.txt"
    expect "virtual display: the game's window never showed" grep -q "window hidden" "$work/report.txt"
    expect "virtual display: exit status 1 once the box is dismissed" [ "$(cat "$work/status")" -eq 1 ]
    expect "virtual display: \"No hay voces instaladas\" on stderr" grep -qx "No hay voces instaladas" "$work/err-x11.txt"
    expect "virtual display: the no-voice tones heard" no_voice_tones "$work/audio-x11.raw"
}

session() { message_box_session "$1"; }

run_check "$@"
