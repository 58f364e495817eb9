#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Lines of test code against lines of shipped code. Tests: the sources under tests/ and fuzz/
# (C++, Python, shell, CMake; golden reports, corpora and other data files are not counted).
# Code: the same kinds of files under RecInfo/, host/ and python/.
set -euo pipefail
cd "$(dirname "$0")/.."
lines() { git ls-files -co --exclude-standard -- "$@" | grep -E '(\.(cpp|h|py|sh|cmake)|CMakeLists\.txt)$' | tr '\n' '\0' | xargs -0 cat | wc -l; }
tests="$(lines tests fuzz)"
code="$(lines RecInfo host python)"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests %d lines, code %d lines: %.3f\n", t, c, t / c }'
