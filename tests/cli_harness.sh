# Sourced by the tests of quillbee-due. Arguments of the test: PROGRAM
# [wine-prefix.sh PREFIX]; under Wine, standard output and error are kept
# apart (wine-run.sh merges them). Runs end in a scratch folder $work.
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
header=$';File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n;notice\r\n;address\r\n'
failures=0
fail() { failures=$((failures + 1)); printf 'FAILED: %s\n  expected: %q\n  actual:   %q\n' "$@"; }
check() { [ "$2" == "$3" ] || fail "$@"; }         # description, expected, actual
contains() { [[ "$3" == *"$2"* ]] || fail "$@"; }  # description, part expected, actual

# run DIR ARGUMENTS...: runs the program in $work/DIR; sets $out, $err and
# $status. Messages come in text mode under Wine: their CRs go, and those of
# standard output too when $text_out is set.
run() {
  (cd "$work/$1" && "${runner[@]}" "$program" "${@:2}" >"$work/out" 2>"$work/err" </dev/null)
  status=$?
  out=$(<"$work/out") err=$(tr -d '\r' <"$work/err")
  [ -n "${text_out:-}" ] && out=${out//$'\r'/}
}

finish() { [ "$failures" -eq 0 ] && echo "all passed" || { echo "$failures failed"; exit 1; }; }
