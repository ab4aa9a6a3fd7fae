#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of the program as a new user first sees it, in each language at four screen sizes,
# under Xvfb without a window manager: build/screenshots/<language>-<width>x<height>.png; the
# 2732x1536 screen at twice the scale (QT_SCALE_FACTOR=2, <language>-2732x1536@2x.png), where
# fonts and icons must stay sharp.
# Also the port dialog and the options window on their own (…-port.png, …-options.png).
# Usage: bash scripts/screenshots.sh [BUILD_DIR]   (needs xvfb, xauth, imagemagick, a CJK font)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=$build/screenshots
mkdir -p "$out"
for tool in xvfb-run import; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (apt-get install xvfb imagemagick)"; exit 1; }
done

# Each run in a folder of its own: the program keeps its settings beside itself, and the build
# tree's settings stay as they are.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/kt520" "$build"/*.dll "$work/"

# A stored lang=3 gives Traditional Chinese; otherwise the locale decides the language (Chinese
# for China gives Simplified Chinese, any other English).
shoot() { # NAME LANG_VALUE LOCALE WIDTH HEIGHT [SCALE]
    local name=$1 lang=$2 locale=$3 w=$4 h=$5 scale=${6:-1}
    printf '[Open]\r\ncom=1\r\nlang=%s\r\n[list0]\r\ncom0bo0=400-470MHz\r\ncom0bo1=136-174MHz\r\ncom0bo2=400-470MHz\r\n' \
        "$lang" >"$work/sysini.ini"
    QT_SCALE_FACTOR=$scale LANG=$locale LC_ALL=$locale KT520_SCREENSHOT="$out/$name" xvfb-run -a -s "-screen 0 ${w}x${h}x24" \
        sh -c "\"$work/kt520\" --demo & pid=\$!; sleep 4; import -window root \"$out/$name.png\"; kill \$pid; wait \$pid" \
        >/dev/null 2>&1 || true
    [ -s "$out/$name.png" ] && echo "$out/$name.png"
}

for size in 1024x768 1366x768 1600x1000 2732x1536@2x; do
    scale=1
    [[ $size == *@2x ]] && scale=2
    dims=${size%@2x}
    w=${dims%x*}
    h=${dims#*x}
    shoot "zh_CN-$size" 1 zh_CN.UTF-8 "$w" "$h" "$scale"
    shoot "en-$size" 2 C.UTF-8 "$w" "$h" "$scale"
    shoot "zh_TW-$size" 3 C.UTF-8 "$w" "$h" "$scale"
done
