#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One version everywhere: CMake's project version is the one the programs print, the first entry
# of debian/changelog (the package's version) and the newest AppStream release, whose date is the
# changelog entry's, and the man pages'. Both programs' --version name the licence.
# Usage: check-version.sh VERSION SOURCE_DIR BUILD_DIR
set -uo pipefail
version=$1
source=$2
build=$3
failures=0
fail() { echo "check-version: $*"; failures=$((failures + 1)); }

changelog=$(sed -n '1s/^kt520 (\([^)]*\)).*/\1/p' "$source/debian/changelog")
[ "$changelog" = "$version" ] || fail "debian/changelog is at '$changelog', CMake at '$version'"

metainfo="$source/packaging/org.kt520.kt520.metainfo.xml"
release=$(grep -o '<release version="[^"]*" date="[^"]*"' "$metainfo" | head -1)
[ "$release" = "<release version=\"$version\" date=\"$(
    date -u -d "$(sed -n '/^ -- /{s/^ -- .*>  //p;q}' "$source/debian/changelog")" +%F)\"" ] ||
    fail "the newest AppStream release ($release) is not $version of the changelog's date"

for page in "$source"/packaging/man/*.1; do
    grep -q "^\.TH .* \"kt520 $version\"" "$page" || fail "$(basename "$page") is not of version $version"
done

for exe in kt520 kt520-cli; do
    answer=$("$build/$exe" --version 2>/dev/null)
    [ "$(head -1 <<<"$answer")" = "$exe $version" ] || fail "$exe --version begins '$(head -1 <<<"$answer")'"
    grep -qx 'Licence: GPL-3.0-or-later.*' <<<"$answer" || fail "$exe --version does not name the licence"
    grep -q 'NO WARRANTY' <<<"$answer" || fail "$exe --version does not say there is no warranty"
done

if [ $failures -gt 0 ]; then exit 1; fi
echo "check-version: $version everywhere"
