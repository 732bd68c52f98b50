#!/usr/bin/env bash
# Installs the Debian 12 packages Kalvero needs to build, test and run. Run as root.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev zlib1g-dev libssl-dev qt6-translations-l10n libsimdjson-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev libzip-dev
  p7zip-full
  clang libclang-rt-14-dev
  xvfb xauth fonts-liberation fonts-dejavu-core fonts-wine
  dpkg-dev desktop-file-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
