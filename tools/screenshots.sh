#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Draws every window over the sample recordings on an X server of its own, with settings of
# its own (the user's would change the pictures), into FOLDER. The same build gives the same
# pictures, byte for byte, every time.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR FOLDER" >&2; exit 2; }
here="$(cd "$(dirname "$0")" && pwd)"
settings="$(mktemp -d)"
trap 'rm -rf "$settings"' EXIT
mkdir -m 700 "$settings/runtime"
HOME="$settings" XDG_CONFIG_HOME="$settings/config" XDG_DATA_HOME="$settings/data" \
  XDG_RUNTIME_DIR="$settings/runtime" VXRECINFO_REGISTRY="$settings/registry.ini" QT_QPA_PLATFORM=xcb \
  "$here/with-xserver.sh" "$1/host/recinfo" screenshots "$here/../samples/rf-network-alarms.json" "$2"
