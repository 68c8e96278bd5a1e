#!/bin/bash
# Runs the end-to-end driver under Wine, then turns the pictures it took into
# PNG files beside it:
#   run_end_to_end.sh PREFIX DRIVER.exe QUILLBEE.exe [DPI [DRIVER ARGUMENTS...]]
# With DPI the prefix is made with that screen resolution (so it must be one
# of its own), and the driver runs from a copy in the folder dpiDPI beside it,
# where its pictures then are.
set -uo pipefail
prefix=$1 driver=$2 program=$3
shift 3
dpi=${1:-}
[ $# -gt 0 ] && shift
here=$(cd "$(dirname "$0")" && pwd)
if [ -n "$dpi" ]; then
    "$here/../../tools/wine-prefix.sh" "$prefix" "$dpi" || exit 1
    # Only the test command's own prefix has a server that it stops itself.
    trap 'WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 </dev/null' EXIT
    copy=$(dirname "$driver")/dpi$dpi
    mkdir -p "$copy"
    cp "$driver" "$copy/" || exit 1
    driver=$copy/$(basename "$driver")
fi
shots=$(dirname "$driver")/screenshots
rm -rf "$shots"
"$here/../../tools/wine-run.sh" "$prefix" "$driver" "$program" "$@"
status=$?
for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
[ -d "$shots" ] && echo "screenshots: $shots"
exit $status
