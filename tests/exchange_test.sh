#!/bin/bash
# quillbee-due import, export and check end to end: the exports read by
# independent readers (tests/exchange_readers.py), imported back exactly,
# a file cut short refused, and the exit status of each command.
# Arguments: PROGRAM [wine-prefix.sh PREFIX].
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1")
runner=()
if [ $# -ge 3 ]; then
  "$2" "$3" || exit 1
  export WINEPREFIX=$3 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  runner=(wine)
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TZ=Europe/Warsaw
failures=0
fail() { failures=$((failures + 1)); printf 'FAILED: %s\n  expected: %q\n  actual:   %q\n' "$@"; }
check() { [ "$2" == "$3" ] || fail "$@"; }         # description, expected, actual
contains() { [[ "$3" == *"$2"* ]] || fail "$@"; }  # description, part expected, actual

# run_in DIR ARGUMENTS...: runs the program in DIR; sets $out, $err and $status.
run_in() {
  (cd "$work/$1" && "${runner[@]}" "$program" "${@:2}" >"$work/out" 2>"$work/err" </dev/null)
  status=$?
  out=$(tr -d '\r' <"$work/out") err=$(tr -d '\r' <"$work/err")
}

mkdir "$work/from" "$work/to" "$work/cut"
header=$';File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n;notice\r\n;address\r\n\r\n'
long="Wigilia: zażółć gęślą jaźń, $(printf 'ą%.0s' {1..40})"
events=$'15-Mar-2010 01Y 000 000 George\'s birthday! ($Age{1968} years old)\r\n'
events+=$'29-Feb-2010 01Y 005 002 Leap day, "quoted"; semi\r\n'
events+=$'07-May-2011 00N 000 000 Dentist\x1EBring card\x1E\x1ERoom 4, floor 2; \\ end\r\n'
events+="24-Dec-2010 01Y 003 001 $long"$'\r\n'
printf '%s%s' "$header" "$events" >"$work/from/quillbee.events"

run_in from export out.ics
check "export to iCalendar" "Exported to out.ics:||4 events|0" "${out//$'\n'/|}|$status"
run_in from export out.csv
check "export to CSV" 0 "$status"
/usr/bin/python3 "$here/exchange_readers.py" "$work/from/out.ics" "$work/from/out.csv" || fail "independent readers" 0 $?

# Back in: every event exactly; a second import finds them all there.
for kind in ics csv; do
  rm -f "$work/to/quillbee.events"
  run_in to import "../from/out.$kind"
  check "import of $kind: summary" "Imported from out.$kind:||4 added|0 skipped as duplicates|0 not understood|0" \
    "${out//$'\n'/|}|$status"
  check "import of $kind: the same events" "${events}x" "$(tail -n +5 "$work/to/quillbee.events"; echo x)"
done
run_in to import ../from/out.ics
contains "import again: all duplicates" "0 added"$'\n'"4 skipped as duplicates" "$out"

# A file cut short changes nothing, and says where.
head -c 300 "$work/from/out.ics" >"$work/cut.ics"
printf '%s%s' "$header" "$events" >"$work/cut/quillbee.events"
run_in cut import ../cut.ics
check "cut short: status" 1 "$status"
contains "cut short: message" "Nothing was imported from cut.ics:" "$err"
check "cut short: events file unchanged" "$(printf '%s%s' "$header" "$events" | md5sum)" \
  "$(md5sum <"$work/cut/quillbee.events")"
check "cut short: no backup" "quillbee.events" "$(ls "$work/cut")"

# check: every problem with its line; a sound file; no file.
printf '%s%s' "$header" $'31-Apr-2010 01Y 000 000 bad\r\n01-May-2010 01Y 000000 broken\r\n' \
  >"$work/cut/quillbee.events"
run_in cut check
check "check: every problem, status 2" \
  "quillbee.events:5: Invalid date in line 5:  Kwiecień does not have 31 days!|quillbee.events:6: Fatal error reading data file (invalid format)! ( at line 6 ) (The program stops reading the file here.)|2" \
  "${out//$'\n'/|}|$status"
run_in from check
check "check: a sound file" "quillbee.events: no problems found|0" "$out|$status"
rm "$work/cut/quillbee.events"
run_in cut check
check "check: no file" 1 "$status"
run_in cut import
check "import without a file" 3 "$status"
run_in cut export a.ics b.ics
check "export of two files" 3 "$status"
run_in from export out.vcf
check "export to vCard" "1" "$status"
contains "export to vCard: message" "iCalendar (.ics) and CSV (.csv)" "$err"

[ "$failures" -eq 0 ] && echo "all passed" || { echo "$failures failed"; exit 1; }
