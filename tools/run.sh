#!/bin/bash
# Builds and starts Quillbee under Wine with its data in a folder of yours
# (~/Quillbee, or the folder named by QUILLBEE_DATA), created when missing so
# that the first start greets you and writes the sample events. Installs what
# is missing first.
# With a display the program runs until you end it (tray menu: "Exit").
# Without one it runs on a virtual display, saves a picture of its main
# window, prints where, and ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

./tools/bootstrap.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc 2>/dev/null || echo 2)" --target quillbee quillbee_shot >/dev/null

data=${QUILLBEE_DATA:-$HOME/Quillbee}
mkdir -p "$data"
# A prefix of its own, beside the build and apart from the tests' one.
prefix=$root/build/windows/run-prefix
./tools/wine-prefix.sh "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exe=$root/build/windows/quillbee.exe

# Wine follows the Linux time zone; the program itself runs without TZ, which
# its C runtime would misread.
run_wine() { env -u TZ wine "$@"; }

if [ -n "${DISPLAY:-}" ]; then
    echo "Quillbee's data folder: $data"
    cd "$data"
    run_wine "$exe"
    exit 0
fi

. "$root/tools/virtual-display.sh"
start_virtual_display 141 190
cleanup() {
    wineserver -k >/dev/null 2>&1 </dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

picture=$data/quillbee-window.png
cd "$data"
log=$(mktemp)
if run_wine "$root/build/windows/bench/quillbee_shot.exe" "$(winepath -w "$exe" 2>/dev/null)" \
        quillbee-window.bmp >"$log" 2>&1 </dev/null; then
    convert quillbee-window.bmp "$picture"
    rm -f quillbee-window.bmp "$log"
    echo "No display: Quillbee ran on a virtual one. Its main window: $picture"
else
    cat "$log"
    rm -f "$log"
    echo "Quillbee did not show its main window" >&2
    exit 1
fi
