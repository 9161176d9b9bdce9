#!/bin/bash
# The Windows packages under Wine: the zip holds both games, the installer installs silently with
# Spanish Start-menu entries, the game that hears more voices behind the main one and the game's
# icon for Windows' list of programs, and its uninstaller leaves no registry key behind.
#
# Usage: installer.sh BUILD_FOLDER (after cpack made the zip and the installer there)
set -uo pipefail
build=$(realpath "$1")
source "$(dirname "$(realpath "$0")")/../support/checks.sh"
wine_run() { "$build/wine-run" "$@"; }
prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$build/wine-run")
# NSIS takes /D= unquoted, and Wine quotes an argument with a space: the folder has none.
folder='C:\Juegos\VeldrisaPrueba'
unix_folder="$prefix/drive_c/Juegos/VeldrisaPrueba"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veldrisa'

listing=$(unzip -Z1 "$build/veldrisa-windows-x64.zip")
for file in veldrisa.exe veldrisa-32.exe sapi-check.exe sapi-check-32.exe veldrisa-replay.exe LEEME.txt; do
    expect "the zip holds $file" grep -q "/$file\$" <<<"$listing"
done

script=$(find "$build/_CPack_Packages" -name project.nsi | head -1)
expect "the installer asks for no licence" bash -c "! grep -q MUI_PAGE_LICENSE '$script'"
expect "the installer speaks Spanish alone" [ "$(grep 'MUI_LANGUAGE "' "$script" | tr -d ' ')" = '!insertmacroMUI_LANGUAGE"Spanish"' ]

rm -rf "$unix_folder"
timeout 120 "$build/wine-run" "$build/veldrisa-windows-x64.exe" /S "/D=$folder"
expect "the installer put the 64-bit game in place" [ -f "$unix_folder/veldrisa.exe" ]
expect "the installer put the 32-bit game in place" [ -f "$unix_folder/veldrisa-32.exe" ]
menu=$(find "$prefix/drive_c" -path '*Start Menu/Programs/La fortuna de Veldrisa' -type d 2>/dev/null | head -1)
expect "the Start menu has a folder of the game" [ -n "$menu" ]
for entry in "La fortuna de Veldrisa" "Comprobar la voz" "LEEME" "Desinstalar"; do
    expect "the Start menu has \"$entry\"" [ -f "$menu/$entry.lnk" ]
done
expect "no English \"Uninstall\" entry" [ ! -e "$menu/Uninstall.lnk" ]
# Wine registers the same voices for both widths, so the 64-bit game is the one chosen.
expect "the main entry starts the 64-bit game" \
    grep -q 'veldrisa\.exe' <(strings -a -el "$menu/La fortuna de Veldrisa.lnk"; strings -a "$menu/La fortuna de Veldrisa.lnk")
icon=$(wine_run reg query "$uninstall_key" /v DisplayIcon /reg:64 2>/dev/null | tr -d '\r')
echo "$icon" | sed 's/^/    /'
expect "DisplayIcon names the game's executable" grep -qF "$folder\\veldrisa.exe" <<<"$icon"

timeout 120 "$build/wine-run" "$unix_folder/Uninstall.exe" /S "_?=$folder"
expect "the uninstaller removed the game" [ ! -e "$unix_folder/veldrisa.exe" ]
expect "the uninstall key is gone" bash -c "! '$build/wine-run' reg query '$uninstall_key' /reg:64 >/dev/null 2>&1"
expect "no empty Veldrisa key is left" bash -c "! '$build/wine-run' reg query 'HKLM\\Software\\Veldrisa' /reg:64 >/dev/null 2>&1"
expect "the Start-menu folder is gone" [ ! -e "$menu" ]
rm -rf "$unix_folder"

echo "$((failures == 0 ? 1 : 0)) passed, $((failures == 0 ? 0 : 1)) failed"
exit $((failures > 0))
