#!/bin/bash
# quillbee-due end to end: rows, messages and exit status for small events
# files at chosen times. Arguments: PROGRAM [wine-prefix.sh PREFIX].
. "$(dirname "$0")/cli_harness.sh"

# due EVENTS PREFS ARGUMENTS...: runs the program in a fresh folder holding
# those files ("-" for none).
due() {
  rm -rf "$work/dir" && mkdir "$work/dir"
  [ "$1" != - ] && printf '%s%s' "$header" "$1" >"$work/dir/quillbee.events"
  [ "$2" != - ] && printf '%s%s\r\n' "$header" "$2" >"$work/dir/quillbee.prefs"
  run dir "${@:3}"
}
now=(--now "2010-05-02 09:00")

events=$'07-May-2010 01Y 000 000 Dentist\r\n02-May-2010 01Y 000 000 b today\r\n02-May-2010 01Y 000 000 A today\r\n'
events+=$'30-Apr-2010 00N 000 000 gone ($Age{2000})\r\n20-May-2010 01Y 000 000 too far\r\n'
events+=$'01-Jan-1968 01Y 000 000 George $Age{1968}\x1Enotes\r\n'
rows=$'-2 dni:\t30 Kwi,\tgone (10)\nDZIŚ:\t02 Maj,\tA today\nDZIŚ:\t02 Maj,\tb today\n5 dni:\t07 Maj,\tDentist'
due "$events" - "${now[@]}"
check "rows in order, nothing else, status 0" "$rows|0" "$out|$err$status"
check "no file created" "quillbee.events" "$(ls "$work/dir")"
due "$events" - --month-first --now "2010-05-03 00:30"
check "month first" $'-3 dni:\tKwi 30,\tgone (10)\n-1 dzień:\tMaj 02,\tA today\n-1 dzień:\tMaj 02,\tb today\n4 dni:\tMaj 07,\tDentist' "$out"

# Preferences: limits of 5 before and 2 after, with the weekday column; then
# 1 and 1 without it; then a file cut short.
prefs="5 2 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 1 0 0 0 0 0 0 0 0 0 0 0 0 0 ''"
due "$events" "$prefs" "${now[@]}"
week=$'-2 dni:\t30 Kwi (Pią),\tgone (10)\nDZIŚ:\t02 Maj (Nie),\tA today\nDZIŚ:\t02 Maj (Nie),\tb today\n'
check "prefs: limits and weekday" "$week"$'5 dni:\t07 Maj (Pią),\tDentist' "$out"
check "prefs untouched" "$(printf '%s%s\r\n' "$header" "$prefs" | md5sum)" "$(md5sum <"$work/dir/quillbee.prefs")"
due "$events" "1 1 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ''" "${now[@]}"
check "prefs: narrow limits" $'DZIŚ:\t02 Maj,\tA today\nDZIŚ:\t02 Maj,\tb today' "$out"
due "$events" "5 2 1" "${now[@]}"
check "prefs: an incomplete file reported, the defaults taken" "$rows|0" "$out|$([[ $err == *incomplete* ]]; echo $?)"

due $'31-Apr-2010 01Y 000 000 bad\r\n02-May-2010 01Y 000 000 good\r\n' - "${now[@]}"
check "invalid date: skipped, status 0" $'DZIŚ:\t02 Maj,\tgood|0' "$out|$status"
contains "invalid date: message" $'Invalid date in line 4:  Kwiecień does not have 31 days!\n\nDo you want' "$err"
due $'02-May-2010 01Y 000 000 first\r\n02-May-2010 01Y 000000 broken\r\n03-May-2010 01Y 000 000 never\r\n' - "${now[@]}"
check "stop: rows so far, status 2" $'DZIŚ:\t02 Maj,\tfirst|2' "$out|$status"
contains "stop: message" $'Fatal error reading data file (invalid format)!\n( at line 5 )' "$err"
due - - "${now[@]}"
check "no events file: status 1, no rows, reported" "|1|0" "$out|$status|$([[ $err == *quillbee.events* ]]; echo $?)"

due "$events" - --help
check "help" "Usage: quillbee-due|0" "${out:0:19}|$status"
due "$events" - --now "2010-02-30 10:00"
check "bad time: status, reason" "3|0" "$status|$([[ $err == *--now* ]]; echo $?)"
due "$events" - --loud
check "unknown argument" 3 "$status"
finish
