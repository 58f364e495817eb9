#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# recinfo's command line as a user meets it: help, version, and a wrong argument answered with
# one line and status 2; progress on a terminal, none on a pipe or with --quiet. Its first lines,
# up to the check that it is run, are the setup the other host scripts source.
set -euo pipefail
recinfo="$1"; sample="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  VXRECINFO_PDF_DIR="$work/pdf" TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR"
fail() { echo "FAILED: $*"; exit 1; }
[ "${BASH_SOURCE[0]}" = "$0" ] || return 0

# tests/data/cases/command-line.tsv: exit status, a line of the answer, arguments.
while IFS=$'\t' read -r want line args; do
  [[ "$want" != '#'* ]] || continue
  status=0
  # shellcheck disable=SC2086
  "$recinfo" ${args//SAMPLE/$sample} </dev/null >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq "$want" ] || fail "recinfo $args exited with $status, not $want"
  answer="$work/out"
  if [ "$want" -ne 0 ]; then
    answer="$work/err"
    [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] || fail "recinfo $args: not one line on standard error"
  fi
  grep -qxE "$line" "$answer" || { cat "$answer"; fail "recinfo $args: no line like $line"; }
done <"$(dirname "$0")/../data/cases/command-line.tsv"
echo "ok: help, version and usage errors"

# FILE - (and /dev/stdin) reads standard input, from a pipe or a file, as a file is read.
"$recinfo" store "$sample" >"$work/want"
for command in store report print rtf printdoc show import note; do
  for input in - /dev/stdin; do
    status=0
    cat "$sample" | "$recinfo" "$command" "$input" >"$work/out" 2>"$work/err" || status=$?
    ! grep -q "recinfo: \(standard input\|/dev/stdin\):" "$work/err" || fail "$command $input: $(cat "$work/err")"
    [ "$command" != store ] || { [ "$status" -eq 0 ] && cmp -s "$work/want" "$work/out"; } ||
      fail "store $input from a pipe: status $status, $(diff "$work/want" "$work/out" | head -3)"
  done
done
"$recinfo" store - <"$sample" >"$work/out" && cmp -s "$work/want" "$work/out" || fail "store - from a file differs"
status=0
printf '{"datasets": [\n  {"Bogus": 1}]}' | "$recinfo" store - >/dev/null 2>"$work/err" || status=$?
[ "$status" -eq 1 ] && grep -qx 'recinfo: standard input: dataset 1, key "Bogus": not a property of RecordInfo that can be set' \
  "$work/err" || fail "a bad dataset on standard input: $(cat "$work/err")"
echo "ok: recordings from standard input"

# On a terminal: datasets, and pages while printing, then the line cleared.
script -qec "'$recinfo' rtf '$sample' -o '$work/out.rtf'" /dev/null >"$work/tty"
grep -q 'recinfo: exporting 1/2 datasets' "$work/tty" || fail "rtf shows no progress on a terminal"
grep -qP '\r +\r$' "$work/tty" || fail "the progress line is not cleared at the end"
script -qec "'$recinfo' print '$sample'" /dev/null >"$work/tty"
grep -q 'recinfo: printing 0/2 datasets, 1 page' "$work/tty" || fail "print shows no pages on a terminal"
# Messages of datasets of unknown logger types during a batch start on a line of their own.
sed 's/"TimeZone": 1,/&"UserSettings": [1, 0, 0, 0, 0, 0, true],/' "$(dirname "$0")/../data/recordings/measurements.json" >"$work/boxes.json"
script -qec "'$recinfo' printdoc '$work/boxes.json'" /dev/null >"$work/tty"
grep -q 'vxRecInfo: Unknown logger type' "$work/tty" && ! grep -qP 'datasets[^\r\n]*vxRecInfo:' "$work/tty" ||
  fail "a message box is not on a line of its own: $(grep -aP 'datasets[^\r\n]*vxRecInfo:' "$work/tty" | cat -A)"
script -qec "'$recinfo' rtf '$sample' -o '$work/out.rtf' --quiet" /dev/null >"$work/tty"
! grep -q datasets "$work/tty" || fail "--quiet still shows progress"
"$recinfo" rtf "$sample" -o "$work/out.rtf" 2>"$work/pipe"
[ ! -s "$work/pipe" ] || fail "progress written to a pipe: $(cat -A "$work/pipe")"
echo "ok: progress on a terminal only"
