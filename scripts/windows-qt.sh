#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 6.4.2 for 64-bit Windows from Debian's own qt6-base source package, once, into
# the cache folder given as the first argument (scripts/windows.sh decides where). About 30
# minutes on two cores, 83 MB installed. The system's apt configuration is not touched: the
# source is fetched through a private one that holds only a deb-src entry.
set -euo pipefail
prefix=${1:?usage: windows-qt.sh PREFIX}
root=$(cd "$(dirname "$0")/.." && pwd)
work="$prefix.build"
rm -rf "$prefix" "$work"
mkdir -p "$prefix" "$work/apt/lists/partial"

# The install tree records its toolchain file's path, so it keeps its own copy.
cp "$root/cmake/mingw-w64.cmake" "$prefix/mingw-w64.cmake"

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
apt-get "${apt_private[@]}" -qq update
(cd "$work" && apt-get "${apt_private[@]}" -qq source --download-only qt6-base)
tar -C "$work" -xf "$work"/qt6-base_6.4.2+dfsg.orig.tar.xz
src=$(find "$work" -maxdepth 1 -type d -name 'qtbase*' | head -n1)

# The +dfsg tarball lacks the tablet (wintab) sources; ICU would need its own cross-build, and
# the program converts GBK through the system's code page 936 instead.
mkdir -p "$work/build"
cd "$work/build"
"$src/configure" -prefix "$prefix" -xplatform win32-g++ -qt-host-path /usr \
  -release -shared -nomake examples -nomake tests \
  -no-opengl -no-dbus -no-icu -no-feature-tabletevent \
  -no-feature-network -no-feature-sql -no-feature-xml -no-feature-concurrent \
  -qt-zlib -qt-libpng -qt-libjpeg -qt-pcre -qt-harfbuzz -qt-freetype \
  -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64.cmake" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >configure.log 2>&1 \
  || { tail -n 40 configure.log; exit 1; }
nice ninja -j "$(nproc)" >build.log 2>&1 || { grep -m 20 -B2 -A8 'error' build.log; exit 1; }
cmake --install . >/dev/null
cp "$src/LICENSES/LGPL-3.0-only.txt" "$prefix/LICENSE.LGPL3" 2>/dev/null \
  || cp "$src/LICENSE.LGPL3" "$prefix/LICENSE.LGPL3"
echo "qt6-base 6.4.2+dfsg (Debian bookworm source package), configured for win32-g++" >"$prefix/SOURCE"
cd / && rm -rf "$work"
touch "$prefix/.complete"
