#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the Python module's tests with the interpreter it was built for, in a temporary home and
# working folder, so that nothing they write (settings, PDF jobs, caches) is left behind.
set -euo pipefail
python="$1"; module_dir="$2"; tests="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache" \
  XDG_RUNTIME_DIR="$work/runtime" VXRECINFO_REGISTRY="$work/registry.ini" VXRECINFO_PDF_DIR="$work/pdf" \
  QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 PYTHONPATH="$module_dir" PYTHONDONTWRITEBYTECODE=1
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$VXRECINFO_PDF_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cd "$work"
"$python" -m pytest -q -p no:cacheprovider --basetemp="$work/pytest" "$tests"
