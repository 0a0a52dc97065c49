#!/usr/bin/env bash
# Installs the Debian packages the monitor needs, asking apt only when one of
# them is missing.
#
#   scripts/deps.sh           everything: build, tests, benchmarks, fuzzing
#   scripts/deps.sh package   what scripts/package.sh needs to build the .deb
#   scripts/deps.sh check     what scripts/check-package.sh needs to check an
#                             installed package
set -euo pipefail

# python3-pymodbus imports python3-serial-asyncio even for its TCP client
# but only recommends it.
# qt6-httpserver-dev needs qt6-websockets-dev for its CMake files but does
# not depend on it.
build=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-serialport-dev qt6-charts-dev qt6-httpserver-dev qt6-websockets-dev
  qt6-l10n-tools
)
tests=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth fonts-wqy-microhei
  nut-client prometheus chromium
  python3-pymodbus python3-serial-asyncio socat
)
# dpkg-shlibdeps (dpkg-dev) finds the package's dependencies; CPack uses
# file to tell the programs among the installed files.
package=(dpkg-dev file)
check=(lintian desktop-file-utils appstream systemd man-db)

case "${1:-all}" in
  all) packages=("${build[@]}" "${tests[@]}") ;;
  package) packages=("${build[@]}" "${package[@]}") ;;
  check) packages=("${check[@]}") ;;
  *) echo "usage: $0 [package | check]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
