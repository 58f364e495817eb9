#!/usr/bin/env bash
# Without a display every command finishes: each message box goes to standard error as
# "title: text" and is answered with its default button. A "B" logger with alarms enabled on
# both sides raises a box per side.
set -euo pipefail
recinfo="$1"; sample="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  VXRECINFO_PDF_DIR="$work/pdf" QT_QPA_PLATFORM=offscreen
mkdir -p "$work/data/Orvale Systems"
sed 's/"Logger_Type": "2"/"Logger_Type": "B"/' "$sample" > "$work/b-logger.json"
grep -q '"Logger_Type": "B"' "$work/b-logger.json"
box='vxRecInfo: Unknown logger type. Please contact factory for correct software.'
for command in report printdoc rtf print store; do
  status=0
  timeout 20 "$recinfo" "$command" "$work/b-logger.json" >/dev/null 2>"$work/err" || status=$?
  [ "$status" -ne 124 ] || { echo "FAILED: recinfo $command waits for an answer"; exit 1; }
  [ "$status" -eq 0 ] || { echo "FAILED: recinfo $command exited with $status"; cat "$work/err"; exit 1; }
  if [ "$command" != store ] && ! grep -qxF "$box" "$work/err"; then
    echo "FAILED: recinfo $command did not write its message box to standard error"; cat "$work/err"; exit 1
  fi
  echo "ok: $command"
done
