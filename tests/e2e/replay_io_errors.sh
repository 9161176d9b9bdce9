#!/bin/bash
# The replay tool when its output or its input fails: a full disk, a closed standard output, a
# reader gone with SIGPIPE ignored, standard input that is a folder. Each ends the run at once
# with status 1 and one line on stderr saying what failed; an ordinary run still ends with 0.
#
# Usage: replay_io_errors.sh path/to/veldrisa-replay
set -uo pipefail
source "$(dirname "$0")/../support/checks.sh"
replay=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Enough arrows that the output outgrows a pipe's buffer long before the input ends.
for _ in $(seq 5000); do echo RIGHT; done >"$work/keys.txt"

# runs "what" "expected stderr" command...: the command's status and stderr, checked.
check() {
    local what=$1 expected=$2 status=0
    shift 2
    "$@" 2>"$work/err.txt" || status=$?
    echo "$what: status $status, stderr: $(cat "$work/err.txt")"
    expect "$what: status 1" [ "$status" -eq 1 ]
    expect "$what: says so" [ "$(cat "$work/err.txt")" = "$expected" ]
}

full() { "$replay" --seed 1 <"$work/keys.txt" >/dev/full; }
closed() { "$replay" --seed 1 <"$work/keys.txt" >&-; }
help_full() { "$replay" --help >/dev/full; }
reader_gone() {
    trap '' PIPE
    "$replay" --seed 1 <"$work/keys.txt" | head -1 >/dev/null
    return "${PIPESTATUS[0]}"
}
folder_in() { "$replay" --seed 1 <"$work" >/dev/null; }

check "/dev/full" "veldrisa-replay: cannot write the output (No space left on device)" full
check "closed stdout" "veldrisa-replay: cannot write the output (Bad file descriptor)" closed
check "--help to /dev/full" "veldrisa-replay: cannot write the output (No space left on device)" help_full
check "| head -1, SIGPIPE ignored" "veldrisa-replay: cannot write the output (Broken pipe)" reader_gone
check "a folder as stdin" "veldrisa-replay: cannot read the input (Is a directory)" folder_in
status=0
lines=$("$replay" --seed 1 <"$work/keys.txt" | wc -l) || status=$?
expect "an ordinary run: status 0" [ "$status" -eq 0 ]
expect "an ordinary run: its output whole ($lines lines)" [ "$lines" -gt 5000 ]
exit $((failures > 0))
