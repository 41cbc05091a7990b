#!/usr/bin/env bash
# Installs, with apt-get, whatever SolarDesk needs to build, test and show its windows and is not
# on this Debian 12 machine yet. Safe to run again: it installs only what is missing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config ccache clang-format
  libfuse3-dev fuse3
  qt6-base-dev libqcustomplot-dev libhidapi-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
