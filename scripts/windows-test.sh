#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build under Wine, side by side with the Linux build (scripts/windows.sh --test):
#  1. the core's test programs, built for Windows (ctest in build-win, through scripts/wine-run.sh);
#  2. the unzipped kt520-cli.exe gives the same documents and CSV files as the Linux kt520-cli,
#     the same check lines, and printed pages with the same words, in the three languages;
#  3. end to end: kt520-sim (Linux) at 9600 baud on a pseudo-terminal, mapped as COM5 of the
#     Wine prefix: a read gives the Linux read's document, a write leaves the Linux write's bytes
#     (but the programming date), and the two reads' times are compared;
#  4. kt520.exe --demo starts with its main window in Traditional Chinese at 1366x768 (build-win/test/
#     screen-win.png), then reads and writes its demo radio through the window, driven by
#     xdotool: demo-read-progress.png, demo-read-done.png, and the same for the write.
# Everything lands in build-win/test. Runs itself under Xvfb when there is no display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
zip=$(realpath "${1:?usage: windows-test.sh build-win/kt520-VERSION-win64.zip}")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1366x768x24" bash "$0" "$@"
fi
bash scripts/deps.sh --windows
[ -x build/kt520-cli ] && [ -x build/kt520-sim ] || bash scripts/build.sh

out=$root/build-win/test
rm -rf "$out"
mkdir -p "$out"
export WINEPREFIX=$root/build-win/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== a Wine prefix of the build's own"
  wineboot -i >/dev/null 2>&1
fi
# Wine finds the system's fonts through fontconfig, and Qt asks Windows for its Chinese fonts by
# name: Noto Sans CJK stands in for them.
for font in "Microsoft YaHei" "SimSun" "MS Shell Dlg 2" "Microsoft JhengHei" "PMingLiU"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d "Noto Sans CJK SC" /f >/dev/null 2>&1
done
# One Wine server for every program of the run, as on a Windows machine that is up already; its
# own messages stay out of the log.
wineserver -k 2>/dev/null || true
wineserver -p >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# Unzipped onto the prefix's drive C:, as a user would put it.
rm -rf "$WINEPREFIX"/drive_c/kt520-*-win64
unzip -q "$zip" -d "$WINEPREFIX/drive_c"
app=$(find "$WINEPREFIX/drive_c" -maxdepth 1 -type d -name 'kt520-*-win64')
# The Windows program runs in build-win/test and is given relative paths, as a user would.
wincli() { (cd "$out" && "$root/scripts/wine-run.sh" "$app/kt520-cli.exe" "$@"); }
lincli() { (cd "$out" && "$root/build/kt520-cli" "$@"); }
failures=0
fail() { echo "FAILED: $1"; failures=$((failures + 1)); }
same() { cmp -s "$1" "$2" && echo "same: $3" || fail "$3 ($1 and $2 differ)"; }

echo "== 1. the core's tests under Wine"
# The test programs find Qt and the MinGW runtime where they were built, not beside themselves.
qt=$(sed -n 's|^Qt6_DIR:[A-Z]*=\(.*\)/lib/cmake/Qt6$|\1|p' build-win/CMakeCache.txt)
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
WINEPATH="$(winepath -w "$qt/bin");$(winepath -w "$gcc_dir");$(winepath -w /usr/x86_64-w64-mingw32/lib)"
export WINEPATH
(cd build-win && ctest --output-on-failure -j "$(nproc)") || fail "core tests under Wine"
unset WINEPATH

echo "== 2. the command line: the same bytes as on Linux"
cp fuzz/corpus/document/rich.qv19 "$out/rich.qv19"
for lang in 1 2 3; do
  lincli new --lang $lang --out lin-new-$lang.qv19
  wincli new --lang $lang --out win-new-$lang.qv19
  same "$out/lin-new-$lang.qv19" "$out/win-new-$lang.qv19" "new, language $lang"
  for table in A B; do
    lincli export --lang $lang --in rich.qv19 --table $table --csv lin-$lang$table.csv
    wincli export --lang $lang --in rich.qv19 --table $table --csv win-$lang$table.csv
    same "$out/lin-$lang$table.csv" "$out/win-$lang$table.csv" "export of table $table, language $lang"
  done
  lincli check --lang $lang rich.qv19 >"$out/lin-check-$lang.txt" 2>&1 || true
  wincli check --lang $lang rich.qv19 2>&1 | tr -d '\r' >"$out/win-check-$lang.txt" || true
  same "$out/lin-check-$lang.txt" "$out/win-check-$lang.txt" "check, language $lang"
done
# A PDF embeds the fonts each system found (WenQuanYi on Linux, Noto under Wine): the pages say
# the same words, not in the same bytes.
words() { pdftotext "$1" - | tr -s ' \n\f' '\n\n\n' | LC_ALL=C sort; }
for lang in 1 2 3; do
  lincli print --lang $lang --in rich.qv19 --pdf lin-$lang.pdf 2>/dev/null
  wincli print --lang $lang --in rich.qv19 --pdf win-$lang.pdf 2>/dev/null
  words "$out/lin-$lang.pdf" >"$out/lin-$lang.words"
  words "$out/win-$lang.pdf" >"$out/win-$lang.words"
  same "$out/lin-$lang.words" "$out/win-$lang.words" "the words of print, language $lang"
done

echo "== 3. end to end through COM5 at 9600 baud"
# A radio as the Linux program leaves it after writing the rich document.
. "$root/scripts/wine-sim.sh"
sim() { start_sim "$out" "$1" --baud 9600 "${@:2}"; } # sim NAME [options]: at 9600 baud unless told
sim image --dump "$out/image.bin" --exit-after-end --baud 0
lincli write --lang 2 --port "$device" --in rich.qv19 >/dev/null
wait
mkdir -p "$WINEPREFIX/dosdevices"
read_both() { # read_both ROUND: the same image read by each build, timed
  sim lin-$1 --image "$out/image.bin" --exit-after-end
  local start=$(date +%s%N)
  lincli read --lang 2 --port "$device" --out lin-read.qv19 --trace lin-read.trace >/dev/null
  lin_s=$((($(date +%s%N) - start) / 1000000))
  wait
  sim win-$1 --image "$out/image.bin" --exit-after-end
  ln -sfn "$device" "$WINEPREFIX/dosdevices/com5"
  start=$(date +%s%N)
  wincli read --lang 2 --port COM5 --out win-read.qv19 --trace win-read.trace >/dev/null
  win_s=$((($(date +%s%N) - start) / 1000000))
  wait
}
read_both 1
same "$out/lin-read.qv19" "$out/win-read.qv19" "read through COM5"
# The exchange itself, from the first frame sent to the last frame, as each trace has it.
exchange() { awk '$2 == ">" || $2 == "<" { if (first == "") first = $1; last = $1 } END { print last - first }' "$1"; }
awk -v l="$lin_s" -v w="$win_s" -v le="$(exchange "$out/lin-read.trace")" -v we="$(exchange "$out/win-read.trace")" \
  'BEGIN { printf "read at 9600 baud: Linux %.2f s, Wine %.2f s (%.3f times); the exchange alone %.2f s and %.2f s (%.3f times)\n", l / 1000, w / 1000, w / l, le, we, we / le }'
for who in lin win; do
  sim write-$who --dump "$out/written-$who.bin" --exit-after-end
  ln -sfn "$device" "$WINEPREFIX/dosdevices/com5"
  if [ $who = lin ]; then lincli write --lang 2 --port "$device" --in rich.qv19 >/dev/null
  else wincli write --lang 2 --port COM5 --in rich.qv19 >/dev/null; fi
  wait
done
# The programming date (0x0160-0x0166) is the time of each write.
masked "$out/written-lin.bin" >"$out/written-lin.masked"
masked "$out/written-win.bin" >"$out/written-win.masked"
same "$out/written-lin.masked" "$out/written-win.masked" "write through COM5"

# A radio that is not paced answers at once, sooner than a cable could carry the request: the
# link must read and write it every time all the same.
for round in 1 2 3; do
  sim fast-read-$round --image "$out/image.bin" --exit-after-end --baud 0
  ln -sfn "$device" "$WINEPREFIX/dosdevices/com5"
  wincli read --lang 2 --port COM5 --out fast-read-$round.qv19 >/dev/null || fail "read at full speed, round $round"
  wait
  same "$out/lin-read.qv19" "$out/fast-read-$round.qv19" "read at full speed, round $round"
  sim fast-write-$round --dump "$out/fast-written-$round.bin" --exit-after-end --baud 0
  ln -sfn "$device" "$WINEPREFIX/dosdevices/com5"
  wincli write --lang 2 --port COM5 --in rich.qv19 >/dev/null || fail "write at full speed, round $round"
  wait
  masked "$out/fast-written-$round.bin" >"$out/fast-written-$round.masked"
  same "$out/written-lin.masked" "$out/fast-written-$round.masked" "write at full speed, round $round"
done

echo "== 3b. the Windows line wakes the link soon after bytes come"
# A pseudo-terminal whose other end sends every byte straight back, as COM6.
python3 -c '
import os, pty, sys, tty
master, slave = pty.openpty()
tty.setraw(slave)
print(os.ttyname(slave), flush=True)
while True:
    data = os.read(master, 4096)
    if not data:
        break
    os.write(master, data)
' >"$out/echo.device" 2>/dev/null &
echo_pid=$!
for _ in $(seq 100); do [ -s "$out/echo.device" ] && break; sleep 0.05; done
ln -sfn "$(head -n1 "$out/echo.device")" "$WINEPREFIX/dosdevices/com6"
WINEPATH="$(winepath -w "$qt/bin");$(winepath -w "$gcc_dir");$(winepath -w /usr/x86_64-w64-mingw32/lib)" \
  KT520_TEST_COM=COM6 "$root/scripts/wine-run.sh" build-win/test_winline.exe -o "$out/winline.log,txt" \
  >/dev/null 2>&1 || fail "the Windows line's wake-up time (build-win/test/winline.log)"
grep -o 'the link.s wait after an echo.*' "$out/winline.log" || true
kill "$echo_pid" 2>/dev/null || true
wait "$echo_pid" 2>/dev/null || true

echo "== 4. kt520.exe on screen: a read and a write of the demo radio through the window"
# In Traditional Chinese, which a stored lang=3 keeps whatever the system's language (Simplified
# Chinese would follow a Chinese Windows, and the prefix has the language of this machine).
sed -i 's/^\[Open\]\r$/[Open]\r\nlang=3\r/' "$app/sysini.ini"
scripts/wine-run.sh "$app/kt520.exe" --demo >/dev/null 2>&1 &
window=
for _ in $(seq 60); do
  sleep 0.5
  window=$(xdotool search --name 'KT-520' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
done
sleep 2
import -window root "$out/screen-win.png"
echo "screenshot: build-win/test/screen-win.png"
# Ctrl+R and Ctrl+Shift+W open the transfer dialog with its start button in focus; Space
# presses it. The demo radio in the program answers at once: a transfer takes a few seconds.
# The new document goes to the demo radio first, then the radio is read back (the radio's own
# sample has values the write would first list as problems).
transfer() { # transfer NAME KEYS
  [ -n "$window" ] || { fail "kt520.exe --demo: no main window"; return; }
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window" 2>/dev/null || true
  local name=$1
  xdotool key --clearmodifiers "$2"
  sleep 2
  import -window root "$out/demo-$name-start.png"
  xdotool key space
  import -window root "$out/demo-$name-progress.png"
  sleep 8
  import -window root "$out/demo-$name-done.png"
  xdotool key Escape
  sleep 1
  # The demo radio answers at once: the transfer may be over before the first picture.
  cmp -s "$out/demo-$name-start.png" "$out/demo-$name-done.png" && fail "kt520.exe --demo: the $name did not run"
  echo "screenshots: build-win/test/demo-$name-start.png, demo-$name-progress.png, demo-$name-done.png"
}
transfer write ctrl+shift+w
transfer read ctrl+r
wineserver -k || true
wait || true

echo "== 5. the setup program, in a prefix of its own"
setup=${zip%.zip}-setup.exe
if [ -f "$setup" ]; then
  bash scripts/windows-setup-test.sh "$setup" || fail "the setup program"
else
  fail "no $setup"
fi

if [ "$failures" -gt 0 ]; then
  echo "== $failures Windows check(s) failed"
  exit 1
fi
echo "== Windows checks passed"
