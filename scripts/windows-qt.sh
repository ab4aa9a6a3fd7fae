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
mkdir -p "$prefix" "$work"

# The install tree records its toolchain file's path, so it keeps its own copy.
cp "$root/cmake/mingw-w64.cmake" "$prefix/mingw-w64.cmake"

src=$(bash "$root/scripts/qt-debian.sh" fetch "$work")

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
bash "$root/scripts/qt-debian.sh" install "$prefix" "$src"
echo "qt6-base 6.4.2+dfsg (Debian bookworm source package), configured for win32-g++" >"$prefix/SOURCE"
cd / && rm -rf "$work"
touch "$prefix/.complete"
