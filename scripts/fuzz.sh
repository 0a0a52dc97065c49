#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while, starting
# from the seed corpus in fuzz/corpus/<target>/. New inputs the run finds go
# to <build-dir>/corpus/<target>/, never into the repository's seeds.
# Usage: scripts/fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET] [TARGET...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${1:-build-fuzz}"
seconds="${2:-8}"
shift $(( $# > 2 ? 2 : $# ))

# Paths relative to the tree, so a clone elsewhere hits the same cache.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O1 -g0" -DORVAN_FUZZ=ON -DORVAN_BUILD_TESTS=OFF -DORVAN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_targets -j "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*Fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cd "$root"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in "${targets[@]}"; do
  found="$build/corpus/$target"
  log="$build/fuzz-$target.log"
  mkdir -p "$found"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/$target-" \
      "$found" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz target $target FAILED (the input that failed is in $build/$target-*)"
    exit 1
  fi
  runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')"
  speed="$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$')"
  cov="$(grep -o 'cov: [0-9]*' "$log" | tail -1)"
  echo "$target: $runs runs, $speed/s, $cov, no crash"
done
