#!/usr/bin/env bash
# Builds a release in build-pkg/ with Debian's build flags and writes the Debian package
# build/kt520_<version>_<arch>.deb. The desktop entry and the AppStream data are validated
# first. Extra arguments go to cmake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" --package

desktop-file-validate "$root/packaging/kt520.desktop"
appstreamcli validate --no-net "$root/packaging/org.kt520.kt520.metainfo.xml"

# Hardening as Debian's own packages have it (PIE, full RELRO, fortified functions).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
cmake -S "$root" -B "$root/build-pkg" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKT520_WERROR=ON -DKT520_TESTS=OFF \
      "$@" >/dev/null
cmake --build "$root/build-pkg" -j "$(nproc)"
rm -f "$root"/build-pkg/kt520_*.deb
(cd "$root/build-pkg" && cpack -G DEB >/dev/null)
mkdir -p "$root/build"
deb=$(ls "$root"/build-pkg/kt520_*.deb)
cp "$deb" "$root/build/"
echo "$root/build/$(basename "$deb")"
