#!/bin/bash
# Builds Quillbee in every configuration and runs every test: the native unit
# tests, the same under AddressSanitizer and UndefinedBehaviorSanitizer, the
# fuzzers for a bounded time, the Windows build's tests under Wine with a
# virtual X display, and last the mutation check (tools/mutation-check.sh:
# every deliberate break must make its tests fail). Installs what is missing
# first. Exits non-zero when anything fails.
#
# While working on one part: tools/test.sh [PRESET...] builds and tests only
# those presets ("mutation" for the mutation check alone, which needs the
# windows preset built once), and QB_CTEST_ARGS (say "-R dialog") picks the
# tests.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

./tools/bootstrap.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
presets=(native native-asan fuzz windows mutation)
[ $# -gt 0 ] && presets=("$@")
for preset in "${presets[@]}"; do
    [ "$preset" = mutation ] && continue
    echo "== build: $preset"
    cmake --preset "$preset" >"build-$preset.log" 2>&1 || { cat "build-$preset.log"; exit 1; }
    cmake --build --preset "$preset" -j"$jobs" >>"build-$preset.log" 2>&1 || { tail -50 "build-$preset.log"; exit 1; }
    rm -f "build-$preset.log"
done

prefix=$root/build/windows/wineprefix
./tools/wine-prefix.sh "$prefix" || exit 1

# One X server and one persistent wineserver for every Wine test; both go
# away however this script ends, or CI would wait on their open output.
. "$root/tools/virtual-display.sh"
start_virtual_display 91 140 || exit 1
cleanup() {
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 </dev/null
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
WINEPREFIX=$prefix TZ=Europe/Warsaw wineserver -p >/dev/null 2>&1 </dev/null

passed=0
failed=0
for preset in "${presets[@]}"; do
    echo "== tests: $preset"
    log=$root/build/$preset/ctest.log
    if [ "$preset" = mutation ]; then
        mkdir -p "$root/build/mutation"
        log=$root/build/mutation/check.log
        ./tools/mutation-check.sh 2>&1 | tee "$log"
        p=$(sed -n 's/^mutations: \([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p' "$log")
        [ -n "$p" ] && set -- $p && p="$(($1 + $2)) $2"
    else
        # shellcheck disable=SC2086
        ctest --test-dir "build/$preset" --output-on-failure -j1 ${QB_CTEST_ARGS:-} 2>&1 | tee "$log"
        p=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' "$log" | tail -1)
        # ctest keeps a skipped test's reason to itself.
        grep -q '(Skipped)' "$log" && echo "a skipped test says why in: ctest --test-dir build/$preset -V -R NAME"
    fi
    if [ -z "$p" ]; then
        failed=$((failed + 1))
        continue
    fi
    set -- $p
    passed=$((passed + $1 - $2))
    failed=$((failed + $2))
done

# The pictures the in-process window tests took, as PNG files.
shots=$root/build/windows/tests/screenshots
for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
[ -d "$shots" ] && echo "screenshots: $shots"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
