#!/bin/bash
# The Windows game under Wine on a virtual display, with a Spanish keyboard: the window opens with
# the setup list, the name field speaks each key as on Linux, keys sent with xdotool reach the game (arrows, Space, F10, Alt+F7 with no menu in
# the way, Enter, Escape), AltGr does not silence the voice as Control does, the fire is heard from
# an ALSA file device, a missing room sound is named by its path once in the warnings log, the
# check program plays the four room sounds at three levels and gives its verdict, and with Wine's
# own SAPI voice, which cannot speak, the game tells the player and ends with status 1.
#
# Usage (inside xvfb-run): window_smoke.sh BUILD_FOLDER
# The game speaks into a text file (VELDRISA_VOICE_FILE). Screenshots stay in BUILD_FOLDER/window-*.png.
set -uo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$(realpath "$0")")/../support/checks.sh"
source "$(dirname "$(realpath "$0")")/../support/name_field.sh"

# Wine's sound goes to a file: an ALSA file plugin in a home of our own.
export HOME=$work
cat >"$work/.asoundrc" <<ALSA
pcm.!default { type file; slave.pcm "null"; file "$work/sound.raw"; format "raw"; }
ALSA
heard() { sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -n stat 2>&1 | awk '/Maximum amplitude/ { exit !($3 > 0.01) }'; }

# Waits up to $2 seconds for a line matching $1 in what the game said.
said() {
    local pattern=$1 limit=${2:-10} start=$SECONDS
    until grep -q -- "$pattern" "$work/voice.txt" 2>/dev/null; do
        ((SECONDS - start < limit)) || return 1
        sleep 0.2
    done
}
# The yellow of the cursor's band below the title: "height width top", or nothing.
band() {
    import -window root "$1"
    # The band is a solid bar: opening the mask leaves it whole and wipes yellow text away.
    convert "$1" -crop 1280x680+0+110 +repage -fill black +opaque "rgb(255,221,0)" -fill white \
        -opaque "rgb(255,221,0)" -morphology Open Square:3 -trim -format "%h %w %Y" info: 2>/dev/null |
        awk '$2 > 1 { print }'
}
game_window() {
    local id="" tries=0
    while [ -z "$id" ] && ((tries++ < 150)); do
        id=$(xdotool search --onlyvisible --name "La fortuna de Veldrisa" 2>/dev/null | head -1)
        [ -n "$id" ] || sleep 0.2
    done
    echo "$id"
}

# Silences the voice file records: its empty lines.
silences() { grep -c '^$' "$work/voice.txt"; }

# A fresh Wine prefix is still being set up by the other tests' first runs: its desktop must be
# ready before a window can be made.
"$build/wine-run" wineboot >/dev/null 2>&1 || true
# Wine reads the keyboard's layout when a program starts.
setxkbmap -layout es

# The check program plays its twelve sounds two seconds each: it runs beside the game, from a
# folder and a home of its own, its sound in a file of its own.
checker=$work/check
mkdir -p "$checker"
cp "$build/sapi-check.exe" "$build"/*.mp3 "$build/fuego.wav" "$checker/"
sed "s|$work/sound.raw|$checker/sound.raw|" "$work/.asoundrc" >"$checker/.asoundrc"
HOME=$checker timeout 150 "$build/wine-run" "$checker/sapi-check.exe" </dev/null >"$work/check.txt" 2>&1 &
check_pid=$!

# A game played by keys, from a folder of its own that lacks the snoring.
game=$work/juego
mkdir -p "$game"
cp "$build/veldrisa.exe" "$build/fuego.wav" "$build/Vaso rompiéndose.mp3" "$build/Pasar páginas.mp3" "$game/"
warnings=$("$build/wine-run" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
warnings=$("$build/wine-run" winepath -u "$warnings\Veldrisa\avisos.txt" 2>/dev/null)
start_game() {
    VELDRISA_VOICE_FILE=$work/voice.txt "$build/wine-run" "$game/veldrisa.exe" >"$work/out.txt" 2>"$work/err.txt" &
    pid=$!
    id=$(game_window)
}
start_game
# On a loaded machine Wine's desktop can still be starting for another test's program, and a window
# made then fails with error 1400 (an invalid window handle): that is Wine's, so the game starts again.
if [ -z "$id" ] && grep -q "error 1400" "$work/err.txt"; then
    echo "    Wine's desktop was not ready (error 1400); starting the game again"
    wait "$pid"
    start_game
fi
expect "the window opens" [ -n "$id" ]
xdotool windowfocus --sync "$id" 2>/dev/null
expect "the introduction is said" said "escoja los personajes" 20
sleep 1
read -r height width top <<<"$(band "$build/window-setup.png")"
echo "setup: cursor band ${width:-?}x${height:-?} at ${top:-?}"
expect "the setup list shows the cursor's band across the window" [ "${width:-0}" -gt 600 ]
expect "the band is a line of large type" [ "${height:-0}" -gt 20 ]
# The name field, drawn in the game's window, says for each key what it says on Linux.
type_field_keys
expect "the field was cancelled" said "^cancelado" 10
echo "heard while the field was open:"
field_texts "$work/voice.txt" | sed 's/^/    /'
expect "the name field's feedback, as on Linux" diff <(field_texts "$work/voice.txt") <(printf '%s\n' "${field_heard[@]}")
xdotool key Right Right space
expect "arrows reach the game" said "jenniffer" 10
expect "Space reaches the game" said "^seleccionado" 10
sleep 0.5
read -r height2 width2 top2 <<<"$(band "$build/window-setup-moved.png")"
echo "after two Right presses: band at ${top2:-?}"
expect "the band moved two lines down" [ $((${top2:-0} - ${top:-0})) -eq $((2 * ${height:-0})) ]
# AltGr+2 is @ on a Spanish keyboard; Windows adds a left Control to it, which must not silence.
# Wine's AltGr has no Control, so the second press comes as Windows sends it.
before=$(silences)
xdotool keydown ISO_Level3_Shift key 2 keyup ISO_Level3_Shift
"$build/wine-run" "$build/tests/windows/altgr-input.exe"
expect "the AltGr of Windows was typed" [ $? = 0 ]
xdotool key F10
expect "F10 reaches the game" said "voz de prueba" 10
expect "AltGr+2 did not silence the voice" [ "$(silences)" -eq "$before" ]
xdotool key Control_L
sleep 1
expect "Control silences the voice" [ "$(silences)" -gt "$before" ]
xdotool key alt+F7
expect "Alt+F7 reaches the game" said "velocidad de la voz más lenta" 10
xdotool key Return
expect "Enter opens the game" said "aspirantes a la fortuna" 10
sleep 1
expect "the game's log replaces the list" [ -z "$(band "$build/window-game.png")" ]
xdotool key h
expect "a key after F10 and Alt+F7 is not swallowed by a menu" said "el heredero actual es" 10
sleep 2
xdotool key Escape
status=0
timeout 15 tail --pid="$pid" -f /dev/null || status=timeout
wait "$pid" || status=$?
expect "Escape ends the game with status 0 (got $status)" [ "$status" = 0 ]
expect "the fire was heard" heard "$work/sound.raw"
grep -v '^ALSA' "$work/err.txt" | sed 's/^/    stderr: /'
expect "marks reach the voice as Spanish words" bash -c "! grep -q -e '\.\.\.' -e '…' '$work/voice.txt'"
sed 's/^/    avisos.txt: /' "$warnings"
expect "the missing snoring is in the warnings log by its path, once" \
    [ "$(grep -c 'juego\\Ronquido.mp3' "$warnings" 2>/dev/null)" = 1 ]

# The check program plays each room sound through MCI at three levels, and writes where the user can.
wait "$check_pid"
report=$(sed -n 's/^El informe se escribe en \(.*\)$/\1/p' "$work/check.txt" | tr -d '\r')
echo "    report: $report"
report=$("$build/wine-run" winepath -u "$report" 2>/dev/null)
expect "the check program names where its report is" [ -f "$report" ]
expect "the report is not in the program's folder" [ ! -e "$checker/sapi-check.txt" ]
plays=$(grep -c "): MCI_PLAY -> 0 (bien)" "$report")
expect "the check program played the four sounds at 100, 40 and 10 % ($plays)" [ "$plays" -eq 12 ]
expect "the four sounds were heard" heard "$checker/sound.raw"
expect "both registry views are listed" grep -q "programas de 32 bits" "$report"
expect "a verdict ends the report" grep -q -e "^Todo bien" -e "^Falló:" "$report"
grep -A20 "^Falló:" "$report" | sed 's/^/    /'

# Wine's own SAPI voice cannot speak: the player is told, and the game ends with status 1.
"$build/wine-run" "$build/veldrisa.exe" >/dev/null 2>"$work/err-novoice.txt" &
pid=$!
box=""
for _ in $(seq 1 100); do
    box=$(xdotool search --onlyvisible --name "La fortuna de Veldrisa" 2>/dev/null | head -1)
    [ -n "$box" ] && break
    sleep 0.2
done
expect "a message box appears" [ -n "$box" ]
import -window root "$build/window-no-voice.png"
[ -n "$box" ] && xdotool windowfocus --sync "$box" 2>/dev/null && xdotool key Return
status=0
timeout 15 tail --pid="$pid" -f /dev/null || kill "$pid"
wait "$pid" || status=$?
expect "without a voice the game ends with status 1 (got $status)" [ "$status" = 1 ]
expect "\"No hay voces instaladas\" on stderr" grep -q "No hay voces instaladas" "$work/err-novoice.txt"

echo "$((failures == 0 ? 1 : 0)) passed, $((failures == 0 ? 0 : 1)) failed"
exit $((failures > 0))
