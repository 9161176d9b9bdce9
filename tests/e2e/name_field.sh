#!/bin/bash
# The name field as a screen reader's text field, in the real game on a virtual display: what each
# key made the game say, read from the voice file that takes the voice's place.
#
# Usage: name_field.sh path/to/veldrisa
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../support/name_field.sh"

outside() {
    export SDL_AUDIODRIVER=dummy
    on_display "$1"
    echo "heard while the field was open:"
    field_texts "$work/voice.txt" | sed 's/^/    /'
    expect "each key's feedback, in order" diff <(field_texts "$work/voice.txt") <(printf '%s\n' "${field_heard[@]}")
}

session() {
    VELDRISA_VOICE_FILE=$work/voice.txt timeout -k 2 30 "$1" 2>"$work/err.txt" &
    local pid=$!
    focus_game || bad "the game's window never showed"
    sleep 1
    type_field_keys
    xdotool key Escape
    wait "$pid" || true
}

run_check "$@"
