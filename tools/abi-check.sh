#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The ABI of the built libvxRecInfo.so against the previous build's (abidiff, libabigail),
# over the types and functions of the installed headers. The previous build is the library of
# the last check that passed, kept in BUILD/abi-baseline/; the first check only records it.
# Added functions are reported and allowed; a removed or changed one fails until it is undone or
# accepted with --update (a change the soname would have to announce).
set -euo pipefail
build="${1:?usage: abi-check.sh BUILD [--update]}"; update="${2:-}"
baseline="$build/abi-baseline"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
library="$(readlink -f "$build/RecInfo/libvxRecInfo.so")"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
record() {
  rm -rf "$baseline"; mkdir -p "$baseline/include"
  cp "$library" "$baseline/"
  cp -r "$work/prefix/include/vxRecInfo/." "$baseline/include/"
}
if [ ! -d "$baseline" ] || [ "$update" = --update ]; then
  record
  echo "recorded $(basename "$library") as the baseline in $baseline"
  exit 0
fi
compare() {
  abidiff --headers-dir1 "$baseline/include" --headers-dir2 "$work/prefix/include/vxRecInfo" --drop-private-types \
    "$@" "$baseline/$(basename "$library")" "$library"
}
# abidiff's status is a bit set: 1 error, 2 usage, 4 a change, 8 an incompatible change. Without
# the added functions, any change left is one a host built against the baseline could notice.
status=0
compare --no-added-syms >"$work/report" || status=$?
if (( status != 0 )); then
  cat "$work/report"
  echo "FAILED: the ABI of libvxRecInfo.so changed against the previous build (abidiff status $status);"
  echo "undo the change, or accept it with tools/abi-check.sh $build --update and a new soname"
  exit 1
fi
status=0
compare >"$work/report" || status=$?
if (( status & 4 )); then cat "$work/report"; echo "ok: compatible additions only"; else echo "ok: the ABI is the previous build's"; fi
record
