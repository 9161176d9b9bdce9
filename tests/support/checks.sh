# The verdicts of the shell checks, sourced by each: `ok` and `bad` print one line apiece, and
# `bad` counts into $failures, which the check turns into its status at the end.
failures=0
ok() { echo "ok: $*"; }
bad() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# expect "what should hold" command...
expect() {
    local what=$1
    shift
    if "$@"; then ok "$what"; else bad "$what"; fi
}
