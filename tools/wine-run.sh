#!/bin/bash
# Runs a Windows program of the build under Wine in the build tree's prefix:
#   wine-run.sh PREFIX program.exe [arguments...]
# The prefix is made on first use. Wine takes its time zone from TZ; the
# programs themselves drop TZ, which msvcrt would misread.
set -euo pipefail
prefix=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-prefix.sh" "$prefix"
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export TZ=Europe/Warsaw
# Wine's own processes (services, devices, the desktop) may start now and
# outlive the program; they inherit its output. Give them a file rather than
# the caller's pipe, or whoever reads the pipe waits for them forever.
out=$(mktemp)
status=0
wine "$@" >"$out" 2>&1 </dev/null || status=$?
cat "$out"
rm -f "$out"
exit "$status"
