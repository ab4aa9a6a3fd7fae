#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program's read through a Wine COM port against the Linux program's read of the same
# radio, at 9600 baud, in pairs (farm-bench): each run starts kt520-sim with the image that
# scripts/windows-test.sh left and reads it whole; the Wine run reaches it as COM5. Needs a run of
# scripts/windows.sh --test first. Usage: bash scripts/bench-windows.sh [RUNS]
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
farm-bench -n "$runs" --warmup 1 --timeout $((runs * 30 + 60)) --vs "bash $0 --one lin" -- bash "$0" --one win
