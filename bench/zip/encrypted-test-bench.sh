#!/usr/bin/env bash
# Testing an archive of 3,000 small AES-256 entries (written by 7-Zip): 7z t against kalvero's
# archiver reading and checking every entry (zip_read_all_bench), timed in the same run.
#
#   bench/zip/encrypted-test-bench.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
reader=$build/bench/zip/zip_read_all_bench
[ -x "$reader" ] || { echo "build $reader first" >&2; exit 2; }
command -v 7z > /dev/null || { echo "7z is needed (Debian package p7zip-full)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src"
python3 - "$work/src" <<'PY'
import os, random, sys
rnd = random.Random(3000)
for i in range(3000):
    folder = os.path.join(sys.argv[1], "Region%02d" % (i % 30))
    os.makedirs(folder, exist_ok=True)
    lines = ['<groundspeak:log id="%d"><groundspeak:date>2016-05-%02dT10:00:00Z</groundspeak:date>'
             '<groundspeak:type>Found it</groundspeak:type></groundspeak:log>\n'
             % (rnd.randrange(10**9), 1 + rnd.randrange(28)) for _ in range(1 + rnd.randrange(40))]
    with open(os.path.join(folder, "GC%05X.gpx" % (i * 7919)), "w") as f:
        f.write("".join(lines))
PY
(cd "$work/src" && 7z a -bd -tzip -mem=AES256 -pkalvero "$work/aes.zip" . > /dev/null)
echo "archive: 3000 AES-256 entries, $(stat -c %s "$work/aes.zip") bytes"

timed() {  # prints the wall time of "$@" in seconds, the command's own output on stderr
  local start end
  start=$(date +%s.%N)
  "$@" > "$work/out" 2>&1 || { cat "$work/out" >&2; return 1; }
  end=$(date +%s.%N)
  python3 -c "print('%.3f' % ($end - $start))"
}
for round in 1 2 3; do
  t7z=$(timed 7z t -pkalvero "$work/aes.zip")
  grep -q "Everything is Ok" "$work/out" || { echo "7z t failed" >&2; exit 1; }
  tkz=$(timed "$reader" "$work/aes.zip" kalvero)
  grep -q "^3000 entries" "$work/out" || { echo "kalvero read $(cat "$work/out")" >&2; exit 1; }
  echo "round $round: 7z t ${t7z} s, kalvero ${tkz} s"
done
