#!/bin/bash
# quillbee-due end to end: rows, messages and exit status for small events
# files at chosen times.
#   quillbee_due_test.sh PROGRAM                       (native)
#   quillbee_due_test.sh PROGRAM.exe wine-prefix.sh PREFIX  (under Wine)
# Under Wine the program runs with its standard output and standard error in
# two files of their own, which the usual wine-run.sh would merge.
set -uo pipefail
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
passes=0
failures=0

header=$';File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n;notice\r\n;address\r\n'

# Runs the program in a fresh folder holding the given events (and prefs) file;
# leaves stdout, stderr and the exit status in $out, $err and $status.
run_in() {  # events (or "-" for none), prefs (or "-"), arguments...
  local events=$1 prefs=$2
  shift 2
  rm -rf "$work/dir" && mkdir "$work/dir"
  [ "$events" != - ] && printf '%s%s' "$header" "$events" >"$work/dir/quillbee.events"
  [ "$prefs" != - ] && printf '%s%s\r\n' "$header" "$prefs" >"$work/dir/quillbee.prefs"
  (cd "$work/dir" && "${runner[@]}" "$program" "$@" >"$work/out" 2>"$work/err" </dev/null)
  status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

check() {  # description, expected, actual
  if [ "$2" == "$3" ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    echo "FAILED: $1"
    echo "  expected: $(printf '%q' "$2")"
    echo "  actual:   $(printf '%q' "$3")"
  fi
}

contains() {  # description, needle, haystack
  if [[ "$3" == *"$2"* ]]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    echo "FAILED: $1: $(printf '%q' "$2") not in $(printf '%q' "$3")"
  fi
}

events=$'07-May-2010 01Y 000 000 Dentist\r\n'
events+=$'02-May-2010 01Y 000 000 b today\r\n'
events+=$'02-May-2010 01Y 000 000 A today\r\n'
events+=$'30-Apr-2010 00N 000 000 gone ($Age{2000})\r\n'
events+=$'20-May-2010 01Y 000 000 too far\r\n'
events+=$'01-Jan-1968 01Y 000 000 George $Age{1968}\x1Enotes\r\n'

run_in "$events" - --now "2010-05-02 09:00"
check "rows in order" $'-2 dni:\t30 Kwi,\tgone (10)\nDZIŚ:\t02 Maj,\tA today\nDZIŚ:\t02 Maj,\tb today\n5 dni:\t07 Maj,\tDentist' "$out"
check "rows: status" 0 "$status"
check "rows: nothing on stderr" "" "$err"

run_in "$events" - --month-first --now "2010-05-03 00:30"
check "month first" $'-3 dni:\tKwi 30,\tgone (10)\n-1 dzień:\tMaj 02,\tA today\n-1 dzień:\tMaj 02,\tb today\n4 dni:\tMaj 07,\tDentist' "$out"

run_in "$events" - --now "2010-12-30 23:30"
check "age of next year's occurrence" $'2 dni:\t01 Sty,\tGeorge 43' "$out"

# Preferences: limits of 5 before and 2 after, with the weekday column.
prefs="5 2 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 1 0 0 0 0 0 0 0 0 0 0 0 0 0 ''"
run_in "$events" "$prefs" --now "2010-05-02 09:00"
check "prefs: limits and weekday" $'-2 dni:\t30 Kwi (Pią),\tgone (10)\nDZIŚ:\t02 Maj (Nie),\tA today\nDZIŚ:\t02 Maj (Nie),\tb today\n5 dni:\t07 Maj (Pią),\tDentist' "$out"
prefs_narrow="1 1 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ''"
run_in "$events" "$prefs_narrow" --now "2010-05-02 09:00"
check "prefs: narrow limits" $'DZIŚ:\t02 Maj,\tA today\nDZIŚ:\t02 Maj,\tb today' "$out"
run_in "$events" "5 2 1" --now "2010-05-02 09:00"
contains "prefs: incomplete file reported" "incomplete" "$err"
check "prefs: incomplete file gives the defaults" 4 "$(printf '%s\n' "$out" | wc -l)"

# Across the end of summer time, half an hour after midnight.
run_in $'01-Nov-2010 00N 040 000 autumn\r\n' "$prefs" --now "2010-10-01 00:30"
check "whole days across daylight saving" $'31 dni:\t01 Lis (Pon),\tautumn' "$out"

# An impossible date: reported, skipped, reading goes on.
run_in $'31-Apr-2010 01Y 000 000 bad\r\n02-May-2010 01Y 000 000 good\r\n' - --now "2010-05-02 09:00"
check "invalid date: later rows" $'DZIŚ:\t02 Maj,\tgood' "$out"
check "invalid date: status" 0 "$status"
contains "invalid date: message" "Invalid date in line 4:  Kwiecień does not have 31 days!" "$err"
contains "invalid date: the question" "Do you want to ignore this line" "$err"

# A damaged line stops the reading: the rows before it, then status 2.
run_in $'02-May-2010 01Y 000 000 first\r\n02-May-2010 01Y 000000 broken\r\n03-May-2010 01Y 000 000 never\r\n' - --now "2010-05-02 09:00"
check "stop: rows so far" $'DZIŚ:\t02 Maj,\tfirst' "$out"
check "stop: status" 2 "$status"
contains "stop: message" "Fatal error reading data file (invalid format)!" "$err"
contains "stop: line" "( at line 5 )" "$err"

# No events file.
run_in - - --now "2010-05-02 09:00"
check "missing file: status" 1 "$status"
check "missing file: no rows" "" "$out"
contains "missing file: reported" "quillbee.events" "$err"

# Nothing is created or changed, not even without a preferences file.
run_in "$events" - --now "2010-05-02 09:00"
check "no file created" "quillbee.events" "$(ls "$work/dir")"
run_in "$events" "$prefs" --now "2010-05-02 09:00"
check "prefs untouched" "$(printf '%s%s\r\n' "$header" "$prefs" | md5sum)" "$(md5sum <"$work/dir/quillbee.prefs")"

# The command line.
run_in "$events" - --help
check "help: status" 0 "$status"
contains "help: usage" "Usage: quillbee-due" "$out"
run_in "$events" - --now "2010-02-30 10:00"
check "bad time: status" 3 "$status"
contains "bad time: reported" "--now" "$err"
run_in "$events" - --loud
check "unknown argument: status" 3 "$status"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
