# SPDX-License-Identifier: GPL-3.0-or-later
# Shell helpers the Windows tests share, sourced after they set $root and $WINEPREFIX.

# start_sim DIR NAME [options]: build/kt520-sim in the background (its output in DIR/NAME.sim),
# its pseudo-terminal in $device and mapped as COM5 in the Wine prefix; 1 when it does not start.
start_sim() {
  local dir=$1 name=$2
  shift 2
  "$root/build/kt520-sim" "$@" >"$dir/$name.sim" 2>&1 &
  for _ in $(seq 100); do
    device=$(head -n1 "$dir/$name.sim" 2>/dev/null || true)
    if [ -n "$device" ]; then
      mkdir -p "$WINEPREFIX/dosdevices"
      ln -sfn "$device" "$WINEPREFIX/dosdevices/com5"
      return 0
    fi
    sleep 0.05
  done
  echo "kt520-sim did not start" >&2
  return 1
}

# masked IMAGE: the radio's memory as a write left it, with the programming date (0x0160-0x0166,
# the time of each write) zeroed, so that two writes compare.
masked() {
  python3 -c 'import sys; b=bytearray(open(sys.argv[1],"rb").read()); b[0x160:0x167]=bytes(7); sys.stdout.buffer.write(b)' "$1"
}
