#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every source file of the tree says its licence in an SPDX line near its top; data files
# (tests/data, samples, corpora, string tables) are covered by LICENSE and debian/copyright.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
missing="$(git ls-files -co --exclude-standard |
  grep -vE '^(tests/data/|samples/|docs/|fuzz/corpus/|debian/)' |
  grep -E '(\.(cpp|h|py|pyi|sh|cmake|in|h2m)|CMakeLists\.txt|Makefile|\.bash-completion)$|^\.ci/' |
  while read -r f; do head -3 "$f" | grep -q 'SPDX-License-Identifier: MIT' || echo "$f"; done)"
[ -z "$missing" ] || { echo "no SPDX line in:"; echo "$missing"; exit 1; }
echo "ok: every source file has its SPDX line"
