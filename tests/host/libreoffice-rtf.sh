#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The rich text of every sample, joined by `recinfo rtf -o`, opens in LibreOffice: each file
# converts to PDF and every dataset's report starts on a page of its own.
set -euo pipefail
recinfo="$1"; samples="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen
for sample in "$samples"/*.json; do
  name="$(basename "$sample" .json)"
  "$recinfo" rtf "$sample" -o "$work/$name.rtf"
  soffice --headless -env:UserInstallation="file://$work/lo" --convert-to pdf --outdir "$work" "$work/$name.rtf" >/dev/null 2>&1 || true
  [ -s "$work/$name.pdf" ] || { echo "FAILED: LibreOffice could not open $name.rtf"; exit 1; }
  datasets="$(grep -o '"DataSetDesc"' "$sample" | wc -l)"
  pages="$(pdfinfo "$work/$name.pdf" | awk '/^Pages:/ {print $2}')"
  # pdftotext ends every page with a form feed: count the pages with a line starting a report.
  starts="$(pdftotext "$work/$name.pdf" - | awk -v RS='\f' '/(^|\n)DataSet +[0-9]*:/ {n++} END {print n + 0}')"
  if [ "$starts" -ne "$datasets" ]; then
    echo "FAILED: $name: $datasets datasets but $starts pages start a report"
    exit 1
  fi
  echo "ok: $name ($datasets report(s) on $pages page(s))"
done
