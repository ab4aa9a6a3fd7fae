#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program for a web browser, built with emscripten: writes build-web/, a static folder
# (index.html, kt520-web.js, kt520.js, kt520.wasm, the language files and the default
# sysini.ini) that any web server can serve.
#   bash scripts/web.sh           build
#   bash scripts/web.sh --serve   build, then serve build-web/ on http://127.0.0.1:8080/
#   bash scripts/web.sh --test    build, then check the page in headless Chromium
#                                 (scripts/web-test.sh)
#   bash scripts/web.sh --qt      build Qt for WebAssembly first when its cache is missing
# Qt for WebAssembly comes from $KT520_QT_WASM (a Qt install tree) when set, else from the cache
# ~/.cache/kt520/qt6-wasm-6.4.2, built there once from Debian's own source by
# scripts/web-qt.sh (about 15-25 minutes on two cores).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
serve=0 test=0 build_qt=0
for arg in "$@"; do
  case "$arg" in
    --serve) serve=1 ;;
    --test) test=1 ;;
    --qt) build_qt=1 ;;
    *) echo "usage: web.sh [--qt] [--serve | --test]" >&2; exit 2 ;;
  esac
done
bash scripts/deps.sh --web

qt=${KT520_QT_WASM:-$HOME/.cache/kt520/qt6-wasm-6.4.2}
if [ -n "${KT520_QT_WASM:-}" ]; then
  [ -x "$qt/bin/qt-cmake" ] || { echo "KT520_QT_WASM=$qt holds no Qt (no bin/qt-cmake)" >&2; exit 1; }
elif [ "$(cat "$qt/.complete" 2>/dev/null)" != "$(bash scripts/web-qt.sh --stamp)" ]; then
  # Missing, or built before the tree's patches to Qt changed.
  if [ "$build_qt" = 0 ]; then
    [ -f "$qt/.complete" ] && echo "Qt for WebAssembly in $qt lacks this tree's packaging/web/*.patch." >&2
    echo "Qt for WebAssembly is not in $qt yet. Build it once (about 15-25 minutes) with" >&2
    echo "  bash scripts/web-qt.sh $qt" >&2
    echo "or run this script with --qt." >&2
    exit 1
  fi
  echo "== Qt for WebAssembly: not in $qt yet (or without this tree's patches), building it from Debian's qt6-base source"
  bash scripts/web-qt.sh "$qt"
fi

echo "== building the page"
# Debian's emscripten: its acorn is in Debian's Node folder, which Node 20 does not search.
export NODE_PATH=/usr/share/nodejs
[ -d "$qt/emsdk" ] && export EMSDK="$qt/emsdk"
toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
"$qt/bin/qt-cmake" -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQT_HOST_PATH=/usr -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build build-web -j "$(nproc)"
wasm=build-web/kt520.wasm
echo "$(du -h "$wasm" | cut -f1)  $wasm ($(gzip -9 -c "$wasm" | wc -c | numfmt --to=iec) gzipped)"

if [ "$test" = 1 ]; then
  bash scripts/web-test.sh build-web
fi
if [ "$serve" = 1 ]; then
  echo "== serving build-web/ on http://127.0.0.1:8080/ (Chrome, Edge or Opera; Ctrl+C stops)"
  cd build-web && exec python3 -m http.server 8080 --bind 127.0.0.1
fi
