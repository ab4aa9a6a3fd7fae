#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows setup program under Wine, in a fresh prefix of its own (build-win/wine-setup):
#   bash scripts/windows-setup-test.sh build-win/kt520-VERSION-win64-setup.exe
# A silent install for the current user puts the files, the Start-menu shortcut, the .qv19
# association and the uninstall entry in place; the association's command opens a document in
# kt520.exe; the installed kt520-cli.exe keeps its settings in %APPDATA%\kt520 and reads and
# writes kt520-sim through COM5, at 9600 baud and unpaced, as the Linux build does; the silent
# uninstall removes all of that and leaves the settings and the document. Exits 1 on a failure.
# Runs itself under Xvfb when there is no display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
setup=$(realpath "${1:?usage: windows-setup-test.sh build-win/kt520-VERSION-win64-setup.exe}")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1366x768x24" bash "$0" "$@"
fi
cd "$root"
start_s=$(date +%s)
export WINEPREFIX=$root/build-win/wine-setup WINEDEBUG=-all
# No Mono or Gecko prompts; no menu entries or file types copied onto the Linux desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
# One Wine server for the whole run, kept up between the programs.
wineserver -k 2>/dev/null || true
wineserver -p >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

failures=0
fail() { echo "FAILED: $1"; failures=$((failures + 1)); }
ok() { echo "ok: $1"; }
check() { # check WHAT COMMAND...: the command succeeds
  local what=$1
  shift
  if "$@"; then ok "$what"; else fail "$what"; fi
}
# The data of one registry value, empty when there is none.
regval() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
regdefault() { wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'; }
haskey() { wine reg query "$1" >/dev/null 2>&1; }
gone() { ! haskey "$1"; }
winenv() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
unix() { winepath -u "$1" 2>/dev/null; }

uninst='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\KT-520'
classes='HKCU\Software\Classes'
appdata=$(winenv APPDATA)
shortcut=$(unix "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\KT-520.lnk")

echo "== silent install for the current user"
check "setup /S exits 0" wine "$setup" /S
installdir=$(regval "$uninst" InstallLocation)
dir=$(unix "$installdir")
check "installed under %LOCALAPPDATA%\\Programs\\KT-520 ($installdir)" \
  test "$installdir" = "$(winenv LOCALAPPDATA)\\Programs\\KT-520"
for f in kt520.exe kt520-cli.exe uninstall.exe Qt6Core.dll Qt6Widgets.dll platforms/qwindows.dll \
  styles/qwindowsvistastyle.dll translations/qtbase_zh_CN.qm cha_dll.dll eng_dll.dll ty.dll sysini.ini \
  LICENSE.txt LICENSE-Qt.txt; do
  [ -f "$dir/$f" ] || fail "installed file $f"
done
check "Start-menu shortcut" test -f "$shortcut"
check ".qv19 names the document type" test "$(regdefault "$classes\\.qv19")" = KT520.Document
command=$(regdefault "$classes\\KT520.Document\\shell\\open\\command")
check "open command: $command" test "$command" = "\"$installdir\\kt520.exe\" \"%1\""
check "document icon" test "$(regdefault "$classes\\KT520.Document\\DefaultIcon")" = "$installdir\\kt520.exe,0"
for value in DisplayName DisplayVersion Publisher DisplayIcon EstimatedSize UninstallString QuietUninstallString; do
  [ -n "$(regval "$uninst" $value)" ] || fail "uninstall entry $value"
done
size=$(regval "$uninst" EstimatedSize)
check "estimated size $((size)) KB from the files' $(du -sk "$dir" | cut -f1) KB" \
  test $((size)) -gt $(($(du -sk "$dir" | cut -f1) * 9 / 10))

echo "== settings of an installed copy"
where=$( (cd "$dir" && wine kt520-cli.exe where 2>&1) | tr -d '\r' || true)
check "kt520-cli where: the user's settings" grep -qxF "settings: $appdata\\kt520\\sysini.ini (not made yet)" <<<"$where"

echo "== the installed kt520-cli.exe reads and writes a radio through COM5, paced and not"
# kt520-sim (Linux) on a pseudo-terminal mapped as COM5; the Linux build's read and write of the
# same radio are the reference.
work=$root/build-win/setup-test
rm -rf "$work"
mkdir -p "$work"
cp fuzz/corpus/document/rich.qv19 "$work/"
. "$root/scripts/wine-sim.sh"
sim() { start_sim "$work" "$1" --exit-after-end "${@:2}" || fail "kt520-sim did not start"; }
mkdir -p "$WINEPREFIX/dosdevices"
sim lin-read --baud 0
(cd "$work" && "$root/build/kt520-cli" read --lang 2 --port "$device" --out lin-read.qv19 >/dev/null)
wait
sim lin-write --baud 0 --dump "$work/lin-written.bin"
(cd "$work" && "$root/build/kt520-cli" write --lang 2 --port "$device" --in rich.qv19 >/dev/null)
wait
masked "$work/lin-written.bin" >"$work/lin-written.masked"
for baud in 9600 0; do
  sim win-read-$baud --baud $baud
  (cd "$work" && wine "$dir/kt520-cli.exe" read --lang 2 --port COM5 --out win-read-$baud.qv19 >/dev/null 2>&1) || true
  wait
  check "read at ${baud/#0/full} speed: the Linux read's document" cmp -s "$work/lin-read.qv19" "$work/win-read-$baud.qv19"
  sim win-write-$baud --baud $baud --dump "$work/win-written-$baud.bin"
  (cd "$work" && wine "$dir/kt520-cli.exe" write --lang 2 --port COM5 --in rich.qv19 >/dev/null 2>&1) || true
  wait
  masked "$work/win-written-$baud.bin" >"$work/win-written-$baud.masked" 2>/dev/null || true
  check "write at ${baud/#0/full} speed: the Linux write's bytes" cmp -s "$work/lin-written.masked" "$work/win-written-$baud.masked"
done

echo "== a document opened through the association"
documents=$(unix "$(winenv USERPROFILE)\\Documents")
mkdir -p "$documents"
cp fuzz/corpus/document/rich.qv19 "$documents/radio memory.qv19"
document="$(winenv USERPROFILE)\\Documents\\radio memory.qv19"
if [[ $command =~ ^\"([^\"]+)\"\ \"%1\"$ ]]; then
  wine "${BASH_REMATCH[1]}" "$document" >/dev/null 2>&1 &
  program=$!
  title=
  for _ in $(seq 60); do
    sleep 0.5
    title=$(xwininfo -root -tree 2>/dev/null | grep -o '"[^"]*radio memory[^"]*"' | head -n1 || true)
    [ -n "$title" ] && break
  done
  check "kt520.exe shows the document: $title" test -n "$title"
  # Closed as a user closes it, so that it saves its settings (the document among the recent ones).
  wine taskkill /im kt520.exe >/dev/null 2>&1 || true
  for _ in $(seq 40); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.25
  done
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
else
  fail "the open command has the form \"EXE\" \"%1\""
fi
settings=$(unix "$appdata\\kt520\\sysini.ini")
check "settings saved in %APPDATA%\\kt520, the document among the recent files" grep -q "radio memory" "$settings"
check "the install folder's sysini.ini untouched" bash -c "[ -f '$dir/sysini.ini' ] && ! grep -q 'radio memory' '$dir/sysini.ini'"

echo "== silent uninstall"
quiet=$(regval "$uninst" QuietUninstallString)
if [[ $quiet =~ ^\"([^\"]+)\"\ (.*)$ ]]; then
  # shellcheck disable=SC2086 # the switches are words
  wine "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]}
  # The uninstaller runs from a copy of itself in the temporary folder and returns at once.
  for _ in $(seq 120); do
    [ -d "$dir" ] || haskey "$uninst" || break
    sleep 0.25
  done
else
  fail "quiet uninstall command: $quiet"
fi
check "install folder removed" test ! -e "$dir"
check "Start-menu shortcut removed" test ! -e "$shortcut"
check "uninstall entry removed" gone "$uninst"
check ".qv19 association removed" gone "$classes\\.qv19"
check "document type removed" gone "$classes\\KT520.Document"
check "settings kept" test -f "$settings"
check "document kept" test -f "$documents/radio memory.qv19"

echo "== $(($(date +%s) - start_s)) s"
if [ "$failures" -gt 0 ]; then
  echo "== $failures setup check(s) failed"
  exit 1
fi
echo "== setup checks passed"
