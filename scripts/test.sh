#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
cd "$root/build"
# Two tests a core: the end-to-end tests spend most of their time waiting on the line at the
# radio's real timing, which leaves the cores free for the others.
ctest --output-on-failure -j "$((2 * $(nproc)))" "$@"
