#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# make package's Debian packages as a Debian developer checks them: lintian without an error or a
# warning; unpacked into a scratch root, hosts built with find_package and with pkg-config under
# the multiarch libdir, recinfo and the Python module running from there; stripped binaries with
# their debug symbols in -dbgsym packages.
set -euo pipefail
source_dir="$1"; python="${2:-}" # the interpreter of the Python module, when it is built
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen
fail() { echo "FAILED: $*"; exit 1; }
"$source_dir/tools/make-packages.sh" "$work/out" >/dev/null
for p in libvxrecinfo1 libvxrecinfo-dev python3-vxrecinfo vxrecinfo-tools libvxrecinfo1-dbgsym vxrecinfo-tools-dbgsym; do
  ls "$work"/out/${p}_*.*deb >/dev/null 2>&1 || fail "no package $p"
done
lintian --fail-on error,warning --no-tag-display-limit "$work"/out/*.changes >"$work/lintian" 2>&1 ||
  { cat "$work/lintian"; fail "lintian"; }
echo "ok: lintian: no error, no warning"

for deb in "$work"/out/*.deb; do dpkg-deb -x "$deb" "$work/root"; done
multiarch="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"
libdir="$work/root/usr/lib/$multiarch"
file -L "$libdir/libvxRecInfo.so.1" "$work/root/usr/bin/recinfo" | grep -v ', stripped' && fail "unstripped binaries"
readelf -d "$work/root/usr/bin/recinfo" | grep -q 'BIND_NOW' || fail "recinfo is not linked with -z now"
[ -f "$work/root/usr/share/doc/libvxrecinfo-dev/html/classvxRecInfo_1_1__RecordInfo.html" ] ||
  fail "no API reference of _RecordInfo in libvxrecinfo-dev"

# A host project with find_package, and one with pkg-config, against the scratch root.
cmake -S "$source_dir/tests/install/cmake-host" -B "$work/cmake-host" -G Ninja -DCMAKE_PREFIX_PATH="$work/root/usr" >/dev/null
cmake --build "$work/cmake-host" >/dev/null
LD_LIBRARY_PATH="$libdir" "$work/cmake-host/app" | grep -q 'A1029384' || fail "the find_package host's report"
# shellcheck disable=SC2046
g++ -std=c++20 -fPIC "$source_dir/tests/install/host-example.cpp" -o "$work/pc-host" \
  $(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs vxRecInfo)
LD_LIBRARY_PATH="$libdir" "$work/pc-host" | grep -q 'A1029384' || fail "the pkg-config host's report"
echo "ok: hosts built with find_package and pkg-config under lib/$multiarch"

LD_LIBRARY_PATH="$libdir" "$work/root/usr/bin/recinfo" store temp-humidity.json | grep -q '"SerialNumber"' ||
  fail "recinfo from the packages cannot store a bundled sample"
docs="$(LD_LIBRARY_PATH="$libdir" "$work/root/usr/bin/recinfo" --help | tr '\n' ' ' | grep -o 'documents in [^ ]*' |
  sed 's/^documents in //; s/\.$//')"
[ -f "$work/root$docs/README.md.gz" ] && [ -f "$work/root$docs/recordings-file.md.gz" ] ||
  fail "recinfo --help names '$docs' for the documents"
if [ -n "$python" ]; then
  PYTHONPATH="$work/root/usr/lib/python3/dist-packages" "$python" -c '
import os, sys, vxrecinfo
vxrecinfo.Dispatch("vxRecInfo.RecordInfo").ClearAllDataSets()
assert vxrecinfo.__file__.startswith(sys.argv[1])
package = os.path.dirname(vxrecinfo.__file__)
assert all(os.path.isfile(os.path.join(package, f)) for f in ("__init__.pyi", "py.typed"))' "$work/root" ||
    fail "the Python package from the package"
fi
echo "ok: recinfo and the Python module from the packages"
