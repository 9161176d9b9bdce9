#!/bin/bash
# The game beside a corrupt room sound and two missing ones: one warning naming each bad file,
# and the game goes on, heard and shown, until a close request ends it with status 0.
#
# Usage: bad_sounds.sh path/to/veldrisa
# The executable is copied into a folder of its own, where it looks for its sounds: fuego.wav
# is random bytes, "Vaso rompiéndose.mp3" is the real one, the other two are missing. On a
# virtual display, Enter opens the game and Space moves the day on, typed with xdotool; what
# the game plays goes to a file through SDL's disk audio driver.
source "$(dirname "$0")/lib.sh"

outside() {
    local game=$1 assets
    assets=$(dirname "$(realpath "$0")")/../../assets
    mkdir "$work/game"
    cp "$game" "$work/game/veldrisa"
    head -c 65536 /dev/urandom >"$work/game/fuego.wav"
    cp "$assets/Vaso rompiéndose.mp3" "$work/game/"

    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" on_display "$work/game/veldrisa"
    cat "$work/report.txt"
    local err=$work/err.txt warnings
    warnings=$(grep -c "^Aviso" "$err" || true)
    echo "warnings on stderr:"
    grep "^Aviso" "$err" | sed 's/^/    /'
    expect "exit status 0 on a close request" [ "$(cat "$work/status")" -eq 0 ]
    expect "three warnings, no more" [ "$warnings" -eq 3 ]
    expect "one names the corrupt file" [ "$(grep -c '^Aviso: no se pudo cargar el sonido ".*/game/fuego.wav"' "$err")" -eq 1 ]
    for missing in "Pasar páginas.mp3" "Ronquido.mp3"; do
        expect "one says \"$missing\" is missing" \
            [ "$(grep -c "^Aviso: no se pudo cargar el sonido \"$missing\" (No such file or directory)" "$err")" -eq 1 ]
    done
    expect "none for the sound that is there" bash -c "! grep -q Vaso '$err'"
    expect "the game window followed the keys" [ "$(grep -c "^after .*: lit" "$work/report.txt")" -eq 3 ]
    # Speech measures about 0.08 RMS; silence is 0.
    local rms
    rms=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/audio.raw" -n trim "$(cat "$work/game-started")" stat 2>&1 |
        awk -F: '/RMS +amplitude/ { gsub(/ /, "", $2); print $2 }')
    echo "after Enter the game was heard at RMS $rms"
    expect "the game was heard after Enter" awk -v r="$rms" 'BEGIN { exit !(r > 0.02) }'
}

session() {
    local game=$1 shown next status=0 start began
    began=$(now_ms)
    timeout -k 2 25 "$game" 2>"$work/err.txt" &
    local pid=$!
    shown=$(await_screen "" 10) && echo "setup: $shown" >>"$work/report.txt"
    focus_game || true
    # Control silences the introduction, so that Enter need not wait for its end.
    for key in Control_L+Return space space; do
        [ "$key" = space ] ||
            awk -v ms="$(($(now_ms) - began))" 'BEGIN { printf "%.1f\n", ms / 1000 }' >"$work/game-started"
        # Keys wait for the speech before them, which takes its time.
        press_and_report "$key" 12
    done
    kill -TERM "$pid"
    wait "$pid" || status=$?
    echo "$status" >"$work/status"
}

run_check "$@"
