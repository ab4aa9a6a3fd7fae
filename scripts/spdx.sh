#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every tracked source file names its licence in its first line (after a shebang line):
#   scripts/spdx.sh          lists each file without the line and exits 1 when there is one
#   scripts/spdx.sh --add    adds the line where it is missing (running it again changes nothing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tag='SPDX-License-Identifier: GPL-3.0-or-later'

add=false
case "${1:-}" in
--add) add=true ;;
"") ;;
*)
  echo "usage: scripts/spdx.sh [--add]" >&2
  exit 2
  ;;
esac

header_of() { # FILE: the comment line this kind of file takes
  case "$1" in
  *.cpp | *.h) echo "// $tag" ;;
  *) echo "# $tag" ;;
  esac
}

# The line counts where it stands first, or second behind a shebang.
has_header() { # FILE
  local first second
  first=$(sed -n 1p "$1")
  second=$(sed -n 2p "$1")
  [[ $first == *"$tag" ]] || { [[ $first == '#!'* ]] && [[ $second == *"$tag" ]]; }
}

missing=0
while IFS= read -r -d '' file; do
  [ -f "$file" ] || continue
  has_header "$file" && continue
  if $add; then
    header=$(header_of "$file")
    tmp=$(mktemp)
    if [[ $(sed -n 1p "$file") == '#!'* ]]; then
      { sed -n 1p "$file"; echo "$header"; sed 1d "$file"; } >"$tmp"
    else
      { echo "$header"; cat "$file"; } >"$tmp"
    fi
    # Keeps the file's mode (an executable script stays executable).
    cat "$tmp" >"$file"
    rm -f "$tmp"
    echo "added: $file"
  else
    echo "no licence line: $file"
    missing=$((missing + 1))
  fi
done < <(git ls-files -z -- '*.cpp' '*.h' '*CMakeLists.txt' '*.cmake' '*.sh' .ci/run)

if [ "$missing" -gt 0 ]; then
  echo "spdx: $missing file(s) lack '$tag'; scripts/spdx.sh --add adds it" >&2
  exit 1
fi
