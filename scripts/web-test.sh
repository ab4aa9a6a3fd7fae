#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the browser build (scripts/web.sh --test): the page starts in headless Chromium in
# each of the three languages, draws the main window, and each language draws differently.
# With the desktop build beside it (build/, or $KT520_DESKTOP_BUILD) it then works a known radio
# through the page as a user does, with the keyboard (kt520-sim at 9600 baud behind
# packaging/web/radio-bridge.mjs): reads it (the same backup image as kt520-cli's read, both
# timed), saves the document (downloaded: the same file as kt520-cli's) and prints it (a PDF
# download), keeps its settings in the browser's storage, opens another document through
# the browser's file chooser and writes it (the radio's memory as after kt520-cli's write of it),
# and pulls the bridge during a last read: the page must report it and go on answering.
# KT520_WEB_RADIO=0 leaves the radio out.
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
cp "$root/packaging/web/radio-bridge.mjs" "$node_dir/radio-bridge.mjs"
desktop=${KT520_DESKTOP_BUILD:-$root/build}
radio=
bridge=
if [ "${KT520_WEB_RADIO:-1}" = 0 ]; then
  :
elif [ -x "$desktop/kt520-sim" ] && [ -x "$desktop/kt520-cli" ]; then
  tmp=$(mktemp -d)
  trap '[ -z "$bridge" ] || kill "$bridge" 2>/dev/null || true; rm -rf "$tmp"' EXIT
  cli() { HOME=$tmp "$desktop/kt520-cli" "$@"; }
  # Starts kt520-sim with ARGS; $device is the device it gives (its first line).
  sim() {
    rm -f "$tmp/sim.out"
    "$desktop/kt520-sim" "$@" >"$tmp/sim.out" &
    sim_pid=$!
    for _ in $(seq 100); do [ -s "$tmp/sim.out" ] && break; sleep 0.05; done
    device=$(head -n 1 "$tmp/sim.out")
  }
  # A known radio: three channels from a CSV file, written to a fresh sim, whose memory it keeps.
  cat >"$tmp/channels.csv" <<'CSV'
Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE
1,WEB1,433.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,50W,,,,,
2,WEB2,438.250000,+,5.000000,Tone,100.0,88.5,023,NN,023,Tone->Tone,NFM,12.50,,1W,,,,,
3,WEB3,446.025000,,0.000000,TSQL,123.0,123.0,023,NN,023,Tone->Tone,FM,12.50,,50W,,,,,
CSV
  cli import --lang 2 --csv "$tmp/channels.csv" --keep-numbers --out "$tmp/channels.qv19" >/dev/null
  # The document the page opens and writes: other channels.
  sed -e 's/WEB\([0-9]\)/PAGE\1/' -e 's/433.500000/435.500000/' "$tmp/channels.csv" >"$tmp/other.csv"
  cli import --lang 2 --csv "$tmp/other.csv" --keep-numbers --out "$out/other.qv19" >/dev/null
  sim --dump "$tmp/radio.bin" --exit-after-end
  cli write --lang 2 --in "$tmp/channels.qv19" --port "$device" >/dev/null
  wait "$sim_pid"
  # The command line's read of it at 9600 baud, for the figures and the backup to compare with.
  sim --image "$tmp/radio.bin" --baud 9600 --exit-after-end
  began=$(date +%s%N)
  cli read --lang 2 --port "$device" --out "$tmp/cli.qv19" --trace "$tmp/cli.trace" >/dev/null
  cli_ms=$(( ($(date +%s%N) - began) / 1000000 ))
  wait "$sim_pid" || true
  cli_frames_ms=$(awk '$2 == ">" { if (first == "") first = $1; last = $1 } END { printf "%d", (last - first) * 1000 }' "$tmp/cli.trace")
  cp "$tmp"/.local/share/kt520/backups/*.bin "$out/cli-backup.bin"
  cp "$tmp/cli.qv19" "$out/cli.qv19"
  # kt520-cli's write of the other document to the same radio, for the page's write.
  sim --image "$tmp/radio.bin" --dump "$out/cli-written.bin" --exit-after-end
  cli write --lang 2 --in "$out/other.qv19" --port "$device" >/dev/null
  wait "$sim_pid"
    rm -f "$out/page-written.bin"
  (cd "$node_dir" && exec node radio-bridge.mjs --sim "$desktop/kt520-sim" --image "$tmp/radio.bin" --baud 9600 \
    --dump "$out/page-written.bin") \
    >"$tmp/bridge.out" &
  bridge=$!
  for _ in $(seq 100); do grep -q ws:// "$tmp/bridge.out" 2>/dev/null && break; sleep 0.05; done
  radio=$(awk '/ws:\/\// { print $2; exit }' "$tmp/bridge.out")
  [ -n "$radio" ] || { echo "the bridge did not start" >&2; cat "$tmp/bridge.out" >&2; exit 1; }
else
  echo "no desktop build in $desktop (kt520-sim, kt520-cli): the read through the page is skipped"
fi
RADIO=$radio PULL=$bridge node "$node_dir/page-test.mjs" "$dir" "$out"
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
[ -n "$radio" ] || exit 0
# The read through the page: "Done.", and the same backup image as the command line's read.
grep -q '"said": "kt520 status: Done' "$out/read.json" ||
  { echo "the read through the page failed:" >&2; cat "$out/read.json" >&2; exit 1; }
cmp "$out/read-backup.bin" "$out/cli-backup.bin" ||
  { echo "the page's read kept another image than kt520-cli's read of the same radio" >&2; exit 1; }
# The saved document, downloaded: the command line's document of the same read.
cmp "$out/downloads/KT-520.qv19" "$out/cli.qv19" ||
  { echo "the page saved another document than kt520-cli read (downloads/KT-520.qv19)" >&2; exit 1; }
head -c 5 "$out/downloads/KT-520.pdf" | grep -q '%PDF-' ||
  { echo "Print gave no PDF download (downloads/KT-520.pdf)" >&2; exit 1; }
grep -q '"settingsKept": true' "$out/read.json" ||
  { echo "the program's settings were not kept in the browser's storage" >&2; exit 1; }
# The other document, opened through the chooser and written: the radio as kt520-cli leaves it.
grep -q '"written": "kt520 status: Done' "$out/read.json" ||
  { echo "the write through the page failed:" >&2; cat "$out/read.json" >&2; exit 1; }
cmp "$out/page-written.bin" "$out/cli-written.bin" ||
  { echo "the page's write left another memory than kt520-cli's write of the same document" >&2; exit 1; }
# The pulled bridge: the link's message for a port that went away, and a page that still answers.
grep -q '"pulled": "kt520 warning: .*The port .* went away' "$out/read.json" && grep -q '"answers": true' "$out/read.json" ||
  { echo "the pulled bridge was not reported as a pulled plug:" >&2; cat "$out/read.json" >&2; exit 1; }
page_ms=$(sed -n 's/.*"wholeMs": \([0-9]*\).*/\1/p' "$out/read.json")
page_frames_ms=$(sed -n 's/.*"firstToLastMs": \([0-9]*\).*/\1/p' "$out/read.json")
echo "web test: read through the page in $page_ms ms ($page_frames_ms ms first to last frame sent);" \
  "kt520-cli read in $cli_ms ms ($cli_frames_ms ms); same backup image; the saved document is" \
  "kt520-cli's; the opened document written as kt520-cli writes it; pulled bridge reported"
