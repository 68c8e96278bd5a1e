#!/bin/bash
# Times the event list editor under Wine on a virtual display, in-process:
# opening it on 1,000 and 10,000 events, loading the rows alone and saving
# them, beside a due-list build of the same file. More sizes may be given:
#   tools/bench-list-editor.sh [EVENTS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. ./tools/bench-prepare.sh
bench_prepare quillbee_list_bench
./tools/wine-run.sh "$prefix" "$b/bench/quillbee_list_bench.exe" "$@"
