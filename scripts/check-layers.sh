#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a file includes a folder above its own layer, or a core file includes a window
# (QtWidgets, QtGui) header, or a core file outside core/link includes the serial port.
# Usage: scripts/check-layers.sh        (from anywhere; checks the repository it lives in)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# folder: the folders its files may include from (besides itself). Bottom to top.
declare -A allowed=(
  [core/base]=""
  [core/codeplug]="core/base"
  [core/memmap]="core/base core/codeplug"
  [core/link]="core/base"
  [core/transfer]="core/base core/codeplug core/memmap core/link"
  [sim]="core"
  [ui/common]="core"
  [ui/channels]="core ui/common"
  [ui/options]="core ui/common"
  [ui/transfer]="core ui/common"
  [ui/service]="core ui/common"
  [ui/print]="core"
  # Printing needs the font and page machinery of QtGui; `kt520-cli print` runs it with the
  # offscreen platform, so the command line may use ui/print, which has no widgets.
  [cli]="core ui/print"
  [app]="core ui sim"
)

# Header names of the window modules, from the installed Qt when present.
qt_gui_headers=
for d in /usr/include/*/qt6 /usr/include/qt6; do
  for m in QtWidgets QtGui; do
    [ -d "$d/$m" ] && qt_gui_headers+=$(ls "$d/$m" | grep '^Q' | tr '\n' ' ')
  done
done

failures=0
fail() { echo "$1"; failures=$((failures + 1)); }

for folder in "${!allowed[@]}"; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    while IFS= read -r line; do
      inc=${line#*\"}; inc=${inc%%\"*}
      [ "${inc%/*}" = "$folder" ] && continue
      ok=0
      for a in ${allowed[$folder]}; do
        case $inc in "$a"/*) ok=1 ;; esac
      done
      [ $ok = 1 ] || fail "$file: includes $inc, which is not below $folder"
    done < <(grep -E '^\s*#\s*include\s+"[^"]+/' "$file" || true)
    case $folder in
    core/*)
      while IFS= read -r line; do
        inc=${line#*<}; inc=${inc%%>*}
        name=${inc##*/}
        case $inc in Qt[WG]*/*) fail "$file: core includes window header <$inc>"; continue ;; esac
        [[ " $qt_gui_headers " == *" $name "* ]] && fail "$file: core includes window header <$inc>"
        if [[ $name == QSerialPort* && $folder != core/link ]]; then
          fail "$file: only core/link may include <$inc>"
        fi
      done < <(grep -E '^\s*#\s*include\s+<Q' "$file" || true)
      ;;
    esac
  done
done

# Every folder with sources must have its place above.
while IFS= read -r dir; do
  [ -n "${allowed[$dir]+x}" ] || fail "$dir: a source folder without a place among the layers"
done < <(git ls-files '*.cpp' '*.h' | grep -vE '^(tests|fuzz)/' | xargs -n1 dirname | sort -u)

if [ $failures -gt 0 ]; then
  echo "check-layers: $failures include(s) against the layers" >&2
  exit 1
fi
echo "check-layers: every include points down"
