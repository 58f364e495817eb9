#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Without a display every command finishes: each message box goes to standard error as
# "title: text" and is answered with its default button. A "B" logger with alarms enabled on
# both sides raises a box per side.
source "$(dirname "$0")/command-line.sh"
mkdir -p "$work/data/Orvale Systems"
sed 's/"Logger_Type": "2"/"Logger_Type": "B"/' "$sample" > "$work/b-logger.json"
box='vxRecInfo: Unknown logger type. Please contact factory for correct software.'
for command in report printdoc rtf print store; do
  status=0
  timeout 20 "$recinfo" "$command" "$work/b-logger.json" >/dev/null 2>"$work/err" || status=$?
  [ "$status" -ne 124 ] || fail "recinfo $command waits for an answer"
  [ "$status" -eq 0 ] || { cat "$work/err"; fail "recinfo $command exited with $status"; }
  [ "$command" = store ] || grep -qxF "$box" "$work/err" ||
    { cat "$work/err"; fail "recinfo $command did not write its message box to standard error"; }
  echo "ok: $command"
done
