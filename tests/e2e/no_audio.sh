#!/bin/bash
# The game with no audio device: a game played by ear cannot be played, so the player is told
# on stderr and in a message box, no game window shows, and the program ends with status 1.
# SDL's dummy audio driver, asked for by name, still plays.
#
# Usage: no_audio.sh path/to/veldrisa
# SDL is asked for an audio driver that does not exist. On SDL's dummy video driver the message
# box fails at once; on a virtual display it waits for a press of Enter, as a player would give it.
source "$(dirname "$0")/lib.sh"

outside() {
    game=$1
    local status=0 start took
    start=$(now_ms)
    SDL_AUDIODRIVER=no-such-driver SDL_VIDEODRIVER=dummy timeout -k 2 10 "$game" >"$work/out.txt" 2>"$work/err.txt" ||
        status=$?
    took=$(($(now_ms) - start))
    echo "no device: status $status after $took ms; stderr:"
    sed 's/^/    /' "$work/err.txt"
    expect "no device: exit status 1" [ "$status" -eq 1 ]
    expect "no device: said on stderr, with SDL's reason" grep -q "^No hay salida de sonido (.\+)$" "$work/err.txt"
    expect "no device: nothing on stdout" [ ! -s "$work/out.txt" ]
    expect "no device: within 5 s" [ "$took" -lt 5000 ]

    status=0
    SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy timeout --preserve-status -s TERM -k 2 3 "$game" 2>"$work/err-dummy.txt" || status=$?
    expect "the dummy driver asked for by name: the game runs until it is told to close" [ "$status" -eq 0 ]

    SDL_AUDIODRIVER=no-such-driver on_display "$game"
    echo "virtual display: $(cat "$work/report.txt")"
    expect "virtual display: the message box appeared, and only it" grep -q "^box ok" "$work/report.txt"
    expect "virtual display: the game's window never showed" grep -q "window hidden" "$work/report.txt"
    expect "virtual display: exit status 1 once the box is dismissed" [ "$(cat "$work/status")" -eq 1 ]
    expect "virtual display: said on stderr" grep -q "^No hay salida de sonido" "$work/err-x11.txt"
}

session() { message_box_session "$1"; }

run_check "$@"
