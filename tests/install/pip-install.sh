#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# pip install . as a Python developer runs it, without the network: the tree's files into a
# virtual environment that sees Debian's setuptools and wheel. The package then imports from the
# environment with its stubs, has signatures, and makes a report of a bundled sample.
set -euo pipefail
source_dir="$1"; python="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen \
  VXRECINFO_REGISTRY="$work/registry.ini" PIP_NO_INDEX=1 PIP_NO_CACHE_DIR=1 PIP_DISABLE_PIP_VERSION_CHECK=1 \
  PYTHONDONTWRITEBYTECODE=1
fail() { echo "FAILED: $*"; exit 1; }
mkdir -p "$work/src" "$HOME"
(cd "$source_dir" && git ls-files -co --exclude-standard -z | tar --null -T - -cf -) | tar -C "$work/src" -xf -
"$python" -m venv --system-site-packages "$work/venv"
(cd "$work/src" && "$work/venv/bin/pip" install --no-build-isolation . >"$work/pip.log" 2>&1) ||
  { tail -30 "$work/pip.log"; fail "pip install ."; }
echo "ok: pip install . in a virtual environment"

cd "$work"
"$work/venv/bin/python" - "$work/venv" "$source_dir/samples/four-channel-temperature.json" <<'PY' || fail "the package from the virtual environment"
import inspect, os, sys
import vxrecinfo

package = os.path.dirname(vxrecinfo.__file__)
assert package.startswith(sys.argv[1]), package
assert {"__init__.pyi", "py.typed"} <= set(os.listdir(package)), os.listdir(package)
assert str(inspect.signature(vxrecinfo.load_recordings)) == "(path)"
count = vxrecinfo.load_recordings(sys.argv[2])
with vxrecinfo.Dispatch("vxRecInfo.RecordInfo") as rec:
    text = rec.RTF_All(0.0, 0, count, "", "")[4]
assert count == 2 and text.startswith("{\\rtf1"), (count, text[:20])
PY
echo "ok: vxrecinfo from the virtual environment: stubs, signatures, a report"
