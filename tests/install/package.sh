#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# make package's Debian package: no test programs, dependencies computed for Qt, and recinfo from
# the unpacked package storing a bundled sample.
set -euo pipefail
build="$1"; python="${2:-}" # the interpreter of the Python module, when it is built
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen
(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb="$(ls "$work"/out/vxrecinfo_*_amd64.deb)"
# It holds what make install installs (no components), which install-and-use.sh checks.
files="$(dpkg-deb -c "$deb" | awk '{print $6}')"
if grep -q -e '/include/vxRecInfo/support/' -e '_test' -e '_replay' <<<"$files"; then
  echo "FAILED: the package holds private headers or test programs"; exit 1
fi
depends="$(dpkg-deb -f "$deb" Depends)"
grep -q 'libqt6core6' <<<"$depends" || { echo "FAILED: Depends has no Qt: $depends"; exit 1; }
dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/recinfo" store temp-humidity.json > "$work/store.json"
grep -q '"SerialNumber"' "$work/store.json" || { echo "FAILED: recinfo from the package cannot store a bundled sample"; exit 1; }
echo "ok: $(basename "$deb"), Depends: $depends"

# The Python module from the unpacked package.
if [ -n "$python" ]; then
  PYTHONPATH="$work/root/usr/lib/python3/dist-packages" "$python" -c '
import sys, vxrecinfo
vxrecinfo.Dispatch("vxRecInfo.RecordInfo").ClearAllDataSets()
assert vxrecinfo.__file__.startswith(sys.argv[1])' "$work/root" \
    || { echo "FAILED: the Python module from the package does not create a RecordInfo"; exit 1; }
  echo "ok: Python module in the package"
fi
