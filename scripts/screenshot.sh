#!/usr/bin/env bash
# Takes the README's screenshot: starts Kalvero under Xvfb, opens the example pocket query
# through the open dialog (typed with xdotool) and saves the main window as docs/main-window.png.
# Needs xvfb, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
example=${1:-$PWD/examples/MyFinds.gpx}
export DISPLAY=:77
Xvfb :77 -screen 0 1280x1024x24 -dpi 120 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
QT_FONT_DPI=120 build/app/kalvero &
app=$!
sleep 3
xdotool search --sync --name "Anzahl Kalvero" windowfocus --sync
xdotool key ctrl+o
sleep 2
xdotool type --delay 20 "$example"
xdotool key Return
sleep 3
win=$(xdotool search --name "Anzahl Kalvero" | head -1)
import -window "$win" docs/main-window.png
kill $app
echo "saved docs/main-window.png"
