#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmark of the safe transfers (not a test), through kt520-cli against kt520-sim paced at
# 9600 baud: a full write with --verify against a write plus a read (target: at most 1.05), and
# a write to three radios at once against a write to one (target: at most 1.15), with the CPU
# time of kt520-cli as a share of the elapsed time of the three-port write (target: under 5 %).
#
# Usage: scripts/bench-safe.sh [BUILD_DIR]     (default: build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cli=$build/kt520-cli
sim=$build/kt520-sim
for exe in "$cli" "$sim"; do
    [[ -x $exe ]] || { echo "bench-safe: $exe is missing; build first" >&2; exit 2; }
done

work=$(mktemp -d)
sims=()
cleanup() {
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
# Backups of the reads go to the scratch folder, not the user's.
export XDG_DATA_HOME=$work/data

# start_sim N: a virtual radio paced at 9600 baud; its device in $work/simN.out.
start_sim() {
    "$sim" --baud 9600 >"$work/sim$1.out" 2>"$work/sim$1.err" &
    sims+=($!)
    for _ in $(seq 100); do
        [[ -s $work/sim$1.out ]] && break
        sleep 0.05
    done
    head -n 1 "$work/sim$1.out"
}
p1=$(start_sim 1)
p2=$(start_sim 2)
p3=$(start_sim 3)
"$cli" new --out "$work/new.qv19" --lang 2

# timed NAME ARGS...: elapsed, user and system seconds of one kt520-cli run.
timed() {
    local name=$1
    shift
    local TIMEFORMAT='%R %U %S'
    { time "$cli" "$@" --lang 2 >"$work/$name.out" 2>"$work/$name.err"; } 2>"$work/$name.time" || {
        echo "bench-safe: $name failed:" >&2
        cat "$work/$name.out" "$work/$name.err" >&2
        exit 1
    }
    cat "$work/$name.time"
}

read -r write _ _ < <(timed write write --in "$work/new.qv19" --port "$p1")
read -r readt _ _ < <(timed read read --out "$work/read.qv19" --port "$p1")
read -r verify _ _ < <(timed verify write --in "$work/new.qv19" --port "$p1" --verify)
read -r three user sys < <(timed three write --in "$work/new.qv19" --port "$p1" --port "$p2" --port "$p3")
awk -v w="$write" -v r="$readt" -v v="$verify" -v t="$three" -v u="$user" -v s="$sys" 'BEGIN {
    printf "write %.2f s, read %.2f s, write --verify %.2f s: (write + verify) / (write + read) = %.3f\n",
           w, r, v, v / (w + r)
    printf "three ports %.2f s, one port %.2f s: ratio %.3f; cpu %.2f s = %.1f %% of elapsed\n",
           t, w, t / w, u + s, 100 * (u + s) / t
}'
