#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# make package: the Debian packages of this tree (debian/, built by dpkg-buildpackage from a copy
# of the tree's files, as a Debian build would), into BUILD/: libvxrecinfo1, libvxrecinfo-dev,
# python3-vxrecinfo, vxrecinfo-tools and their -dbgsym packages.
set -euo pipefail
build="${1:?usage: make-packages.sh BUILD}"
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$build"
build="$(cd "$build" && pwd)"
version="$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)"
work="$build/debian-build"
rm -rf "$work"
mkdir -p "$work/vxrecinfo-$version"
# The tree's files as they stand, changes not yet committed included; no build folders.
(cd "$source_dir" && git ls-files -co --exclude-standard -z | tar --null -T - -cf -) | tar -C "$work/vxrecinfo-$version" -xf -
(cd "$work/vxrecinfo-$version" &&
  DEB_BUILD_OPTIONS="parallel=${JOBS:-2} ${DEB_BUILD_OPTIONS:-}" dpkg-buildpackage -b -us -uc >"$work/build.log" 2>&1) ||
  { tail -40 "$work/build.log"; echo "FAILED: dpkg-buildpackage (log: $work/build.log)"; exit 1; }
rm -f "$build"/*.deb
mv "$work"/*.deb "$work"/*.changes "$work"/*.buildinfo "$build/"
rm -rf "$work/vxrecinfo-$version"
ls "$build"/*.deb
