#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Slow check that LibreOffice can open RTF written by the component: converts each RTF file
# given to PDF and fails when a PDF is missing or empty. LibreOffice exits 0 even when it could
# not load its input, so the PDF itself is the evidence.
# Needs: apt-get install libreoffice-writer-nogui
set -euo pipefail
if [ $# -eq 0 ]; then
  echo "usage: $0 FILE.rtf..." >&2
  exit 2
fi
command -v soffice >/dev/null || { echo "soffice not found: apt-get install libreoffice-writer-nogui" >&2; exit 1; }
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
status=0
for rtf in "$@"; do
  soffice --headless --convert-to pdf --outdir "$out" "$rtf" >/dev/null 2>&1 || true
  pdf="$out/$(basename "${rtf%.*}").pdf"
  if [ -s "$pdf" ]; then
    echo "ok: $rtf"
  else
    echo "FAILED: LibreOffice could not convert $rtf" >&2
    status=1
  fi
done
exit $status
