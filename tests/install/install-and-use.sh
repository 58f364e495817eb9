#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a temporary prefix and uses it as a host project would: one built
# with find_package, one with pkg-config; then runs the installed recinfo from there.
set -euo pipefail
build="$1"; source_dir="$2"; python="${3:-}" # the interpreter of the Python module, when it is built
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

# Headers, libraries, package files, recinfo and the samples are used below; the documents only lie there.
for f in share/doc/vxRecInfo/README.md share/doc/vxRecInfo/architecture.md share/doc/vxRecInfo/recordings-file.md; do
  [ -e "$prefix/$f" ] || { echo "FAILED: $f is not installed"; exit 1; }
done
# Of printing/, only the PDF records' options and check are for hosts.
[ "$(ls "$prefix/include/vxRecInfo/printing")" = PdfRecord.h ] ||
  { echo "FAILED: printing/ installs $(ls "$prefix/include/vxRecInfo/printing")"; exit 1; }
for folder in support report richtext windows; do
  [ ! -e "$prefix/include/vxRecInfo/$folder" ] || { echo "FAILED: $folder/ headers are installed"; exit 1; }
done
[ "$(readlink "$prefix/lib/libvxRecInfo.so.1")" = libvxRecInfo.so.1.0.0 ] || { echo "FAILED: soname link"; exit 1; }

# A host project with find_package.
cmake -S "$source_dir/tests/install/cmake-host" -B "$work/cmake-host" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake-host" >/dev/null
"$work/cmake-host/app" > "$work/cmake.rtf"
grep -q 'A1029384' "$work/cmake.rtf" || { echo "FAILED: the find_package host's report lacks the serial number"; exit 1; }
echo "ok: find_package host"

# A host built with pkg-config.
PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --exists 'vxRecInfo >= 1'
# shellcheck disable=SC2046
g++ -std=c++20 -fPIC "$source_dir/tests/install/host-example.cpp" -o "$work/pc-host" \
  $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs vxRecInfo)
LD_LIBRARY_PATH="$prefix/lib" "$work/pc-host" > "$work/pc.rtf"
grep -q 'A1029384' "$work/pc.rtf" || { echo "FAILED: the pkg-config host's report lacks the serial number"; exit 1; }
echo "ok: pkg-config host"

# The installed recinfo runs from its prefix and finds the library and the samples there.
"$prefix/bin/recinfo" store temp-humidity.json > "$work/store.json"
grep -q '"SerialNumber"' "$work/store.json" || { echo "FAILED: the installed recinfo cannot store a bundled sample"; exit 1; }
echo "ok: installed recinfo"

# The manual page and the shell completion are installed with it.
manual="$(MANWIDTH=200 MANPATH="$prefix/share/man" man -P cat recinfo 2>/dev/null)"
grep -q 'recinfo report FILE' <<<"$manual" || { echo "FAILED: man recinfo does not find the manual page under $prefix/share/man"; exit 1; }
for section in 'EXIT STATUS' ENVIRONMENT FILES 'SEE ALSO'; do
  grep -qx "$section" <<<"$manual" || { echo "FAILED: the manual page has no $section"; exit 1; }
done
# Its exit statuses are those of the help.
squeeze() { tr -s ' ' | sed 's/^ //'; }
squeezed="$(squeeze <<<"$manual")"
while read -r code; do
  grep -qxF "$code" <<<"$squeezed" || { echo "FAILED: the manual page lacks exit status '$code'"; exit 1; }
done < <("$prefix/bin/recinfo" --help | sed -n '/^Exit status:/,/^$/p' | grep -E '^ +[0-9] ' | squeeze)
# The help names the folder of the installed documents.
docs="$("$prefix/bin/recinfo" --help | tr '\n' ' ' | grep -o 'documents in [^ ]*' | sed 's/^documents in //; s/\.$//')"
[ -f "$docs/README.md" ] && [ -f "$docs/recordings-file.md" ] ||
  { echo "FAILED: recinfo --help names '$docs' for the documents"; exit 1; }
bash -c "source '$prefix/share/bash-completion/completions/recinfo' && complete -p recinfo" >/dev/null \
  || { echo "FAILED: no bash completion for recinfo"; exit 1; }
echo "ok: manual page and completion"

# The Python module from the prefix (it has the component linked in).
if [ -n "$python" ]; then
  PYTHONPATH="$prefix/lib/python3/dist-packages" "$python" -c '
import sys, vxrecinfo
rec = vxrecinfo.Dispatch("vxRecInfo.RecordInfo")
rec.TimeZone = 2
assert rec.TimeZone == 2 and vxrecinfo.__file__.startswith(sys.argv[1])' "$prefix" \
    || { echo "FAILED: the installed Python module does not create a RecordInfo"; exit 1; }
  echo "ok: installed Python module"
fi
