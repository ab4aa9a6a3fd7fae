#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Problems benchmark (not a test): times the Problems panel's refresh after a cell edit with both
# channel tables full, and counts how often a burst of edits is looked at.
# Usage: scripts/bench-problems.sh [BUILD_DIR]     (default: build/)
set -euo pipefail
build=${1:-build}
exe=$build/bench_problems
[[ -x $exe ]] || { echo "bench-problems: $exe is missing; build first (scripts/build.sh)" >&2; exit 2; }
exec "$exe"
