#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 packages that the build, the tests and the report fonts need.
# Idempotent: installs only what is missing. Needs root for apt-get; otherwise prints the line to run.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libqt6test6 qt6-translations-l10n
  libgl-dev nlohmann-json3-dev
  pybind11-dev python3-dev python3-pytest python3-distributed mypy
  libgtest-dev libgmock-dev libbenchmark-dev
  fontconfig fonts-liberation2 fonts-ipafont-gothic fonts-wqy-microhei
  poppler-utils qpdf pandoc help2man bash-completion time
  cups-daemon cups-client libreoffice-writer-nogui
  xvfb xclip xdotool
  libcups2-dev libpodofo-dev libssl-dev openssl python3-pikepdf
  clang-14 libclang-rt-14-dev
  debhelper dh-python python3-setuptools python3-wheel python3-venv python3-pip lintian abigail-tools doxygen
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
fc-cache -f >/dev/null 2>&1 || true
