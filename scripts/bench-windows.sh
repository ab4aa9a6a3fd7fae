#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program's read through a Wine COM port against the Linux program's read of the same
# radio, at 9600 baud, in pairs (Wine, then Linux, RUNS times after one pair not counted), so that
# a drift of the machine's speed moves both sides of a ratio alike. Each run starts kt520-sim with
# the image that scripts/windows-test.sh left and reads it whole; the Wine run reaches it as COM5.
# Prints every pair and the median of the ratios. Needs a run of scripts/windows.sh --test first.
# Usage: bash scripts/bench-windows.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-win/test
export WINEPREFIX=$root/build-win/wine WINEDEBUG=-all
if [ "${1:-}" = "--one" ]; then
  who=$2
  sim_out=$(mktemp)
  "$root/build/kt520-sim" --baud 9600 --image "$out/image.bin" --exit-after-end >"$sim_out" 2>&1 &
  until device=$(head -n1 "$sim_out") && [ -n "$device" ]; do sleep 0.02; done
  cd "$out"
  if [ "$who" = win ]; then
    ln -sfn "$device" "$WINEPREFIX/dosdevices/com5"
    "$root/scripts/wine-run.sh" "$(find "$WINEPREFIX/drive_c" -maxdepth 2 -name kt520-cli.exe | head -n1)" \
      read --lang 2 --port COM5 --out bench-win.qv19 >/dev/null
  else
    "$root/build/kt520-cli" read --lang 2 --port "$device" --out bench-lin.qv19 >/dev/null
  fi
  wait
  rm -f "$sim_out"
  exit 0
fi
[ -f "$out/image.bin" ] || { echo "run bash scripts/windows.sh --test first" >&2; exit 1; }
wineserver -p >/dev/null 2>&1 || true
runs=${1:-3}
ms() { local start=$(date +%s%N); bash "$0" --one "$1"; echo $((($(date +%s%N) - start) / 1000000)); }
ratios=()
for pair in $(seq 0 "$runs"); do
  win=$(ms win)
  lin=$(ms lin)
  [ "$pair" -eq 0 ] && continue
  ratios+=("$(awk -v w="$win" -v l="$lin" 'BEGIN { printf "%.3f", w / l }')")
  echo "pair $pair: Wine $win ms, Linux $lin ms, ratio ${ratios[-1]}"
done
printf '%s\n' "${ratios[@]}" | sort -n | awk '{ r[NR] = $1 } END { printf "median ratio of %d pairs: %.3f\n", NR, NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2 }'
