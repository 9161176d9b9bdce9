#!/bin/bash
# The game beside room sounds a hostile tester left for it, and with its folder gone: one
# warning naming each file refused, never a sound read from the current directory, and the game
# goes on, heard and shown, until a close request ends it with status 0.
#
# Usage: bad_sounds.sh path/to/veldrisa
# The executable is copied into a folder of its own, where it looks for its sounds. First:
# fuego.wav is a named pipe with no writer (it would block whoever opens it), "Vaso
# rompiéndose.mp3" is the real one, "Pasar páginas.mp3" is 400 MiB, Ronquido.mp3 is missing.
# Then: every sound in place, but the game is started from a folder holding two of them and
# its own folder is deleted before Enter. On a virtual display, Enter opens the game and Space
# moves the day on, typed with xdotool; what the game plays goes to a file through SDL's disk
# audio driver.
source "$(dirname "$0")/lib.sh"

assets=$(dirname "$(realpath "$0")")/../../assets

hostile_files() {
    local game=$1
    mkdir "$work/game" "$work/started-here"
    cp "$game" "$work/game/veldrisa"
    mkfifo "$work/game/fuego.wav"
    cp "$assets/Vaso rompiéndose.mp3" "$work/game/"
    truncate -s 400M "$work/game/Pasar páginas.mp3"
    cp "$assets/Ronquido.mp3" "$work/started-here/"

    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" on_display "$work/game/veldrisa" "$work/started-here"
    cat "$work/report.txt"
    local err=$work/err.txt warnings
    warnings=$(grep -c "^Aviso" "$err" || true)
    echo "warnings on stderr:"
    grep "^Aviso" "$err" | sed 's/^/    /'
    expect "exit status 0 on a close request" [ "$(cat "$work/status")" -eq 0 ]
    expect "three warnings, no more" [ "$warnings" -eq 3 ]
    expect "the pipe is refused unread" grep -q "^Aviso: no se pudo cargar el sonido \".*/game/fuego.wav\" (no es un archivo normal)" "$err"
    expect "the huge file is refused unread" grep -q "^Aviso: no se pudo cargar el sonido \".*/game/Pasar páginas.mp3\" (ocupa 400 MB;" "$err"
    expect "the missing one is looked for in the game's folder alone" \
        grep -q "^Aviso: no se pudo cargar el sonido \".*/game/Ronquido.mp3\" (no existe)" "$err"
    expect "none for the sound that is there" bash -c "! grep -q Vaso '$err'"
    expect "the game window followed the keys" [ "$(grep -c "^after .*: lit" "$work/report.txt")" -eq 3 ]
    # Speech measures about 0.08 RMS; silence is 0.
    local rms
    rms=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/audio.raw" -n trim "$(cat "$work/game-started")" stat 2>&1 |
        awk -F: '/RMS +amplitude/ { gsub(/ /, "", $2); print $2 }')
    echo "after Enter the game was heard at RMS $rms"
    expect "the game was heard after Enter" awk -v r="$rms" 'BEGIN { exit !(r > 0.02) }'
}

folder_gone() {
    local game=$1 name
    mkdir "$work/gone" "$work/started-there"
    cp "$game" "$work/gone/veldrisa"
    cp "$assets"/* "$work/gone/"
    cp "$assets/Pasar páginas.mp3" "$assets/Ronquido.mp3" "$work/started-there/"
    SDL_AUDIODRIVER=dummy on_display "$work/gone/veldrisa" "$work/started-there" --delete-folder
    local err=$work/err.txt
    echo "with the game's folder deleted, stderr:"
    sed 's/^/    /' "$err"
    expect "folder gone: exit status 0 on a close request" [ "$(cat "$work/status")" -eq 0 ]
    for name in "fuego.wav" "Vaso rompiéndose.mp3" "Pasar páginas.mp3" "Ronquido.mp3"; do
        expect "folder gone: \"$name\" looked for in the game's folder, not read from where it was started" \
            grep -q "^Aviso: no se pudo cargar el sonido \".*/gone/$name\" (no existe)" "$err"
    done
    expect "folder gone: the game window followed the keys" [ "$(grep -c "^after .*: lit" "$work/report.txt")" -eq 3 ]
}

outside() {
    hostile_files "$1"
    folder_gone "$1"
}

# The game started from the folder $2; with --delete-folder, its own folder is deleted once the
# setup screen shows.
session() {
    local game=$1 from=$2 shown next status=0 start began
    began=$(now_ms)
    : >"$work/report.txt"
    (cd "$from" && exec timeout -k 2 25 "$game" 2>"$work/err.txt") &
    local pid=$!
    shown=$(await_screen "" 10) && echo "setup: $shown" >>"$work/report.txt"
    [ "${3:-}" != --delete-folder ] || rm -rf "$(dirname "$game")"
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
