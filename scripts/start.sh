#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts the program with a virtual radio on one COM port,
# so that reading and writing work without a radio. Pass --real to use real serial ports only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
if [ "${1:-}" = "--real" ]; then
  exec "$root/build/kt520"
fi
exec "$root/build/kt520" --demo
