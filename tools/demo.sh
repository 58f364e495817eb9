#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The main job on the bundled samples. With a display: the Statistics and Info window on the
# sample recordings (the Import window with --import). Without one: the PDF printout
# (PrintAll on the PDF printer), the rich text (RTF_All) and the print documents (RTF_NT) of
# every sample, under out/.
set -euo pipefail
build="${1:-build}"; shift || true
mode="${1:-}"
recinfo="$build/host/recinfo"
samples=(samples/four-channel-temperature.json samples/temp-humidity.json samples/rf-network-alarms.json)

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  if [ "$mode" = "--import" ]; then
    exec "$recinfo" import samples/rf-network-alarms.json
  fi
  exec "$recinfo" show samples/four-channel-temperature.json
fi

out="out"
mkdir -p "$out"
export VXRECINFO_PDF_DIR="$PWD/$out/pdf"
rm -rf "$VXRECINFO_PDF_DIR"
for sample in "${samples[@]}"; do
  name="$(basename "$sample" .json)"
  printed="$("$recinfo" print "$sample" --printer "vxRecInfo PDF")"
  pdf="${printed##* into }"
  mv "$pdf" "$out/$name.pdf"
  "$recinfo" rtf "$sample" -o "$out/$name.rtf"
  "$recinfo" printdoc "$sample" > "$out/$name-printdoc.txt"
  echo "$name: $out/$name.pdf ($(pdfinfo "$out/$name.pdf" | awk '/^Pages:/ {print $2}') pages), $out/$name.rtf, $out/$name-printdoc.txt"
done
rmdir "$VXRECINFO_PDF_DIR" 2>/dev/null || true
echo "No display: wrote the printouts, rich text and print documents of every sample under $PWD/$out/"
