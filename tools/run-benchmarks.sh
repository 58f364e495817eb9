#!/usr/bin/env bash
# Runs every benchmark of a build folder and prints one summary table.
set -euo pipefail
build="${1:-build}"
export QT_QPA_PLATFORM=offscreen
shopt -s nullglob
benches=("$build"/bench/bench_*)
if [ ${#benches[@]} -eq 0 ]; then
  echo "no benchmarks in $build/bench" >&2
  exit 1
fi
printf '| %-45s | %14s | %16s |\n' benchmark "time per op" "items per second"
printf '|%s|%s|%s|\n' "-----------------------------------------------" "----------------" "------------------"
for b in "${benches[@]}"; do
  "$b" --benchmark_format=csv 2>/dev/null | tail -n +2 | while IFS=, read -r name iterations real cpu unit bps ips rest; do
    printf '| %-45s | %11.1f %-2s | %16s |\n' "${name//\"/}" "$cpu" "$unit" "${ips:-}"
  done
done
