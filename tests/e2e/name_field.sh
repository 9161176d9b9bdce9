#!/bin/bash
# The name field as a screen reader's text field, in the real game on a virtual display: what
# each key made the game hand espeak-ng, read through the speech tap preloaded into it.
#
# Usage: name_field.sh path/to/veldrisa path/to/speech-tap.so
source "$(dirname "$0")/lib.sh"

# The texts handed to espeak-ng while the field was open, one a line: the tap writes
# "B <time> <text>", and the engine adds a space after each text so that a final mark is read.
field_texts() {
    sed -nE 's/^B [0-9]+ (.*) $/\1/p' "$work/heard.txt" |
        awk '/^cancelado$/ { open = 0 } open { print } /^escriba el nombre del personaje/ { open = 1 }'
}

outside() {
    game=$1
    tap=$(realpath "$2")
    export SDL_AUDIODRIVER=dummy
    on_display "$game" "$tap"
    echo "heard while the field was open:"
    field_texts | sed 's/^/    /'
    expect "each key's feedback, in order" diff <(field_texts) <(printf '%s\n' "mayúscula A" n a a "borrado n" \
        "mayúscula A" "en blanco" "borrado a" "mayúscula A" "borrado mayúscula A" "vacío")
}

session() {
    local game=$1 tap=$2
    LD_PRELOAD=$tap VELDRISA_BENCH_TAP_FD=3 timeout -k 2 30 "$game" 3>"$work/heard.txt" 2>"$work/err.txt" &
    local pid=$!
    focus_game || bad "the game's window never showed"
    sleep 1
    # F2 opens the field with the name selected; "Ana" replaces it. Left reaches the last "a",
    # Backspace deletes the "n" before it, Home reaches the "A", End the blank after the end;
    # Backspace deletes the last "a", Left reaches the "A" again, Delete removes it, and
    # Backspace finds the field empty.
    xdotool key F2
    sleep 0.5
    local key
    for key in shift+a n a Left BackSpace Home End BackSpace Left Delete BackSpace Escape Escape; do
        xdotool key "$key"
        sleep 0.25
    done
    wait "$pid" || true
}

run_check "$@"
