#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package for 64-bit ARM (Raspberry Pi OS 64-bit is Debian 12 for arm64), cross-built
# on an amd64 Debian 12 machine: writes build-arm64/kt520_<version>_arm64.deb.
#   bash scripts/arm64.sh          install what is missing, build the package
#   bash scripts/arm64.sh --test   the same, then the core and command-line tests built for arm64
#                                  under qemu, and the packaged kt520-cli against the amd64 build
#                                  (scripts/arm64-test.sh; needs build/ from scripts/build.sh)
# The arm64 development packages are installed beside the amd64 ones (dpkg --add-architecture
# arm64): qt6-base-dev and qt6-serialport-dev are both Multi-Arch: same, and moc, uic and rcc
# stay the amd64 ones (QT_HOST_PATH, debian/rules).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh --arm64

echo "== cross-building the Debian package for arm64"
version=$(dpkg-parsechangelog -l debian/changelog -S Version)
out=$root/build-arm64
src=$out/deb/kt520-$version
rm -rf "$out/deb" "$out"/kt520_*_arm64.deb
mkdir -p "$src"
# The files git knows and new ones it does not ignore, as scripts/package.sh takes them.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -xf - -C "$src"
else
  tar --exclude='./build' --exclude='./build-*' --exclude='./obj-*' -cf - . | tar -xf - -C "$src"
fi
# -B: the architecture's binary package only (the source package is the same for every one);
# nocheck: the package runs no tests (debian/rules), and says so to dh in a cross build.
export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:+$DEB_BUILD_OPTIONS }nocheck"
(cd "$src" && dpkg-buildpackage -a arm64 -B -us -uc -jauto >"$out/deb/build.log" 2>&1) || {
  tail -n 40 "$out/deb/build.log" >&2
  echo "arm64.sh: dpkg-buildpackage failed; the whole log is $out/deb/build.log" >&2
  exit 1
}
deb=kt520_${version}_arm64.deb
cp "$out/deb/$deb" "$out/"
echo "$out/$deb"

if [ "${1:-}" = "--test" ]; then
  bash scripts/arm64-test.sh "$out/$deb"
fi
