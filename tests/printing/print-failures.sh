#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# recinfo print when things fail, checked from the real side: a PDF job in a process killed
# while it is open leaves no job file (the full disk and random kills are the fault suite's);
# on a private CUPS server the queue is listed before the PDF printer, a job is reported
# printed only once the server has it completed, an abandoned one is canceled, and a queue that
# rejects or holds it, or a server killed half-way through a batch, fails the print with one
# line and status 1.
# Usage: print-failures.sh RECINFO EXIT_WITH_OPEN_JOB PRIVATE_CUPS_SH SAMPLE
set -euo pipefail
openjob="$2"; cups="$3"
# shellcheck source=../host/command-line.sh
. "$(dirname "$0")/../host/command-line.sh" "$1" "$4"
queue=vxRecInfoTestQueue
server="$work/cups"
export CUPS_SERVER="127.0.0.1:$((20000 + $$ % 20000))"
cleanup() {
  "$cups" stop "$server"
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/killed"

# recinfo print with status want, one line on standard error (for 1) matching line.
print() { # want line file printer
  local status=0
  "$recinfo" print "$3" --printer "$4" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq "$1" ] || fail "print on $4 exited with $status, not $1: $(cat "$work/out" "$work/err")"
  if [ "$1" -ne 0 ]; then
    [ "$(wc -l <"$work/err")" -eq 1 ] && [ ! -s "$work/out" ] || fail "print on $4: not one line: $(cat "$work/err")"
    grep -qE "$2" "$work/err" || fail "print on $4: no line like $2: $(cat "$work/err")"
  else
    grep -qE "$2" "$work/out" || fail "print on $4: no line like $2: $(cat "$work/out")"
  fi
}
jobFiles() { find "$1" -name 'job-*.pdf' | sort | tr '\n' ' '; }

# A process killed half-way through a PDF job leaves no job file.
"$openjob" hang "$work/killed" >"$work/ready" &
child=$!
for _ in $(seq 1 300); do grep -q ready "$work/ready" && break; sleep 0.1; done
grep -q ready "$work/ready" || fail "the printing child never got ready"
kill -9 "$child"
wait "$child" || true
[ -z "$(jobFiles "$work/killed")" ] || fail "a killed job left job files: $(jobFiles "$work/killed")"
for f in "$work/killed"/*; do [ ! -e "$f" ] || pdfinfo "$f" >/dev/null || fail "a torn file stayed: $f"; done
echo "ok: a killed PDF job"

"$cups" start "$server" "${CUPS_SERVER#*:}" || fail "no private CUPS server (cupsd from cups-daemon)"
completed() { lpstat -W completed -o "$queue" | wc -l; }
# setup | wait bound (s) | exit status | a line of the answer | completed jobs added
while IFS='|' read -r setup bound want line added; do
  before="$(completed)"
  eval "$setup"
  VXRECINFO_PRINT_WAIT="$bound" print "$want" "$line" "$sample" "$queue"
  [ "$(completed)" -eq $((before + added)) ] || fail "after '$setup': $(completed) completed jobs, not $((before + added))"
  cancel -a "$queue" 2>/dev/null || true
done <<CASES
cupsenable $queue; cupsaccept $queue|60|0|^printed 2 report\(s\) on "$queue"$|1
cupsreject $queue|60|1|error 482: Printer error: .*"$queue".*not accepting jobs|0
cupsaccept $queue; cupsdisable $queue|2|1|error 482: Printer error: job [0-9]+ on "$queue" is still queued after 2 s|0
CASES
cupsenable "$queue"
print 1 "^recinfo: no printer \"nosuch\"; installed: (.*, )?$queue(, .*)?, vxRecInfo PDF$" "$sample" nosuch
# An abandoned job, which Qt's engine sends all the same, is canceled: a stopped queue would hold it.
cupsdisable "$queue"
"$openjob" abandon "$queue" || fail "the child could not start a job on $queue and abandon it"
left="$(lpstat -o "$queue")" || fail "lpstat -o $queue failed"
cancel -a "$queue" 2>/dev/null || true
cupsenable "$queue"
[ -z "$left" ] || fail "the abandoned job went to the printer: $left"
echo "ok: CUPS jobs confirmed, rejected, held and abandoned; the queue listed before the PDF printer"

# The server killed while it holds the job: the wait ends with the server's error.
cupsdisable "$queue"
VXRECINFO_PRINT_WAIT=60 "$recinfo" print "$sample" --printer "$queue" >"$work/out" 2>"$work/err" &
held=$!
for _ in $(seq 1 300); do lpstat -o "$queue" | grep -q "$queue" && break; sleep 0.05; done
kill -9 "$(cat "$server/cupsd.pid")"
status=0
wait "$held" || status=$?
[ "$status" -eq 1 ] && grep -qE "error 482: Printer error: the printer \"$queue\" cannot be asked about job [0-9]+" "$work/err" ||
  fail "a job held by a killed server: status $status, $(cat "$work/out" "$work/err")"
"$cups" start "$server" "${CUPS_SERVER#*:}" && cupsenable "$queue" && cancel -a "$queue"
echo "ok: the server killed while holding the job"

# The server killed half-way through a batch of 2000 reports (some seconds: room for the kill).
python3 - "$sample" "$work/2000.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
d["datasets"] = (d["datasets"] * 1000)[:2000]
json.dump(d, open(sys.argv[2], "w"))
PY
script -qec "'$recinfo' print '$work/2000.json' --printer $queue" /dev/null >"$work/tty" &
batch=$!
halfway='printing 1[0-9]{3}/2000'
for _ in $(seq 1 2400); do grep -qE "$halfway" "$work/tty" && break; sleep 0.05; done
grep -qE "$halfway" "$work/tty" || fail "the batch never got half-way: $(tail -c 300 "$work/tty")"
kill -9 "$(cat "$server/cupsd.pid")"
status=0
wait "$batch" || status=$?
[ "$status" -eq 1 ] && grep -qE "error 482: Printer error: .*\"$queue\"" "$work/tty" ||
  fail "a batch printed to a killed server: status $status, $(tail -c 300 "$work/tty")"
echo "ok: the server killed half-way"
