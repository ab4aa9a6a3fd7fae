#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Transfer benchmark (not a test): a full 99-channel write and read through kt520-cli against
# kt520-sim paced at 9600 baud. For each it prints the elapsed time, the wire-time lower bound
# (every byte sent and received at 960 bytes/s, plus the fixed waits of the protocol: the port
# reset's 2 x 150 ms and the 70 ms after the end frame), their ratio (target: at most 1.05) and
# the CPU time of kt520-cli as a share of the elapsed time (target: under 5 %); then a read
# from a radio busy on every second request, against the clean read.
# With --usb-latency: the write and the read through a cable whose USB adapter holds each reply
# for its latency timer of 0, 1 and 16 ms (kt520-sim --usb-latency), instead.
#
# Usage: scripts/bench-transfer.sh [--usb-latency] [BUILD_DIR]     (default: build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usb=false
if [[ ${1:-} == --usb-latency ]]; then
    usb=true
    shift
fi
build=${1:-$root/build}
cli=$build/kt520-cli
sim=$build/kt520-sim
for exe in "$cli" "$sim"; do
    [[ -x $exe ]] || { echo "bench-transfer: $exe is missing; build first (scripts/build.sh)" >&2; exit 2; }
done

work=$(mktemp -d)
sim_pid=
cleanup() {
    [[ -n $sim_pid ]] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# start_sim ARGS...: serves a virtual radio paced at 9600 baud; sets $port.
start_sim() {
    [[ -n $sim_pid ]] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null || true
    : >"$work/sim.out"
    "$sim" --baud 9600 "$@" >"$work/sim.out" 2>"$work/sim.err" &
    sim_pid=$!
    for _ in $(seq 100); do
        [[ -s $work/sim.out ]] && break
        sleep 0.05
    done
    port=$(head -n 1 "$work/sim.out")
    [[ -n $port ]] || { echo "bench-transfer: kt520-sim did not start" >&2; cat "$work/sim.err" >&2; exit 2; }
}
start_sim

"$cli" new --out "$work/new.qv19" --lang 2

# Bytes on the wire from a trace: every hex character pair of the ">" and "<" lines.
wire_bytes() {
    awk '$2 == ">" || $2 == "<" { n += length($3) / 2 } END { print n + 0 }' "$1"
}

# The transfer alone, without the process start: the time stamp of the trace's last line (the
# link's clock starts just before the port reset) plus the 70 ms wait after the end frame.
transfer_seconds() {
    awk '$2 == ">" || $2 == "<" { t = $1 } END { print t + 0.070 }' "$1"
}

# The program's own share: from the last byte of a reply to the next frame it sends. The rest of
# the time beyond the wire bound is the line's (the virtual radio delivers bytes on 1 ms ticks).
turnaround_seconds() {
    awk '$2 == ">" && prev == "<" { t += $1 - last } { prev = $2; last = $1 } END { print t + 0 }' "$1"
}

# run NAME ARGS...: one transfer, timed by the shell (real, user, system seconds).
run() {
    local name=$1
    shift
    local trace=$work/$name.trace
    local TIMEFORMAT='%R %U %S'
    local times
    times=$({ time "$cli" "$@" --port "$port" --lang 2 --trace "$trace" >/dev/null 2>"$work/$name.err"; } 2>&1) || {
        echo "bench-transfer: $name failed:" >&2
        cat "$work/$name.err" >&2
        exit 1
    }
    local bytes transfer turnaround
    bytes=$(wire_bytes "$trace")
    transfer=$(transfer_seconds "$trace")
    turnaround=$(turnaround_seconds "$trace")
    read -r real user sys <<<"$times"
    echo "$transfer" >"$work/$name.seconds"
    awk -v name="$name" -v real="$real" -v user="$user" -v sys="$sys" -v bytes="$bytes" -v transfer="$transfer" \
        -v turnaround="$turnaround" 'BEGIN {
        bound = bytes / 960 + 0.300 + 0.070
        printf "%-8s %6d bytes  lower bound %6.2f s  process %6.2f s (ratio %.3f)  transfer %6.2f s (ratio %.3f)\n",
               name, bytes, bound, real, real / bound, transfer, transfer / bound
        printf "       program turnaround %.3f s  cpu %.2f s (%.1f %% of elapsed)\n",
               turnaround, user + sys, 100 * (user + sys) / real
    }'
}

if $usb; then
    for ms in 0 1 16; do
        start_sim --usb-latency "$ms"
        run "write-$ms" write --in "$work/new.qv19"
        run "read-$ms" read --out "$work/read.qv19"
    done
    exit 0
fi

run write write --in "$work/new.qv19"
run read read --out "$work/read.qv19"

# A radio that answers every second request busy: each busy reply must cost its own few bytes
# on the wire, not a time-out (target: at most 1.9 times the clean read).
start_sim --busy-every 2
run busy read --out "$work/busy.qv19"
awk -v busy="$(cat "$work/busy.seconds")" -v clean="$(cat "$work/read.seconds")" \
    'BEGIN { printf "busy read / clean read: %.2f\n", busy / clean }'
