#!/usr/bin/env bash
# Sets everything up, builds and starts the monitor.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

scripts/deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo

exec build/src/orvan "$@"
