#!/usr/bin/env bash
# Installs what is missing, builds and starts Kalvero. Without a display it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  exec xvfb-run -a build/app/kalvero
fi
exec build/app/kalvero
