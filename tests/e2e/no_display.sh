#!/bin/bash
# The game started where there is no display: one clear error on stderr and status 1, at once.
#
# Usage: no_display.sh path/to/veldrisa
source "$(dirname "$0")/lib.sh"

# Runs the game with no display in reach and the video driver given (none: SDL's own choice).
attempt() {
    local name=$1 driver=$2 start status=0
    local video=(-u SDL_VIDEODRIVER)
    [ -z "$driver" ] || video=("SDL_VIDEODRIVER=$driver")
    start=$(now_ms)
    env -u DISPLAY -u WAYLAND_DISPLAY "${video[@]}" SDL_AUDIODRIVER=dummy \
        timeout -k 2 10 "$game" >"$work/out-$name.txt" 2>"$work/err-$name.txt" || status=$?
    local took=$(($(now_ms) - start)) err="$work/err-$name.txt"
    echo "$name: status $status after $took ms; stderr: $(cat "$err")"
    expect "$name: exit status 1" [ "$status" -eq 1 ]
    expect "$name: one line on stderr" [ "$(wc -l <"$err")" -eq 1 ]
    expect "$name: it says the display could not be started" grep -q "No se pudo iniciar la pantalla" "$err"
    expect "$name: nothing on stdout" [ ! -s "$work/out-$name.txt" ]
    expect "$name: within 5 s" [ "$took" -lt 5000 ]
}

outside() {
    game=$1
    attempt x11 x11
    # Left to itself SDL falls back to a window that nobody can see or type into.
    attempt any ""
}

run_check "$@"
