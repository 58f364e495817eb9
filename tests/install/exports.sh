#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# libvxRecInfo.so exports the API of its installed headers and nothing else: every dynamic
# symbol it defines names an entity those headers declare (the first name under vxRecInfo::,
# or a C entry point), so the report, rich-text, printing and window internals stay hidden.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
library="$(find "$work/prefix" -name "libvxRecInfo.so.*" -type f | head -1)"
nm -D --defined-only "$library" | awk '{print $3}' | sort -u >"$work/symbols"
c++filt <"$work/symbols" >"$work/names"
cat "$work"/prefix/include/vxRecInfo/*.h "$work"/prefix/include/vxRecInfo/*/*.h >"$work/headers"
strays=0
while read -r name; do
  # "typeinfo for vxRecInfo::X", "vtable for vxRecInfo::X", "vxRecInfo::X::f(...)", "DllRegisterServer"
  case "$name" in __bss_start | _edata | _end | VXRECINFO_[0-9]*) continue ;; esac # the linker's own, the version
  entity="$(sed -E 's/^(typeinfo name for|typeinfo for|vtable for|VTT for|non-virtual thunk to|virtual thunk to) //' <<<"$name")"
  if [[ "$entity" == vxRecInfo::* ]]; then
    first="$(sed -E 's/^vxRecInfo::([A-Za-z_][A-Za-z0-9_]*).*/\1/' <<<"$entity")"
  else
    first="$(sed -E 's/^([A-Za-z_][A-Za-z0-9_]*).*/\1/' <<<"$entity")"
  fi
  grep -qw -- "$first" "$work/headers" || { echo "not in the installed headers: $name"; strays=$((strays + 1)); }
done <"$work/names"
count="$(wc -l <"$work/names")"
[ "$strays" -eq 0 ] || { echo "FAILED: $strays of the $count exported symbols are no API of the installed headers"; exit 1; }
echo "ok: $count exported symbols, each of the installed headers' API"
