#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian source and binary packages from debian/ with dpkg-buildpackage, in a copy of
# the tree under build-deb/ (dpkg-buildpackage writes its results beside the source folder), and
# leaves a copy of the binary package at build/kt520_<version>_<arch>.deb, whose path it prints.
# The desktop entry and the AppStream data are validated first.
# KT520_PKG_DIR=DIR builds in DIR instead of build-deb/ (scripts/reproducible.sh does).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" --package

desktop-file-validate "$root/packaging/kt520.desktop"
appstreamcli validate --no-net "$root/packaging/org.kt520.kt520.metainfo.xml"

version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
out=${KT520_PKG_DIR:-$root/build-deb}
src="$out/kt520-$version"
rm -rf "$out"
mkdir -p "$src"
# The files git knows and new ones it does not ignore, as they are in the working tree; without
# git, the tree less its build folders.
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf -) | tar -xf - -C "$src"
else
  tar -C "$root" --exclude='./build' --exclude='./build-*' --exclude='./obj-*' -cf - . | tar -xf - -C "$src"
fi

(cd "$src" && dpkg-buildpackage -us -uc -jauto >"$out/build.log" 2>&1) || {
  tail -n 40 "$out/build.log" >&2
  echo "package.sh: dpkg-buildpackage failed; the whole log is $out/build.log" >&2
  exit 1
}
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
deb="$out/kt520_${version}_${arch}.deb"
mkdir -p "$root/build"
cp "$deb" "$root/build/"
echo "$root/build/$(basename "$deb")"
