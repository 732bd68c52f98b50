#!/usr/bin/env bash
# Peak memory and time of a 16-byte window read of a 1 GiB deflated entry, at its start and at
# its end, against reading the whole entry into a discarding stream and against Info-ZIP's
# unzip -p of the same entry to /dev/null. The entry repeats one waypoint line, so it deflates
# about 1000:1: one 1 MiB chunk of input inflates to most of the gigabyte.
# Usage: bench/zip/window_memory.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/../.."
tool=${1:-build}/bench/zip/zip_window_memory
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work/big.zip" > "$work/expected" <<'PY'
import sys, zipfile
line = b'<wpt lat="52.51234" lon="13.40321"><name>GC12345</name></wpt>\n'
piece = line * (1048576 // len(line) + 1)
size, written = 1 << 30, 0
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    with z.open("big.gpx", "w") as f:
        while written < size:
            chunk = piece[: min(len(piece), size - written)]
            f.write(chunk)
            written += len(chunk)
# The bytes each window must show: the entry repeats the line from offset 0.
for start in (0, size - 16):
    window = bytes(line[(start + i) % len(line)] for i in range(16))
    print("window:", " ".join("%02x" % b for b in window))
PY
ls -l "$work/big.zip" | awk '{print "archive: " $5 " bytes, entry: 1073741824 bytes"}'
measure() {
  local label=$1
  shift
  /usr/bin/time -f "$label: %e s elapsed, %M KiB max RSS" "$@" > "$work/out" 2> "$work/err" || {
    cat "$work/err"; exit 1; }
  { grep -v '^peak RSS' "$work/out" || true; } | sed "s|^|$label: |"
  tail -1 "$work/err"
}
# A window read must also give the right bytes.
check_window() {
  grep -qxF "$(sed -n "$1p" "$work/expected")" "$work/out" || {
    echo "wrong window bytes"; exit 1; }
}
measure "window at 0" "$tool" window "$work/big.zip" big.gpx 0
check_window 1
measure "window at end-16" "$tool" window "$work/big.zip" big.gpx $(((1 << 30) - 16))
check_window 2
measure "whole entry, discarded" "$tool" whole "$work/big.zip" big.gpx
measure "unzip -p > /dev/null" sh -c "unzip -p '$work/big.zip' big.gpx > /dev/null"
