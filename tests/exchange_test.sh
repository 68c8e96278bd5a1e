#!/bin/bash
# quillbee-due import, export and check end to end: the exports read by
# independent readers (tests/exchange_readers.py), imported back exactly,
# a file cut short refused, and the exit status of each command; history and
# restore of the versions that the changes keep.
# Arguments: PROGRAM [wine-prefix.sh PREFIX].
here=$(cd "$(dirname "$0")" && pwd)
text_out=1
. "$here/cli_harness.sh"
matches() { [[ "$3" =~ $2 ]] || fail "$@"; }  # description, pattern, actual

mkdir "$work/from" "$work/to" "$work/cut"
header+=$'\r\n'
long="Wigilia: zażółć gęślą jaźń, $(printf 'ą%.0s' {1..40})"
events=$'15-Mar-2010 01Y 000 000 George\'s birthday! ($Age{1968} years old)\r\n'
events+=$'29-Feb-2010 01Y 005 002 Leap day, "quoted"; semi\r\n'
events+=$'07-May-2011 00N 000 000 Dentist\x1EBring card\x1E\x1ERoom 4, floor 2; \\ end\r\n'
events+="24-Dec-2010 01Y 003 001 $long"$'\r\n'
printf '%s%s' "$header" "$events" >"$work/from/quillbee.events"

run from export out.ics
check "export to iCalendar" "Exported to out.ics:||4 events|0" "${out//$'\n'/|}|$status"
run from export out.csv
check "export to CSV" 0 "$status"
/usr/bin/python3 "$here/exchange_readers.py" "$work/from/out.ics" "$work/from/out.csv" || fail "independent readers" 0 $?

# Back in: every event exactly; a second import finds them all there.
for kind in ics csv; do
  rm -f "$work/to/quillbee.events"
  run to import "../from/out.$kind"
  check "import of $kind: summary" "Imported from out.$kind:||4 added|0 skipped as duplicates|0 not understood|0" \
    "${out//$'\n'/|}|$status"
  check "import of $kind: the same events" "${events}x" "$(tail -n +5 "$work/to/quillbee.events"; echo x)"
done
run to import ../from/out.ics
contains "import again: all duplicates" "0 added"$'\n'"4 skipped as duplicates" "$out"

# A file cut short changes nothing, and says where.
head -c 300 "$work/from/out.ics" >"$work/cut.ics"
printf '%s%s' "$header" "$events" >"$work/cut/quillbee.events"
run cut import ../cut.ics
check "cut short: status, events file unchanged, no backup" \
  "1|$(printf '%s%s' "$header" "$events" | md5sum)|quillbee.events" \
  "$status|$(md5sum <"$work/cut/quillbee.events")|$(ls "$work/cut")"
contains "cut short: message" "Nothing was imported from cut.ics:" "$err"

# check: every problem with its line; a sound file; no file.
printf '%s%s' "$header" $'31-Apr-2010 01Y 000 000 bad\r\n01-May-2010 01Y 000000 broken\r\n' \
  >"$work/cut/quillbee.events"
run cut check
check "check: every problem, status 2" \
  "quillbee.events:5: Invalid date in line 5:  Kwiecień does not have 31 days!|quillbee.events:6: Fatal error reading data file (invalid format)! ( at line 6 ) (The program stops reading the file here.)|2" \
  "${out//$'\n'/|}|$status"
run from check
check "check: a sound file" "quillbee.events: no problems found|0" "$out|$status"
rm "$work/cut/quillbee.events"
for bad in "cut check|1" "cut import|3" "cut export a.ics b.ics|3" "from export out.vcf|1"; do
  read -ra arguments <<<"${bad%|*}"
  run "${arguments[@]}"
  check "${bad%|*}: status" "${bad#*|}" "$status"
done
contains "export to vCard: message" "iCalendar (.ics) and CSV (.csv)" "$err"

# Each import keeps the file it replaced, listed newest first; a restore puts
# one back and keeps the file it replaced in turn.
mkdir "$work/hist"
start=$header$'07-May-2010 01Y 000 000 Dentist\r\n; a comment\r\n02-May-2010 01Y 000 000 Today\r\n'
printf '%s' "$start" >"$work/hist/quillbee.events"
printf 'date,message\r\n2010-06-01,June\r\n' >"$work/hist/june.csv"
printf 'date,message\r\n2010-07-01,July\r\n2010-07-02,July again\r\n' >"$work/hist/july.csv"
run hist history
check "history: nothing kept yet" "no versions kept in quillbee.history|0" "$out|$status"
run hist import june.csv
run hist import july.csv
imported=$(md5sum <"$work/hist/quillbee.events")
run hist history
line='  [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} +'
name='  quillbee\.history[/\\][0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}(_[0-9]{3})?\.events'
matches "history: newest first" "^ 1$line""3 events$name"$'\n'" 2$line""2 events$name\$" "$out"
check "history: status" 0 "$status"
run hist restore 2
check "restore: status" 0 "$status"
check "restore: the first file back" "$(printf '%s' "$start" | md5sum)" "$(md5sum <"$work/hist/quillbee.events")"
check "restore: the backup too" "$(printf '%s' "$start" | md5sum)" "$(md5sum <"$work/hist/quillbee.backup")"
run hist history
matches "restore: the replaced file is version 1" \
  "^ 1$line""5 events$name"$'\n'" 2$line""3 events$name"$'\n'" 3$line""2 events$name\$" "$out"
run hist restore 1
check "restore of a restore" "$imported|0" "$(md5sum <"$work/hist/quillbee.events")|$status"
for bad in "restore 9|1" "restore 0|3" "restore 1 2|3" "history 1|3"; do
  before=$(md5sum <"$work/hist/quillbee.events")
  read -ra arguments <<<"${bad%|*}"
  run hist "${arguments[@]}"
  check "$bad: status" "${bad#*|}" "$status"
  check "$bad: nothing changed" "$before" "$(md5sum <"$work/hist/quillbee.events")"
  [ -n "$err" ] || fail "$bad: a reason" "something on standard error" ""
done

finish
