#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the fault-injection suite in a temporary folder of its own, removed at the end (tmpfs
# mounts inside it are unmounted first, also when a case failed half-way).
set -euo pipefail
recinfo="$1"; samples="$2"; here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
cleanup() {
  grep -F " $work/" /proc/mounts | cut -d' ' -f2 | sort -r | xargs -r -n1 umount -l 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export RECINFO="$recinfo" SAMPLES="$samples" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 PYTHONDONTWRITEBYTECODE=1
cd "$work"
"${PYTHON:-/usr/bin/python3}" -m pytest -q -p no:cacheprovider -rs --basetemp="$work/t" "$here/test_faults.py" "${@:3}"
