#!/bin/bash
# Keys against the real window: a key held while the game waits for its speech counts as one
# press, so the game answers the next key within seconds of the wait's end (during the
# introduction, and on the setup screen); a burst of arrows on the setup screen reaches the game
# whole, and the cursor lands where the count says.
#
# Usage: key_queue.sh path/to/veldrisa [arrows]
# On a virtual display, with keys typed through xdotool (the X server repeats a held key as a
# keyboard does); the cursor's place is read from the screen. SDL's dummy audio driver plays
# the speech in real time, so the waits last as long as they would for a player.
source "$(dirname "$0")/lib.sh"

outside() {
    game=$1
    SDL_AUDIODRIVER=dummy on_display "$game" introduction
    cat "$work/report.txt"
    expect "held through the introduction: the game ended within 10 s of the key's release" \
        grep -q "^introduction: ended" "$work/report.txt"

    SDL_AUDIODRIVER=dummy on_display "$game" setup "${2:-2003}"
    cat "$work/report.txt"
    expect "exit status 0 on a close request" [ "$(cat "$work/status")" -eq 0 ]
    expect "the next key was answered within 8 s of the held key's release" grep -q "^held: answered" "$work/report.txt"
    expect "after the burst the cursor is where the count says" grep -q "^burst: landed" "$work/report.txt"
}

band() { field band "$(screen)"; }

# Prints the cursor's row once it is no longer $1; fails after $2 seconds.
await_band() {
    local start=$(now_ms) now
    while :; do
        now=$(band)
        if [ "$now" != "$1" ] && [ "$now" -ge 0 ]; then
            echo "$now"
            return 0
        fi
        (($(now_ms) - start < $2 * 1000)) || return 1
        sleep 0.05
    done
}

# Enter waits for the introduction to be heard to its end before the game's window opens; Space
# is held meanwhile. Each Space the game then sees moves the day on, and every few of them wait
# for the morning news: Escape, pressed on release, must not wait behind them. The introduction
# goes on for about six seconds after the release; the game then ends at once.
introduction() {
    local game=$1 released status=0
    : >"$work/report.txt"
    timeout -k 2 120 "$game" 2>"$work/err.txt" &
    local pid=$!
    await_screen "" 10 >/dev/null
    focus_game || true
    xdotool key Return keydown space
    sleep 3
    xdotool keyup space
    released=$(now_ms)
    xdotool key Escape
    wait "$pid" || status=$?
    local took=$(($(now_ms) - released))
    if ((status == 0 && took <= 10000)); then
        echo "introduction: ended $took ms after the release" >>"$work/report.txt"
    else
        echo "introduction: status $status, $took ms after the release" >>"$work/report.txt"
    fi
}

session() {
    if [ "$2" = introduction ]; then
        introduction "$1"
        return
    fi
    local game=$1 arrows=$3 status=0 first second line start released now stable last
    timeout -k 2 240 "$game" 2>"$work/err.txt" &
    local pid=$!
    : >"$work/report.txt"
    await_screen "" 10 >/dev/null
    focus_game || true
    first=$(await_band -1 5)
    xdotool key Right
    second=$(await_band "$first" 5)
    line=$((second - first))
    echo "cursor rows: 1 at $first, 2 at $second" >>"$work/report.txt"

    # Each Space toggles the character and then waits for that word to be heard before its hint.
    # The last of those waits ends a second or two after the release; slower builds take longer.
    xdotool keydown space
    sleep 3
    xdotool keyup space
    released=$(now_ms)
    xdotool key Left
    if now=$(await_band "$second" 60); then
        echo "held: answered after $(($(now_ms) - released)) ms" >>"$work/report.txt"
        (($(now_ms) - released <= 8000)) || sed -i 's/^held: answered/held: too late, answered/' "$work/report.txt"
    else
        echo "held: no answer within 60 s" >>"$work/report.txt"
    fi

    # The burst, from cursor 1; then the screen is read until the cursor stays put for three
    # readings in a row, a second or more apart (a reading takes a moment itself).
    start=$(now_ms)
    xdotool key --delay 0 $(yes Right | head -n "$arrows")
    echo "burst: $arrows arrows typed in $(($(now_ms) - start)) ms" >>"$work/report.txt"
    last=-2
    stable=0
    while ((stable < 2 && $(now_ms) - start < 200000)); do
        sleep 1
        now=$(band)
        if [ "$now" = "$last" ]; then stable=$((stable + 1)); else stable=0; fi
        last=$now
    done
    local expected=$((arrows % 10 + 1)) landed=$(((last - first) / line + 1))
    if [ "$landed" -eq "$expected" ]; then
        echo "burst: landed on $landed after $(($(now_ms) - start)) ms" >>"$work/report.txt"
    else
        echo "burst: cursor on $landed, expected $expected" >>"$work/report.txt"
    fi
    kill -TERM "$pid"
    wait "$pid" || status=$?
    echo "$status" >"$work/status"
}

run_check "$@"
