#!/usr/bin/env bash
# Makes the Debian package of the program: installs what the build and the
# packaging need, builds in Release with Debian's hardening flags into
# BUILD_DIR (default build-package/) with /usr as the prefix, and runs
# CPack's Debian generator there. The last line printed is the path of the
# .deb, so that a script can take it with "| tail -n 1".
#
#   scripts/package.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="$(realpath -m "${1:-build-package}")"

scripts/deps.sh package >&2

# The flags Debian builds its own packages with (fortify, stack protector,
# relro, bind now), as lintian expects of a package's programs.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DORVAN_BUILD_TESTS=OFF -DORVAN_BUILD_BENCH=OFF >&2
cmake --build "$build" -j "$(nproc)" >&2

rm -f "$build"/orvan_*.deb
(cd "$build" && cpack -G DEB >&2)
deb="$(ls "$build"/orvan_*.deb)"
dpkg-deb --info "$deb" >&2
echo "$deb"
