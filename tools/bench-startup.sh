#!/bin/bash
# Times quillbee.exe's start-up with 1,000 events against a minimal window
# program, under Wine on a virtual display, and prints both, the ratio and
# the size of quillbee.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
./tools/bootstrap.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc 2>/dev/null || echo 2)" \
    --target quillbee minimal_window quillbee_startup_bench >/dev/null
prefix=$root/build/windows/bench-prefix
./tools/wine-prefix.sh "$prefix"
. "$root/tools/virtual-display.sh"
start_virtual_display 191 240
trap 'WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 </dev/null; kill $xvfb_pid 2>/dev/null' EXIT
WINEPREFIX=$prefix TZ=Europe/Warsaw wineserver -p >/dev/null 2>&1 </dev/null
b=$root/build/windows
./tools/wine-run.sh "$prefix" "$b/bench/quillbee_startup_bench.exe" "$b/quillbee.exe" "$b/bench/minimal_window.exe"
