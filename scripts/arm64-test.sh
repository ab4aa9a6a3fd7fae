#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The arm64 build tested on this amd64 machine under qemu-aarch64-static (scripts/arm64.sh --test):
#  1. the core and command-line test programs, cross-built in build-arm64/cross, run by ctest
#     under qemu (the programs they start go under it too, tests/common/runprocess.h);
#  2. the kt520-cli of the arm64 package against the amd64 build: "new", "check" and "export"
#     give the same bytes, and against the amd64 kt520-sim at 9600 baud a write leaves the same
#     memory in the virtual radio and a read gives the same document. Both reads are timed, as
#     whole processes and from the first frame to the last.
# Usage: scripts/arm64-test.sh DEB [AMD64_BUILD]   (default build/, from scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=$(realpath "$1")
amd64=$(realpath "${2:-$root/build}")
emulator=$(command -v qemu-aarch64-static)
cross=$root/build-arm64/cross
for exe in "$amd64/kt520-cli" "$amd64/kt520-sim"; do
  [ -x "$exe" ] || { echo "arm64-test: $exe is missing; build first (scripts/build.sh)" >&2; exit 2; }
done

echo "== the core and command-line tests, built for arm64, under qemu"
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
# -O2 as the package has it (Release would be -O3).
cmake -S "$root" -B "$cross" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/aarch64-linux-gnu.cmake" \
  -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" -DKT520_WERROR=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$emulator" >/dev/null
cmake --build "$cross" -j "$(nproc)" --target kt520-cli kt520-sim tests/core/all tests/cli/all
for dir in tests/core tests/cli; do
  (cd "$cross/$dir" && ctest --output-on-failure -j "$((2 * $(nproc)))")
done

echo "== the packaged arm64 kt520-cli against the amd64 build"
work=$(mktemp -d "${TMPDIR:-/tmp}/kt520-arm64.XXXXXX")
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$work/root"
arm_cli=$work/root/usr/bin/kt520-cli
file -L "$arm_cli" | grep -q 'ARM aarch64' || { echo "arm64-test: $arm_cli is not an arm64 program" >&2; exit 1; }
# Each side with settings of its own, both reading the same input paths.
export XDG_CONFIG_HOME=$work/config
doc=$root/fuzz/corpus/document/rich.qv19

# start_sim ARGS...: the amd64 virtual radio paced at the radio's 9600 baud; sets $port.
start_sim() {
  : >"$work/sim.out"
  "$amd64/kt520-sim" --baud 9600 "$@" >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  for _ in $(seq 200); do
    [ -s "$work/sim.out" ] && break
    sleep 0.05
  done
  port=$(head -n 1 "$work/sim.out")
  [ -n "$port" ] || { echo "arm64-test: kt520-sim did not start" >&2; cat "$work/sim.err" >&2; exit 1; }
}
stop_sim() {
  kill "$sim_pid" && wait "$sim_pid" 2>/dev/null || true
  sim_pid=
}

# verb OUT CLI... ARGS...: one run, its output kept in OUT; a failure shows it. A transfer that
# failed on the line's timing (a machine too busy for the radio's waits, more so under qemu) is
# tried once more, and says so; its bytes are compared all the same.
verb() {
  local out=$1
  shift
  "$@" --lang 2 >"$out" 2>&1 && return 0
  if grep -q -- --port <<<"$*"; then
    echo "arm64-test: tried again after a failed transfer: $(tr '\n' ' ' <"$out")" >&2
    "$@" --lang 2 >"$out" 2>&1 && return 0
  fi
  echo "arm64-test: failed: $*" >&2
  cat "$out" >&2
  exit 1
}

# side NAME CLI...: the file verbs, then a write to a fresh virtual radio, whose memory the
# radio dumps into $work/NAME/radio.img at the end frame.
side() {
  local out=$work/$1
  shift
  mkdir -p "$out"
  verb "$out/new.txt" "$@" new --out "$out/new.qv19"
  # "check" exits 1 when it finds something: its words and its status are compared.
  { "$@" check "$doc" --lang 2 || echo "exit $?"; } >"$out/check.txt" 2>&1
  verb "$out/export.txt" "$@" export --in "$doc" --csv "$out/export.csv"
  start_sim --dump "$out/radio.img"
  verb "$out/write.txt" "$@" write --in "$doc" --port "$port"
  stop_sim
}
side amd64 "$amd64/kt520-cli"
side arm64 "$emulator" "$arm_cli"

# read NAME CLI...: the whole radio the amd64 write left, read and timed.
read_radio() {
  local out=$work/$1 TIMEFORMAT=%R
  shift
  start_sim --image "$work/amd64/radio.img"
  { time verb "$out/read.txt" "$@" read --out "$out/read.qv19" --port "$port" --trace "$out/read.trace"; } \
    2>"$out/read.seconds"
  stop_sim
}
read_radio amd64 "$amd64/kt520-cli"
read_radio arm64 "$emulator" "$arm_cli"

failed=0
for f in new.qv19 check.txt export.csv radio.img read.qv19; do
  # The programming date (0x0160-0x0166, cmp counts from 1) is the time of each write.
  if [ "$f" = radio.img ]; then
    differ=$(cmp -l "$work/amd64/$f" "$work/arm64/$f" 2>&1 | awk '$1 < 353 || $1 > 359' || true)
  else
    differ=$(cmp "$work/amd64/$f" "$work/arm64/$f" 2>&1 || true)
  fi
  if [ -n "$differ" ]; then
    echo "arm64-test: $f differs between the amd64 and the arm64 kt520-cli:" >&2
    echo "$differ" | head -n 20 >&2
    failed=1
  fi
done
[ "$failed" -eq 0 ] || exit 1
amd_s=$(cat "$work/amd64/read.seconds")
arm_s=$(cat "$work/arm64/read.seconds")
# The transfer itself: from the first frame of the trace to the last.
frames() { awk '!/^#/ { if (first == "") first = $1; last = $1 } END { print last - first }' "$1"; }
amd_f=$(frames "$work/amd64/read.trace")
arm_f=$(frames "$work/arm64/read.trace")
awk -v a="$arm_s" -v b="$amd_s" -v af="$arm_f" -v bf="$amd_f" 'BEGIN {
  printf "arm64-test: new, check, export, write and read give the same bytes; "
  printf "the whole read took %.2f s under qemu, %.2f s on amd64 (%.3f times); ", a, b, a / b
  printf "from the first frame to the last, %.2f s and %.2f s (%.3f times)\n", af, bf, af / bf
}'
