#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Undo benchmark (not a test): times undo and redo of a cell edit and of whole-document steps
# with both channel tables full, and the memory of 1,000 cell-edit steps.
# Usage: scripts/bench-history.sh [BUILD_DIR]     (default: build/)
set -euo pipefail
build=${1:-build}
exe=$build/bench_history
[[ -x $exe ]] || { echo "bench-history: $exe is missing; build first (scripts/build.sh)" >&2; exit 2; }
exec "$exe"
