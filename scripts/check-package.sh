#!/usr/bin/env bash
# Builds the Debian package from build/ (run scripts/build.sh first), installs it with apt-get
# and checks the installed files and programs: kalvero-stats on the example query gives what
# the built one gives, kalvero starts (it refuses a second file with status 2 once Qt is up),
# and the history file, menu entry and icon are where the desktop and the program look.
# Run as root; it installs the package on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=build/package
rm -rf "$out"
mkdir -p "$out"
(cd build && cpack -G DEB -B "$root/$out" > "$root/$out/cpack.log" 2>&1) \
  || { cat "$out/cpack.log" >&2; exit 1; }
deb=$(ls "$out"/kalvero_*.deb)
echo "built $deb"
dpkg-deb --field "$deb" Depends
export DEBIAN_FRONTEND=noninteractive
# --reinstall: a second run on the same machine installs the new build of the same version.
(cd "$out" && apt-get install -y -qq --reinstall ./kalvero_*.deb)

for f in /usr/bin/kalvero /usr/bin/kalvero-stats /usr/bin/kalvero-zip /usr/lib/kalvero/kalvero \
         /usr/lib/kalvero/Historie.txt /usr/share/applications/kalvero.desktop \
         /usr/share/icons/hicolor/256x256/apps/kalvero.png; do
  test -e "$f" || { echo "missing after install: $f" >&2; exit 1; }
done
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate /usr/share/applications/kalvero.desktop
fi

installed=$(cd /tmp && kalvero-stats "$root/examples/MyFinds.gpx")
built=$(build/tools/kalvero-stats "$root/examples/MyFinds.gpx")
echo "$installed"
[ "$installed" = "$built" ] || { echo "the installed kalvero-stats shows something else" >&2; exit 1; }
[ "$(kalvero-stats "$root/examples/MyFinds.zip")" = "$installed" ] \
  || { echo "the installed kalvero-stats reads the zipped query differently" >&2; exit 1; }

status=0
QT_QPA_PLATFORM=offscreen kalvero a.gpx b.gpx 2> /dev/null || status=$?
[ "$status" = 2 ] || { echo "the installed kalvero did not start (status $status)" >&2; exit 1; }
echo "package installed and working"
