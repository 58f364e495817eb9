#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for FUZZ_SECONDS
# (default 60), starting from its corpus under fuzz/corpus/ and with the dictionary fuzz/TARGET.dict
# when there is one; inputs may grow to FUZZ_MAX_LEN bytes at once (default 128 KiB, room for
# lists nested tens of thousands deep; libFuzzer's slow growth of lengths never gets there). Prints executions and new
# coverage per target; fails on any crash, leak, sanitizer report or input slower than 1 s.
# New corpus entries stay in a temporary folder; findings are kept in fuzz-findings/TARGET/
# so they can be fixed and then moved into the corpus, where `make test` replays them.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"
targets="${FUZZ_TARGETS:-$(ls fuzz/corpus)}"

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVXRECINFO_FUZZ=ON -DVXRECINFO_BENCH=OFF >/dev/null
build_targets=()
for t in $targets; do build_targets+=(--target "${t}_fuzz"); done
cmake --build "$build" -j "${JOBS:-2}" "${build_targets[@]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan-suppressions.txt"
status=0
rows=()
for t in $targets; do
  mkdir -p "$work/$t/corpus" "fuzz-findings/$t"
  log="$work/$t/log"
  result=ok
  dict=()
  [ ! -f "fuzz/$t.dict" ] || dict=(-dict="fuzz/$t.dict")
  if ! "$build/fuzz/${t}_fuzz" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=4096 -print_final_stats=1 \
       -max_len="${FUZZ_MAX_LEN:-131072}" -len_control=0 "${dict[@]}" \
       -artifact_prefix="fuzz-findings/$t/" "$work/$t/corpus" "fuzz/corpus/$t" >"$log" 2>&1; then
    result=FAILED
    status=1
    cp "$log" "fuzz-findings/$t/fuzzer.log"
    grep -E "ERROR|SUMMARY|timeout|Test unit written" "$log" | head -20 >&2 || true
  fi
  rmdir "fuzz-findings/$t" 2>/dev/null || true
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  first="$(grep -m1 -o 'INITED cov: [0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)"
  last="$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || echo 0)"
  rows+=("$(printf '| %-16s | %8s s | %12s | %9s | %9s | %-6s |' "$t" "$seconds" "${execs:-0}" "$first" "$((last - first))" "$result")")
done
printf '| %-16s | %10s | %12s | %9s | %9s | %-6s |\n' target time executions "start cov" "new cov" result
printf '|%s|%s|%s|%s|%s|%s|\n' ------------------ ------------ -------------- ----------- ----------- --------
printf '%s\n' "${rows[@]}"
[ "$status" -eq 0 ] || echo "findings are in fuzz-findings/: fix each, then move it into fuzz/corpus/TARGET/" >&2
exit "$status"
