#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every include between the component's folders points down the layers: a folder uses only
# the folders below it. Prints each include that points up and fails if there is one.
set -euo pipefail
root="${1:-$(dirname "$0")/../RecInfo}"
layers=(automation component support printing hostclasses richtext report windows)
rank() { local i; for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done; echo -1; }
status=0
for layer in "${layers[@]}"; do
  [ -d "$root/$layer" ] || continue
  own="$(rank "$layer")"
  while IFS=: read -r file line include; do
    used="$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$include")"
    r="$(rank "$used")"
    if [ "$r" -gt "$own" ]; then
      echo "${file#"$root"/}:$line: $layer uses $used (above it)"
      status=1
    fi
  done < <(grep -n -E '#include "[a-z]+/' "$root/$layer"/*.{h,cpp} 2>/dev/null || true)
done
[ "$status" -eq 0 ] && echo "ok: every include points down (${layers[*]})"
exit "$status"
