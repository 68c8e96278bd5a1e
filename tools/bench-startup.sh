#!/bin/bash
# Times quillbee.exe's start-up with 1,000 events against a minimal window
# program, under Wine on a virtual display, and prints both, the ratio and
# the size of quillbee.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. ./tools/bench-prepare.sh
bench_prepare quillbee minimal_window quillbee_startup_bench
./tools/wine-run.sh "$prefix" "$b/bench/quillbee_startup_bench.exe" "$b/quillbee.exe" "$b/bench/minimal_window.exe"
