#!/usr/bin/env bash
# Installs the Debian packages the monitor needs to build, test and run,
# asking apt only when one of them is missing.
set -euo pipefail

# qt6-httpserver-dev needs qt6-websockets-dev for its CMake files but does
# not depend on it.
packages=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-serialport-dev qt6-charts-dev qt6-httpserver-dev qt6-websockets-dev
  qt6-l10n-tools
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth fonts-wqy-microhei
  nut-client prometheus chromium
)

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
