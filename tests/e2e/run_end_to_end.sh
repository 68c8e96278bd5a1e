#!/bin/bash
# Runs the end-to-end driver under Wine, then turns the pictures it took into
# PNG files beside it: run_end_to_end.sh PREFIX DRIVER.exe QUILLBEE.exe
set -uo pipefail
prefix=$1 driver=$2 program=$3
here=$(cd "$(dirname "$0")" && pwd)
shots=$(dirname "$driver")/screenshots
rm -rf "$shots"
"$here/../../tools/wine-run.sh" "$prefix" "$driver" "$program"
status=$?
for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
[ -d "$shots" ] && echo "screenshots: $shots"
exit $status
