#!/bin/bash
# The game with no audio device: it runs, says so once on stderr, its windows follow the keys,
# and a close request ends it with status 0.
#
# Usage: no_audio.sh path/to/veldrisa
# SDL is asked for an audio driver that does not exist. Keys are typed with xdotool into the
# game on a virtual display, whose screen is read back after each of them.
source "$(dirname "$0")/lib.sh"

outside() {
    game=$1
    SDL_AUDIODRIVER=no-such-driver on_display "$game"
    cat "$work/report.txt"
    local err=$work/err.txt
    expect "exit status 0 on a close request" [ "$(cat "$work/status")" -eq 0 ]
    expect "exactly one line on stderr" [ "$(wc -l <"$err")" -eq 1 ]
    expect "it warns that the game goes on in silence" grep -q "^Aviso: no hay salida de sonido (.*); el juego sigue en silencio.$" "$err"
    expect "the setup screen was drawn" grep -q "^setup: lit" "$work/report.txt"
    expect "the window followed all five keys" [ "$(grep -c "^after .*: lit" "$work/report.txt")" -eq 5 ]
}

session() {
    local game=$1 shown next status=0 start
    timeout -k 2 25 "$game" 2>"$work/err.txt" &
    local pid=$!
    # Lines start with "no change" when the screen did not follow.
    shown=$(await_screen "" 10) && echo "setup: $shown" >>"$work/report.txt"
    focus_game || true
    # Enter opens the game with the computer playing everyone; each Space moves the day on.
    for key in Return space space space space; do
        press_and_report "$key" 5
    done
    kill -TERM "$pid"
    wait "$pid" || status=$?
    echo "$status" >"$work/status"
}

run_check "$@"
