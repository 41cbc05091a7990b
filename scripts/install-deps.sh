#!/usr/bin/env bash
# Installs, with apt-get, whatever SolarDesk needs to build, test and show its windows and is not
# on this Debian 12 machine yet. Safe to run again: it installs only what is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config ccache clang-format
  clang libclang-rt-14-dev
  libfuse3-dev fuse3
  qt6-base-dev libqcustomplot-dev libhidapi-dev libmosquitto-dev
  mosquitto mosquitto-clients
  libcivetweb-dev libjs-dygraphs
  chromium chromium-driver python3-selenium
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth poppler-utils locales
  systemd strace curl
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
# A desktop language that writes numbers with a decimal comma, for the tests that check that
# files and fields keep the point whatever the language.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
