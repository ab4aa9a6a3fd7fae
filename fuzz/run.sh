#!/bin/sh
# Builds the document-reader fuzzer with clang in build-fuzz/ and runs it for the given number of
# seconds (default 60) from the seed corpus. New inputs go to a scratch corpus, not the repository.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DKT520_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_document
work="$build/corpus-document"
mkdir -p "$work"
cd "$build"
"$build/fuzz_document" -max_total_time="$seconds" -max_len=20000 -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 "$work" "$root/fuzz/corpus/document"
