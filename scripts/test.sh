#!/usr/bin/env bash
# Sets everything up and runs every test: once in a plain build and once
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/deps.sh

export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

echo "== plain build"
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== sanitizer build"
scripts/build.sh build-san -DCMAKE_BUILD_TYPE=Debug -DORVAN_SANITIZE=ON -DORVAN_BUILD_BENCH=OFF
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-san --output-on-failure -j "$jobs"

echo "== fuzz targets, a short run of each"
scripts/fuzz.sh build-fuzz 8
