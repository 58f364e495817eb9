#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command on an X server of its own: an Xvfb started here on a free display, stopped by
# its process id when the command ends. Exits with the command's status.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 COMMAND [ARG...]" >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "$0: Xvfb is missing (tools/install-deps.sh installs it)" >&2; exit 1; }
work="$(mktemp -d)"
pid=""
stop() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM
# The server writes its display number to fd 3 once it accepts clients. A fixed resolution and
# depth keep screenshots the same on every machine.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset 3>"$work/display" 2>"$work/log" &
pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "$0: Xvfb did not start:" >&2; cat "$work/log" >&2; exit 1; }
  sleep 0.1
done
[ -s "$work/display" ] || { echo "$0: Xvfb gave no display in 10 s" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
status=0
"$@" || status=$?
exit "$status"
