#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test. With
# KALVERO_FULL_CHECK=1 (as in CI) it also runs the archiver tests under AddressSanitizer and
# UBSan and a short fuzzing smoke test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
bash scripts/build.sh -DKALVERO_WERROR=ON
ctest --test-dir build --output-on-failure -j "$(nproc)"
if [ "${KALVERO_FULL_CHECK:-0}" = 1 ] && [ -x scripts/check-sanitized.sh ]; then
  bash scripts/check-sanitized.sh
fi
