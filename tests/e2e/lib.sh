# Shared by the end-to-end fault checks: the game on a virtual display, what its screen shows, its keys.
#
# A check script sources this file, defines `outside` (run with the game's path as $1: it sets
# things up, runs the game, checks with `expect`) and, when it uses `on_display`, `session` (what
# happens on the virtual display), then ends with `run_check "$@"`. Both share the folder $work;
# Xvfb dumps its screen there, so that `screen` can tell what is drawn.

set -euo pipefail
e2e=$(dirname "$(realpath "${BASH_SOURCE[0]}")")

# In a sanitizer build the D-Bus library that SDL opens still holds memory at exit; leaks of
# the game's own code are for the unit tests to find.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
source "$e2e/../support/checks.sh"

# "lit N box X0 Y0 X1 Y1 digest D" for the virtual screen as it is now.
screen() { "$e2e/screen.py" "$work/Xvfb_screen0"; }
field() { awk -v k="$1" '{ for (i = 1; i < NF; ++i) if ($i == k) print $(i + 1) }' <<<"$2"; }

# Prints the screen once something is drawn on it that differs from the figures in $1 ("" for
# anything at all); after $2 seconds prints what is there and fails.
await_screen() {
    local before=$1 limit=$2 now start=$SECONDS
    while :; do
        now=$(screen)
        if [ "$(field lit "$now")" -gt 0 ] && [ "$(field digest "$now")" != "$(field digest "$before")" ]; then
            echo "$now"
            return 0
        fi
        if ((SECONDS - start >= limit)); then
            echo "$now"
            return 1
        fi
        sleep 0.2
    done
}

# The game's visible window, found by its class: the title's text type follows the locale
# espeak-ng sets on its own thread, and xdotool's search by name reads only some of them.
game_window() { xdotool search --onlyvisible --class '^veldrisa$' 2>/dev/null | head -1; }

# Gives the keyboard to the game's window once it is visible (within 30 s: a sanitizer build
# on a busy machine starts slowly); without a window manager, keys typed by xdotool go to the
# window that has the focus.
focus_game() {
    local id="" start=$SECONDS
    while [ -z "$id" ] && ((SECONDS - start < 30)); do
        id=$(game_window) || true
        [ -n "$id" ] || sleep 0.2
    done
    [ -n "$id" ] && xdotool windowfocus --sync "$id"
}

# Milliseconds since the epoch, for the timings reported.
now_ms() { date +%s%3N; }

# Presses a key (xdotool's names, "+" between keys pressed one after the other), notes in the
# report how long the window took to show something new, and leaves what it shows in $shown.
press_and_report() {
    local key=$1 seconds=$2 start next
    start=$(now_ms)
    xdotool key ${key/+/ }
    if next=$(await_screen "$shown" "$seconds"); then
        echo "after $key: $next ($(($(now_ms) - start)) ms)" >>"$work/report.txt"
    else
        echo "no change after $key: $next" >>"$work/report.txt"
    fi
    shown=$next
}

run_check() {
    if [ "${1:-}" = --on-display ]; then
        work=$2
        shift 2
        session "$@"
        return
    fi
    game=$(realpath "$1")
    shift
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    # A desktop session has one; without it the Wayland library complains on stderr, which
    # would blur the count of the game's own messages.
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        export XDG_RUNTIME_DIR=$work/runtime
        mkdir -m 700 "$XDG_RUNTIME_DIR"
    fi
    outside "$game" "$@"
    if ((failures > 0)); then
        echo "--- stderr of the game:"
        cat "$work"/err*.txt 2>/dev/null || true
        exit 1
    fi
}

# On a fresh virtual display of 1280x800, 24-bit, whose screen is dumped into $work.
on_display() {
    xvfb-run -a -s "-screen 0 1280x800x24 -fbdir $work" "$0" --on-display "$work" "$@" ||
        bad "the session on the virtual display ended with status $?"
    # xvfb-run does not wait for the server to go, and the server removes its screen dump as it
    # goes: the next session's server must not lose its own to it.
    local tries=0
    while [ -e "$work/Xvfb_screen0" ] && ((tries++ < 50)); do sleep 0.1; done
}

# The session of a game that must show a message box and nothing else: where the box is and
# whether the game's window showed go to $work/report.txt ("box ok" or "box wrong", then
# "window hidden" or "window visible"); Enter dismisses the box; the game's status goes to
# $work/status and its stderr to $work/err-x11.txt.
message_box_session() {
    local game=$1 status=0 shown box
    timeout -k 2 40 "$game" >/dev/null 2>"$work/err-x11.txt" &
    local pid=$!
    shown=$(await_screen "" 30) || true
    # The box is small and in the middle of the screen; the game's window would fill most of it.
    read -r x0 y0 x1 y1 <<<"$(awk '{ print $4, $5, $6, $7 }' <<<"$shown")"
    if ((x0 > 400 && x1 < 880 && y0 > 150 && y1 < 650)); then box="box ok"; else box="box wrong"; fi
    local hidden="window hidden"
    [ -z "$(game_window)" ] || hidden="window visible"
    echo "$box ($shown), $hidden" >"$work/report.txt"
    if [ "$box" = "box ok" ]; then
        # Without a window manager the keyboard goes to the window under the pointer.
        xdotool mousemove $(((x0 + x1) / 2)) $(((y0 + y1) / 2)) key Return
    else
        kill "$pid" 2>/dev/null || true
    fi
    wait "$pid" || status=$?
    echo "$status" >"$work/status"
}
