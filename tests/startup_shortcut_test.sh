#!/bin/bash
# Turns the start-up shortcut on and off under Wine and reads it back with
# lnkinfo (liblnk-utils):
#   startup_shortcut_test.sh wine-run.sh PREFIX startup_shortcut_test.exe
set -euo pipefail
run=$1 prefix=$2 exe=$3
startup="$prefix/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp"
link="$startup/Quillbee.lnk"
moved=$(mktemp -d)
trap 'rm -rf "$moved"' EXIT
failures=0

check() {  # description, command...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

# Every property of the shortcut names the executable at $1. lnkinfo prints
# "Name<tabs>: value", here turned into "Name|value".
points_at() {
  local path="Z:${1//\//\\}" info line
  info=$(lnkinfo "$link" | sed 's/^[[:space:]]*//; s/[[:space:]]*: /|/') || return 1
  for line in "Local path|$path" "Command line arguments|/S" "Description|Quillbee 1.41" \
      "Icon location|$path" "Icon index|0" "Working directory|${path%\\*}"; do
    grep -qxF "$line" <<<"$info" || { echo "  no '$line' in:"$'\n'"$info"; return 1; }
  done
}

rm -f "$link"
check "off without a shortcut succeeds silently" "$run" "$prefix" "$exe" off
check "and leaves no shortcut" test ! -e "$link"
check "on succeeds" "$run" "$prefix" "$exe" on
check "the shortcut starts this executable with /S" points_at "$exe"
cp "$exe" "$moved/"
check "on again after a move succeeds" "$run" "$prefix" "$moved/${exe##*/}" on
check "one shortcut is left" test "$(find "$startup" -maxdepth 1 -iname 'quillbee*.lnk' | wc -l)" -eq 1
check "it names the new place" points_at "$moved/${exe##*/}"
check "off succeeds" "$run" "$prefix" "$exe" off
check "the shortcut is gone" test ! -e "$link"
check "off again is silent" "$run" "$prefix" "$exe" off
[ "$failures" -eq 0 ]
