#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages the build, the tests and the program need, if any is missing.
# --package adds the tools that make and check the Debian package (scripts/package.sh);
# --windows the cross-compiler, Wine, zip and NSIS for the Windows build (scripts/windows.sh);
# --arm64 the package tools, the arm64 cross-compiler, qemu and Qt for arm64 (scripts/arm64.sh),
# adding arm64 to dpkg's architectures first; --web emscripten and Chromium for the browser build
# (scripts/web.sh).
# The names are real packages (a virtual one is never "installed"), so a machine that has them
# all runs no apt-get at all and works offline; apt-get waits for a dpkg lock held elsewhere.
set -euo pipefail
packages=(cmake ninja-build ccache g++ clang clang-format qt6-base-dev qt6-serialport-dev
          xvfb xauth imagemagick fonts-wqy-microhei qt6-translations-l10n python3)
case "${1:-}" in
  --package) packages+=(dpkg-dev debhelper file lintian desktop-file-utils appstream) ;;
  --windows) packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                        wine wine64 zip unzip xz-utils fonts-noto-cjk x11-utils xdotool poppler-utils nsis) ;;
  --arm64) packages+=(dpkg-dev debhelper file lintian desktop-file-utils appstream crossbuild-essential-arm64
                      qemu-user-static qt6-base-dev:arm64 qt6-serialport-dev:arm64) ;;
  --web) packages+=(emscripten chromium xz-utils python3 nodejs) ;;
esac
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
if [ "${1:-}" = --arm64 ] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
  echo "Adding the arm64 architecture to dpkg"
  "${sudo_cmd[@]}" dpkg --add-architecture arm64
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt=("${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300)
  "${apt[@]}" update -qq
  "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
fi
