#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program, cross-built on Debian 12 with MinGW-w64: writes
# build-win/kt520-<version>-win64.zip, a folder that runs wherever it is unzipped.
#   bash scripts/windows.sh          install what is missing, build, make the zip
#   bash scripts/windows.sh --test   the same, then the Windows tests under Wine
#                                    (scripts/windows-test.sh)
# It also writes build-win/kt520-<version>-win64-setup.exe, a setup program (NSIS) of the same
# files: packaging/windows/kt520.nsi.
# Qt for Windows comes from $KT520_QT_WIN (a Qt install tree) when set, else from the cache
# ~/.cache/kt520/qt6-win-6.4.2, built there once from Debian's own source (about 30 minutes on
# two cores; scripts/windows-qt.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh --windows

version=$(sed -n 's/^project(kt520 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
qt=${KT520_QT_WIN:-$HOME/.cache/kt520/qt6-win-6.4.2}
if [ -n "${KT520_QT_WIN:-}" ]; then
  [ -x "$qt/bin/qt-cmake" ] || { echo "KT520_QT_WIN=$qt holds no Qt (no bin/qt-cmake)" >&2; exit 1; }
elif [ ! -f "$qt/.complete" ]; then
  echo "== Qt for Windows: not in $qt yet, building it from Debian's qt6-base source (about 30 minutes)"
  bash scripts/windows-qt.sh "$qt"
fi

echo "== cross-building the programs and the core tests"
# The compiler cache serves the cross-compiler too.
"$qt/bin/qt-cmake" -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release -DKT520_WERROR=ON \
  -DQT_HOST_PATH=/usr -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-run.sh" >/dev/null
cmake --build build-win -j "$(nproc)"

echo "== the zip"
name=kt520-$version-win64
stage=build-win/stage/$name
rm -rf build-win/stage "build-win/$name.zip"
mkdir -p "$stage/platforms" "$stage/styles"
cp build-win/kt520.exe build-win/kt520-cli.exe "$stage/"
cp lang/cha_dll.dll lang/eng_dll.dll lang/ty.dll lang/sysini.ini lang/cai.ini "$stage/"
for lib in Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport; do cp "$qt/bin/$lib.dll" "$stage/"; done
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# Qt's own texts (file dialog, Yes/No) in the two Chinese languages, from Debian's translations
# of the same Qt version; the program looks for them in translations/ beside itself.
mkdir -p "$stage/translations"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm /usr/share/qt6/translations/qtbase_zh_TW.qm "$stage/translations/"
# The MinGW runtime the programs and Qt link.
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
for dll in libgcc_s_seh-1.dll libstdc++-6.dll; do cp "$gcc_dir/$dll" "$stage/"; done
cp /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$stage/"
# (The language files are named .dll too, but are text.)
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/Qt6*.dll "$stage"/lib*.dll "$stage"/*/*.dll
# Texts for Notepad: CR LF.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }
crlf LICENSE "$stage/LICENSE.txt"
crlf "$qt/LICENSE.LGPL3" "$stage/LICENSE-Qt.txt"
crlf packaging/windows/README.txt "$stage/README.txt"
crlf packaging/windows/QT-SOURCE.txt "$stage/QT-SOURCE.txt"
# The same bytes for the same tree: one time stamp, one order, no extra fields.
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
find "$stage" -exec touch -h -d "@$stamp" {} +
(cd build-win/stage && find "$name" -print | LC_ALL=C sort | TZ=UTC zip -q -X -9 "../$name.zip" -@)
echo "$(du -h "build-win/$name.zip" | cut -f1)  build-win/$name.zip"

echo "== the setup program"
# What the uninstaller removes: every file staged, then the folders, deepest first ($INSTDIR
# is NSIS's).
files=build-win/setup-files.nsh
{
  echo '!macro KT520_REMOVE_FILES'
  (cd "$stage" && find . -type f | LC_ALL=C sort) | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
  (cd "$stage" && find . -mindepth 1 -type d | LC_ALL=C sort -r) | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
  echo '!macroend'
} >"$files"
setup=build-win/$name-setup.exe
makensis -V2 -WX -DVERSION="$version" -DSTAGE="$root/$stage" -DFILES="$root/$files" \
  -DICON="$root/build-win/app/kt520.ico" -DOUTFILE="$root/$setup" packaging/windows/kt520.nsi
echo "$(du -h "$setup" | cut -f1)  $setup"

if [ "${1:-}" = "--test" ]; then
  bash scripts/windows-test.sh "build-win/$name.zip"
fi
