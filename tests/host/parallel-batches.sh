#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The batch commands on several threads give what one thread gives, byte for byte: standard
# output, standard error, exit status and the info file, for every recordings file of the tree,
# good and bad (the slices file sets the values a commit keeps in some datasets only); a print
# job's text, pages and metadata as pdftotext and pdfinfo read them.
set -euo pipefail
recinfo="$1"; source="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" \
  VXRECINFO_REGISTRY="$work/registry.ini" VXRECINFO_PDF_DIR="$work/pdf" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$VXRECINFO_PDF_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
info="$XDG_DATA_HOME/Orvale Systems/info.txt"
failed=0

# run NAME ARGS...: the command's output, errors, status and info file in $work/NAME.*
run() {
  local name="$1"; shift
  rm -f "$info"
  set +e
  "$recinfo" "$@" -q >"$work/$name.out" 2>"$work/$name.err"
  echo "$?" >"$work/$name.status"
  set -e
  if [ -f "$info" ]; then cp "$info" "$work/$name.info"; else : >"$work/$name.info"; fi
}

same() {
  local what="$1"
  for part in out err status info; do
    if ! cmp -s "$work/one.$part" "$work/many.$part"; then
      echo "FAIL: $what: --jobs 1 and --jobs 3 differ in $part"
      diff <(head -c 2000 "$work/one.$part") <(head -c 2000 "$work/many.$part") | head -5 || true
      failed=1
    fi
  done
}

for file in "$source"/samples/*.json "$source"/tests/data/recordings/*.json; do
  for command in "rtf" "rtf --no-page-numbers" "rtf -o -" "printdoc"; do
    # shellcheck disable=SC2086 # the command's words
    run one $command "$file" --jobs 1
    # shellcheck disable=SC2086
    run many $command "$file" --jobs 3
    same "recinfo $command $(basename "$file")"
  done
done

# Faults only a dataset's own reading finds: a key given twice in the last dataset; nesting
# far past the limit in the first (its reading must refuse it, not recurse into it).
python3 - "$source/tests/data/recordings/slices.json" "$work" <<'PY'
import sys
text = open(sys.argv[1]).read()
first = text.index("{", text.index('"datasets"'))
last = text.rindex("{", 0, text.rindex("}", 0, text.rindex("]")))
open(sys.argv[2] + "/twice-in-last.json", "w").write(text[:last + 1] + '"DataSetDesc": "a", "DataSetDesc": "b",' + text[last + 1:])
depth = 200000
open(sys.argv[2] + "/too-deep.json", "w").write(text[:first + 1] + '"Note": ' + "[" * depth + "]" * depth + "," + text[first + 1:])
PY
for file in "$work/twice-in-last.json" "$work/too-deep.json"; do
  run one rtf "$file" --jobs 1
  run many rtf "$file" --jobs 3
  same "recinfo rtf $(basename "$file")"
  grep -q -e "is given twice" -e "nested deeper than" "$work/one.err" || { echo "FAIL: $(basename "$file"): $(head -c 300 "$work/one.err")"; failed=1; }
done

# Into a file, the first slice's text goes out in parts as it is made: a batch long enough for
# several parts gives what one thread gives; one that fails in its last report leaves the file
# as it found it, what came before the batch included.
python3 - "$source" "$work" <<'PY'
import json, sys
source, work = sys.argv[1:]
text = json.load(open(source + "/tests/data/recordings/slices.json"))
bad = dict(text, datasets=[dict(d) for d in text["datasets"]])
bad["datasets"][-1]["SignatureRead"] = {"vt": "String[]", "values": ["Anna", "45306.5", "Approved"]}
json.dump(bad, open(work + "/bad-last-report.json", "w"))
json.dump(dict(text, datasets=text["datasets"] * 260), open(work + "/long.json", "w"))
PY
run one rtf "$work/long.json" --jobs 1
run many rtf "$work/long.json" --jobs 2
same "recinfo rtf long.json"
for jobs in 1 3; do
  { echo before; "$recinfo" rtf "$work/bad-last-report.json" -q --jobs "$jobs" 2>"$work/bad.err" || true; } >"$work/bad.out"
  grep -q "RTF_All failed with error 9" "$work/bad.err" || { echo "FAIL: bad-last-report --jobs $jobs: $(cat "$work/bad.err")"; failed=1; }
  [ "$(cat "$work/bad.out")" = before ] || { echo "FAIL: a failed rtf --jobs $jobs left $(wc -c <"$work/bad.out") bytes"; failed=1; }
done

# Standard input, read once and shared by the threads.
run one rtf - --jobs 1 <"$source/tests/data/recordings/slices.json"
run many rtf - --jobs 3 <"$source/tests/data/recordings/slices.json"
same "recinfo rtf - (slices.json)"

# A print job: the pages in order, one job, the same metadata but for its dates.
for file in "$source"/tests/data/recordings/slices.json "$source"/samples/four-channel-temperature.json; do
  for jobs in 1 3; do
    rm -f "$VXRECINFO_PDF_DIR"/*.pdf
    "$recinfo" print "$file" --printer "vxRecInfo PDF" --jobs "$jobs" -q | sed 's/ into .*//' >"$work/print$jobs.out"
    pdf="$(ls "$VXRECINFO_PDF_DIR"/*.pdf)"
    pdftotext -layout "$pdf" "$work/print$jobs.txt"
    pdfinfo "$pdf" | grep -v -e Date -e '^File size' >"$work/print$jobs.info"
  done
  for part in out txt info; do
    cmp -s "$work/print1.$part" "$work/print3.$part" || { echo "FAIL: print $(basename "$file"): $part differs"; failed=1; }
  done
done
exit "$failed"
