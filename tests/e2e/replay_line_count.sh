#!/bin/bash
# The replay tool counts input lines past 2^31: an input error after 2,147,483,649 lines names
# that line, not a negative one.
#
# Usage: replay_line_count.sh path/to/veldrisa-replay
# About a minute of blank lines; the sanitizer builds skip it.
set -euo pipefail
replay=$1
status=0
err=$( (head -c 2147483648 /dev/zero | tr '\0' '\n'; echo BOGUS) | "$replay" --seed 1 2>&1 >/dev/null) || status=$?
echo "status $status: $err"
[ "$status" -eq 2 ] && [ "$err" = 'veldrisa-replay: line 2147483649: unknown key name "BOGUS"' ]
