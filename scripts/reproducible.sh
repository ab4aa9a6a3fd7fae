#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package twice, in two copies of the tree at different paths, and compares
# the two binary packages byte for byte. The build's time stamps come from debian/changelog
# (SOURCE_DATE_EPOCH, set by dpkg-buildpackage) and its paths are mapped away
# (-ffile-prefix-map from dpkg-buildflags), so the packages must be equal.
# --against DEB compares one new build with DEB, a package already built from the same tree at
# another path (CI passes the one scripts/package.sh made in build-deb/), which halves the time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kt520-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT

if [ "${1:-}" = "--against" ] && [ -f "${2:-}" ]; then
  one=$work/first/$(basename "$2")
  mkdir -p "$work/first"
  cp "$2" "$one"
else
  KT520_PKG_DIR="$work/first" "$root/scripts/package.sh" >/dev/null
  one=$(ls "$work"/first/kt520_*.deb)
fi
KT520_PKG_DIR="$work/second/a/longer/path" "$root/scripts/package.sh" >/dev/null
two=$(ls "$work"/second/a/longer/path/kt520_*.deb)
if cmp "$one" "$two"; then
  echo "reproducible: two builds gave the same $(basename "$one") ($(sha256sum <"$one" | cut -c1-16))"
else
  echo "reproducible: the two builds differ" >&2
  for deb in "$one" "$two"; do
    mkdir -p "$deb.x" && dpkg-deb -R "$deb" "$deb.x"
  done
  diff -r "$one.x" "$two.x" >&2 || true
  exit 1
fi
