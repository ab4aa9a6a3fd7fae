#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 6.4.2 for WebAssembly (static, no threads; Core, Gui, Widgets) from Debian's own
# qt6-base source package, once, into the cache folder given as the first argument
# (scripts/web.sh decides where). About 15-25 minutes on two cores, 65 MB installed. The
# system's apt configuration is not touched: the source is fetched through a private one that
# holds only a deb-src entry. Our own change to Qt's sources is packaging/web/*.patch.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# web-qt.sh --stamp: what a cache built from this tree holds in its .complete file.
if [ "${1:-}" = --stamp ]; then
  cat "$root"/packaging/web/*.patch "$root/packaging/web/qt-features-off.txt" | sha256sum | cut -d' ' -f1
  exit 0
fi
prefix=${1:?usage: web-qt.sh PREFIX | --stamp}
work="$prefix.build"
rm -rf "$prefix" "$work"
mkdir -p "$prefix" "$work"
bash "$root/scripts/deps.sh" --web

# Qt's configure finds emscripten through an EMSDK folder: a .emscripten file naming the folder
# of emcc. Debian's emscripten has none, so the install tree keeps a small one of its own; the
# programs built against this Qt use it too.
toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
mkdir -p "$prefix/emsdk/em"
ln -s /usr/bin/emcc "$prefix/emsdk/em/emcc"
echo "EMSCRIPTEN_ROOT = emsdk_path + '/em'" >"$prefix/emsdk/.emscripten"
export EMSDK="$prefix/emsdk"
# Node 20 does not search Debian's Node folder, where emscripten's acorn lives.
export NODE_PATH=/usr/share/nodejs

src=$(bash "$root/scripts/qt-debian.sh" fetch "$work")
for p in "$root"/packaging/web/*.patch; do
  patch -d "$src" -p1 --forward --quiet <"$p"
done

# packaging/web/qt-features-off.txt names the parts of Qt the program never uses but a static
# link would keep (the graphics view, style sheets, gestures, dialogs of other programs): about
# a megabyte of the page.
# OpenGL stays on: without it the WebAssembly platform has no backing store and widgets do not
# draw. Print support is off (a PDF comes from QPdfWriter), and so is Qt Test: the browser line
# is tested from the outside, in a browser.
mkdir -p "$work/build"
cd "$work/build"
"$src/configure" -prefix "$prefix" -platform wasm-emscripten -qt-host-path /usr \
  -release -static -no-feature-thread -nomake examples -nomake tests \
  -no-feature-network -no-feature-sql -no-feature-xml -no-feature-concurrent \
  -no-feature-printsupport -no-feature-dbus -no-feature-testlib \
  $(sed 's/^/-no-feature-/' "$root/packaging/web/qt-features-off.txt") \
  -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >configure.log 2>&1 \
  || { tail -n 40 configure.log; exit 1; }
bash "$root/scripts/qt-debian.sh" install "$prefix" "$src"
echo "qt6-base 6.4.2+dfsg (Debian bookworm source package), configured for wasm-emscripten," \
  "with packaging/web/qt-wasm-dispatcher.patch (one suspension at a time, timers and events left to it)," \
  "without the features in packaging/web/qt-features-off.txt" >"$prefix/SOURCE"
cd / && rm -rf "$work"
# The cache is complete, with these patches and features: scripts/web.sh builds only against a
# cache whose stamp matches the tree's.
bash "$root/scripts/web-qt.sh" --stamp >"$prefix/.complete"
