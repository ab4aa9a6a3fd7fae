#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the browser build (scripts/web.sh --test): the page starts in headless Chromium in
# each of the three languages, draws the main window, and each language draws differently.
# puppeteer-core drives Debian's chromium (it never downloads a browser of its own); it is
# installed once into ~/.cache/kt520/web-node.
#   bash scripts/web-test.sh BUILD_DIR
set -euo pipefail
dir=$(cd "${1:?usage: web-test.sh BUILD_DIR}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
node_dir=$HOME/.cache/kt520/web-node
if [ ! -d "$node_dir/node_modules/puppeteer-core" ] || [ ! -d "$node_dir/node_modules/ws" ]; then
  mkdir -p "$node_dir"
  [ -f "$node_dir/package.json" ] || echo '{"private": true}' >"$node_dir/package.json"
  (cd "$node_dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm install --no-audit --no-fund --silent \
    puppeteer-core@23.11.1 ws@8.18.0)
fi
out=$dir/test
mkdir -p "$out"
rm -f "$out"/screen-web-*.png
# The script is run from beside its packages, where Node looks for them.
cp "$root/packaging/web/page-test.mjs" "$node_dir/page-test.mjs"
node "$node_dir/page-test.mjs" "$dir" "$out"
# A drawn window has menus, a table and its lines: many colours (a blank or a loading page has
# a handful); the three languages' menus make three different pictures.
for lang in 1 2 3; do
  colours=$(identify -format %k "$out/screen-web-$lang.png")
  [ "$colours" -ge 50 ] || { echo "language $lang: the page drew no window ($colours colours)" >&2; exit 1; }
done
for pair in "1 2" "1 3" "2 3"; do
  set -- $pair
  if cmp -s "$out/screen-web-$1.png" "$out/screen-web-$2.png"; then
    echo "languages $1 and $2 drew the same picture: the language was not applied" >&2
    exit 1
  fi
done
echo "web test: the page draws in all three languages ($out)"
