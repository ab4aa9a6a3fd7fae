#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The fuzzers. "run.sh --list" prints the target names, one per line; "run.sh TARGET [SECONDS]"
# builds the target with clang in build-fuzz/ (once; later runs rebuild only what changed) and
# runs it for SECONDS (default 20) from its seed corpus in fuzz/corpus/TARGET, printing
# libFuzzer's final statistics. New inputs go to a scratch corpus in build-fuzz/, not the
# repository; a finding is left there as crash-* and becomes a regression seed once fixed.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
targets="document settings language read write memmap alignment csv"
# Longest input worth trying per target: a document of 344 short lines, a settings or language
# file of a few hundred lines, a transfer's worth of replies, a few dozen memory blocks, an
# alignment file of 61 short lines, a channel list of 99 lines.
max_len() {
    case $1 in
    document) echo 16384 ;;
    settings) echo 4096 ;;
    language) echo 16384 ;;
    read | write) echo 4096 ;;
    memmap) echo 1024 ;;
    alignment) echo 2048 ;;
    csv) echo 16384 ;;
    esac
}

if [ "${1:-}" = "--list" ]; then
    for t in $targets; do echo "$t"; done
    exit 0
fi
target=${1:-}
seconds=${2:-20}
case " $targets " in
*" $target "*) ;;
*)
    echo "usage: $0 --list | TARGET [SECONDS]   (targets: $targets)" >&2
    exit 2
    ;;
esac

# KT520_FUZZ_SANITIZERS=address,undefined fuzzes with AddressSanitizer as well, in a build
# directory of its own (about half the speed).
sanitizers=${KT520_FUZZ_SANITIZERS:-undefined}
build="$root/build-fuzz"
[ "$sanitizers" = undefined ] || build="$root/build-fuzz-$(echo "$sanitizers" | tr ',' '-')"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DKT520_FUZZ=ON -DKT520_FUZZ_SANITIZERS="$sanitizers" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "fuzz_$target"
work="$build/corpus-$target"
mkdir -p "$work"
cd "$build"
# Under AddressSanitizer allocation stacks are not recorded and new memory is not filled, which
# cost a third of the speed; run a finding again without these to see where its memory came
# from. Options given in ASAN_OPTIONS come after these and win.
# Leaks are looked for at the end, not after every input: the targets keep what they have
# already checked, and Qt keeps caches, so counting allocations per input only finds those.
# (No comment may stand between the assignment and the command: a comment line ends the
# command, and the fuzzer would run without these options.)
ASAN_OPTIONS="malloc_context_size=0:max_malloc_fill_size=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}" \
    "$build/fuzz_$target" -max_total_time="$seconds" -max_len="$(max_len "$target")" -timeout=10 \
    -rss_limit_mb=4096 -detect_leaks=0 -print_final_stats=1 "$work" "$root/fuzz/corpus/$target"
