#!/bin/bash
# Breaks the program on purpose, one behaviour at a time, and checks that the
# tests meant to notice each break fail. Each break is a patch
# tools/mutations/NN-name.patch whose first lines name the test runs that
# must catch it, one a line:
#   # catch: PRESET PROGRAM [ARGUMENTS...]
# PROGRAM is a test program of that build (quillbee_unit_tests,
# quillbee_window_tests, quillbee_dialog_tests, quillbee_e2e_tests); the
# arguments pick its tests (--gtest_filter=...). A break is caught when one
# of its runs fails after it started its tests: a program that cannot start
# catches nothing.
#
# The patches go, one at a time, into a scratch copy of the tree,
# build/mutation/tree, whose builds are kept from one check to the next:
# only the programs named are rebuilt, and only what changed. The copy is
# put back after each patch.
#
#   tools/mutation-check.sh [PATCH...]    all of tools/mutations/ by default
#
# Prints "caught" or "survived" for each break (what it did is in
# build/mutation/NAME.log) and ends with "mutations: N passed, M failed"
# (a caught break passes); exits non-zero when a break survived, no longer
# applies or does not build.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
logs=$root/build/mutation
scratch=$logs/tree
prefix=$root/build/windows/wineprefix
jobs=$(nproc 2>/dev/null || echo 2)
patches=("$@")
[ ${#patches[@]} -eq 0 ] && patches=("$root"/tools/mutations/*.patch)

# Makes the scratch copy equal to the tree's files (tracked or new, not
# ignored), touching only the files that differ, so builds stay incremental.
sync_scratch() {
    local list file
    list=$(mktemp)
    (cd "$root" && git ls-files -co --exclude-standard | sort) >"$list"
    while IFS= read -r file; do
        [ -f "$root/$file" ] || continue
        if ! cmp -s "$root/$file" "$scratch/$file"; then
            mkdir -p "$(dirname "$scratch/$file")"
            cp "$root/$file" "$scratch/$file"
        fi
    done <"$list"
    # A file gone from the tree must go from the copy: CMake picks up every
    # dialog and test source it finds.
    (cd "$scratch" && find . -path ./build -prune -o -type f -print | sed 's|^\./||' | sort) |
        comm -23 - "$list" | while IFS= read -r file; do rm -f "$scratch/$file"; done
    rm -f "$list"
}

# Builds PROGRAM of PRESET in the copy; its output goes to the log.
build() {
    local preset=$1 program=$2
    if [ ! -f "$scratch/build/$preset/CMakeCache.txt" ]; then
        (cd "$scratch" && cmake --preset "$preset") >>"$log" 2>&1 || return 1
    fi
    cmake --build "$scratch/build/$preset" --target "$program" -j"$jobs" >>"$log" 2>&1
}

# Runs PROGRAM of PRESET with ARGUMENTS; its exit status.
run() {
    local preset=$1 program=$2
    shift 2
    local dir=$scratch/build/$preset/tests
    if [ "$preset" != windows ]; then
        (cd "$dir" && TZ=Europe/Warsaw "./$program" "$@")
        return
    fi
    local exe
    exe=$(find "$dir" -name "$program.exe" -not -path '*/dpi*' | head -1)
    if [ "$program" = quillbee_e2e_tests ]; then
        set -- "$scratch/build/windows/quillbee.exe" "$@"
        dir=$(dirname "$exe")
    fi
    (cd "$dir" && "$root/tools/wine-run.sh" "$prefix" "$exe" "$@")
}

mkdir -p "$scratch"
if [ -z "${DISPLAY:-}" ]; then
    . "$root/tools/virtual-display.sh"
    start_virtual_display 92 140 || exit 1
    trap 'WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 </dev/null; kill "$xvfb_pid" 2>/dev/null' EXIT
fi

caught=0
failed=0
for patch in "${patches[@]}"; do
    name=$(basename "$patch" .patch)
    log=$logs/$name.log
    : >"$log"
    sync_scratch
    verdict=""
    if ! grep -q '^# catch: ' "$patch"; then
        verdict="names no test"
    elif ! patch -d "$scratch" -p1 --batch --forward -s <"$patch" >>"$log" 2>&1; then
        verdict="does not apply"
    else
        verdict=survived
        while read -r _ _ preset program arguments; do
            # shellcheck disable=SC2086
            if ! build "$preset" "$program"; then
                verdict="does not build"
                break
            fi
            echo "== $preset $program $arguments" >>"$log"
            # shellcheck disable=SC2086
            run "$preset" "$program" $arguments >"$log.run" 2>&1
            status=$?
            cat "$log.run" >>"$log"
            if ! grep -q '^\[ RUN ' "$log.run"; then
                verdict="runs no test"
                break
            fi
            if [ "$status" -ne 0 ]; then
                verdict=caught
                break
            fi
        done < <(grep '^# catch: ' "$patch")
    fi
    rm -f "$log.run"
    if [ "$verdict" = caught ]; then
        caught=$((caught + 1))
    else
        failed=$((failed + 1))
        verdict="$verdict (see $log)"
    fi
    printf '%-40s %s\n' "$name" "$verdict"
done
sync_scratch  # no break left behind

echo "mutations: $caught passed, $failed failed"
[ "$failed" -eq 0 ]
