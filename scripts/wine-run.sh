#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine in the build's own prefix (build-win/wine, made on first
# use; the user's ~/.wine is not touched). ctest runs the Windows test programs through it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build-win/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Wine keeps variables named QT_* from the program; WINEQT_* reach it as QT_*.
for name in $(compgen -e | grep '^QT_' || true); do
  export "WINE$name=${!name}"
done
exec wine "$@"
