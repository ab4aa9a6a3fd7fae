#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The steps that building Qt from Debian's own qt6-base source shares between
# scripts/windows-qt.sh and scripts/web-qt.sh:
#   qt-debian.sh fetch WORK          unpacks the source package into WORK, prints its folder. The
#                                    system's apt configuration is not touched: the source comes
#                                    through a private one in WORK/apt holding only a deb-src entry.
#   qt-debian.sh install PREFIX SRC  in the configured build folder: builds, installs into PREFIX
#                                    and puts Qt's licence there.
set -euo pipefail
usage="usage: qt-debian.sh fetch WORK | install PREFIX SRC"
case "${1:-}" in
install)
  prefix=${2:?$usage} src=${3:?$usage}
  nice ninja -j "$(nproc)" >build.log 2>&1 || { grep -m 20 -B2 -A8 'error' build.log; exit 1; }
  cmake --install . >/dev/null
  cp "$src/LICENSES/LGPL-3.0-only.txt" "$prefix/LICENSE.LGPL3" 2>/dev/null \
    || cp "$src/LICENSE.LGPL3" "$prefix/LICENSE.LGPL3"
  exit 0
  ;;
fetch) work=${2:?$usage} ;;
*) echo "$usage" >&2; exit 2 ;;
esac
mkdir -p "$work/apt/lists/partial"
# Debian's own address and key, from the system's first Debian entry.
sources=/etc/apt/sources.list.d/debian.sources
uri=$(awk '/^URIs:/ && /debian\/?$/ {print $2; exit}' "$sources" 2>/dev/null || true)
key=$(awk '/^Signed-By:/ {print $2; exit}' "$sources" 2>/dev/null || true)
cat >"$work/apt/src.sources" <<SRC
Types: deb-src
URIs: ${uri:-http://deb.debian.org/debian}
Suites: bookworm
Components: main
Signed-By: ${key:-/usr/share/keyrings/debian-archive-keyring.gpg}
SRC
apt_private=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/apt"
             -o "Dir::State::Lists=$work/apt/lists" -o Dir::Cache=$work/apt)
apt-get "${apt_private[@]}" -qq update >&2
(cd "$work" && apt-get "${apt_private[@]}" -qq source --download-only qt6-base >&2)
tar -C "$work" -xf "$work"/qt6-base_6.4.2+dfsg.orig.tar.xz
find "$work" -maxdepth 1 -type d -name 'qtbase*' | head -n1
