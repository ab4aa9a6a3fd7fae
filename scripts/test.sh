#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" "$@"
