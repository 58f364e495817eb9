#!/usr/bin/env bash
# Runs every benchmark of a build folder and prints one summary table (and keeps it in
# bench/results.md, which is not committed).
set -euo pipefail
build="${1:-build}"
export QT_QPA_PLATFORM=offscreen
results="bench/results.md"
value() { sed -n "s/.*$1=\([^ ]*\).*/\1/p" <<<"$2"; }
{
  printf '| %-52s | %18s | %22s |\n' benchmark "time per op" "per second"
  printf '|%s|%s|%s|\n' "------------------------------------------------------" "--------------------" "------------------------"
  for b in "$build"/bench/bench_dispatch "$build"/bench/bench_rtbformat "$build"/bench/bench_report; do
    "$b" --benchmark_format=csv 2>/dev/null | tail -n +2 | while IFS=, read -r name iterations real cpu unit bps ips rest; do
      per="${ips:-}"
      [ -n "$bps" ] && per="$(awk -v b="$bps" 'BEGIN { printf "%.1f MB/s", b / 1e6 }')"
      [ -n "$ips" ] && per="$(awk -v i="$ips" 'BEGIN { printf "%.0f items/s", i }')"
      printf '| %-52s | %15.1f %-2s | %22s |\n' "${name//\"/}" "$cpu" "$unit" "$per"
    done
  done
  rtf10k="$("$build"/bench/services_bench rtf-all 10000 2>/dev/null)"
  printf '| %-52s | %17.2fs | %22s |\n' "RTF_All, 10,000 datasets" "$(value seconds "$rtf10k")" "$(value mb_per_second "$rtf10k") MB/s"
  pdf="$("$build"/bench/services_bench print 50 2>/dev/null)"
  printf '| %-52s | %17.2fs | %22s |\n' "PrintAll on the PDF printer, 50 datasets ($(value pages "$pdf") pages)" "$(value seconds "$pdf")" "$(value pages_per_second "$pdf") pages/s"
  half="$("$build"/bench/services_bench rtf-all 16383 2>/dev/null)"
  full="$("$build"/bench/services_bench rtf-all 32767 2>/dev/null)"
  ratio="$(awk -v a="$(value seconds "$half")" -v b="$(value seconds "$full")" 'BEGIN { printf "%.2f", b / a }')"
  printf '| %-52s | %17.2fs | %22s |\n' "RTF_All, 32,767 datasets (peak memory $(value peak_mb "$full") MB)" "$(value seconds "$full")" "$(value mb_per_second "$full") MB/s"
  printf '| %-52s | %18s | %22s |\n' "RTF_All time ratio, 32,767 / 16,383 datasets" "$ratio" "at most 2.3"
} | tee "$results"
