#!/usr/bin/env bash
# Configures and builds Kalvero into build/ (or $KALVERO_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${KALVERO_BUILD_DIR:-build}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$dir" -j "$(nproc)"
