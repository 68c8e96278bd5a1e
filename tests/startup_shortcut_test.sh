#!/bin/bash
# Turns the start-up shortcut on and off under Wine and reads the shortcut
# back with lnkinfo (liblnk-utils):
#   startup_shortcut_test.sh wine-run.sh PREFIX startup_shortcut_test.exe
set -euo pipefail
run=$1
prefix=$2
exe=$3
startup="$prefix/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp"
link="$startup/Quillbee.lnk"
moved=$(mktemp -d)
trap 'rm -rf "$moved"' EXIT
passes=0
failures=0

check() {  # description, command...
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
    passes=$((passes + 1))
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}

windows_path() { echo "Z:${1//\//\\}"; }

# lnkinfo prints "Name<tabs>: value"; compares the value of one property.
property_is() {  # name, expected value
  local value
  value=$(lnkinfo "$link" 2>/dev/null | sed -n "s/^[[:space:]]*$1[[:space:]]*: //p")
  [ "$value" = "$2" ] || { echo "  $1 is '$value', expected '$2'"; return 1; }
}

shortcut_points_at() {  # full path of the executable
  local exe_path dir
  exe_path=$(windows_path "$1")
  dir=$(windows_path "$(dirname "$1")")
  property_is "Local path" "$exe_path" &&
    property_is "Command line arguments" "/S" &&
    property_is "Description" "Quillbee 1.41" &&
    property_is "Icon location" "$exe_path" &&
    property_is "Icon index" "0" &&
    property_is "Working directory" "$dir"
}

one_shortcut() { [ "$(find "$startup" -maxdepth 1 -iname 'quillbee*.lnk' | wc -l)" -eq 1 ]; }

rm -f "$link"
check "off without a shortcut succeeds silently" "$run" "$prefix" "$exe" off
check "and leaves no shortcut" test ! -e "$link"

check "on succeeds" "$run" "$prefix" "$exe" on
check "the shortcut exists" test -f "$link"
check "it starts this executable with /S" shortcut_points_at "$exe"

cp "$exe" "$moved/"
check "on again after a move succeeds" "$run" "$prefix" "$moved/$(basename "$exe")" on
check "one shortcut is left" one_shortcut
check "it names the new place" shortcut_points_at "$moved/$(basename "$exe")"

check "off succeeds" "$run" "$prefix" "$exe" off
check "the shortcut is gone" test ! -e "$link"
check "off again is silent" "$run" "$prefix" "$exe" off

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
