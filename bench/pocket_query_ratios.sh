#!/usr/bin/env bash
# Times the analysis road on a 60,000-find "My Finds" pocket query against the shell tools a
# user compares it with, side by side in one run, and prints the ratios with their targets.
#   bench/pocket_query_ratios.sh [ROUNDS]       (build in $KALVERO_BUILD_DIR, default build/)
# Every pair is timed in alternation, ROUNDS times (default 5); the medians are compared.
# Needs grep, unzip, 7z (p7zip-full) and GNU time; the build must include the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${KALVERO_BUILD_DIR:-build}")
rounds=${1:-5}
for tool in "$build/tools/kalvero-stats" "$build/tools/kalvero-zip" \
            "$build/bench/zip/zip_extract_bench" "$build/bench/app/window_open_bench"; do
    [[ -x $tool ]] || { echo "missing $tool (build with the benchmarks)" >&2; exit 2; }
done
for tool in unzip 7z /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 examples/make_pocket_query.py --finds 60000 --out "$work/MyFinds.gpx" --zip "$work/MyFinds.zip"
# Both files are read once, so every command below finds them in the page cache.
cat "$work/MyFinds.gpx" "$work/MyFinds.zip" >/dev/null

export QT_QPA_PLATFORM=offscreen
export BUILD="$build" WORK="$work" ROUNDS="$rounds"
python3 - <<'PY'
import json, os, statistics, subprocess, time

build, work, rounds = os.environ["BUILD"], os.environ["WORK"], int(os.environ["ROUNDS"])
gpx, zipf = f"{work}/MyFinds.gpx", f"{work}/MyFinds.zip"
stats, kzip = f"{build}/tools/kalvero-stats", f"{build}/tools/kalvero-zip"
tag = "'<groundspeak:date>'"
gpx_size = os.path.getsize(gpx)

def run(cmd):
    start = time.perf_counter()
    out = subprocess.run(["bash", "-c", cmd], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    took = time.perf_counter() - start
    if out.returncode != 0:
        raise SystemExit(f"failed ({out.returncode}): {cmd}\n{out.stderr.decode()}")
    return took, out.stdout.decode()

def medians(cmds):
    """Runs the commands in alternation; the median seconds of each, and each one's output."""
    times = {k: [] for k in cmds}
    outputs = {}
    for _ in range(rounds):
        for k, cmd in cmds.items():
            took, outputs[k] = run(cmd)
            times[k].append(took)
    return {k: statistics.median(v) for k, v in times.items()}, outputs

rows = []
def row(what, ours, peer, ratio, target, goal=None):
    met = ratio <= target
    rows.append((what, ours, peer, f"{ratio:.2f}", f"<= {target}" + (f" (goal {goal})" if goal else ""),
                 "met" if met else "NOT MET"))

print(f"pocket query: 60000 finds, GPX {gpx_size / 1e6:.1f} MB, ZIP {os.path.getsize(zipf) / 1e6:.1f} MB;"
      f" {rounds} rounds, medians")

t, out = medians({"stats": f"{stats} --json {gpx} >/dev/null", "grep": f"grep -c {tag} {gpx}"})
finds = json.loads(run(f"{stats} --json {gpx}")[1])["finds"]
print(f"finds counted: kalvero-stats {finds}, grep -c {out['grep'].strip()} date lines")
row("kalvero-stats GPX / grep -c", f"{t['stats']:.3f} s", f"{t['grep']:.3f} s", t["stats"] / t["grep"], 3, 2)

t, _ = medians({"stats": f"{stats} --json {zipf} >/dev/null",
                "pipe": f"unzip -p {zipf} | grep -c {tag}"})
row("kalvero-stats ZIP / unzip -p | grep -c", f"{t['stats']:.3f} s", f"{t['pipe']:.3f} s",
    t["stats"] / t["pipe"], 0.8, 0.5)
stats_zip_seconds = t["stats"]

for name, path in (("GPX", gpx), ("ZIP", zipf)):
    rss = [int(run(f"/usr/bin/time -f %M {stats} --json {path} 2>&1 >/dev/null | tail -1")[1]) * 1024
           for _ in range(3)]
    peak = max(rss)
    row(f"kalvero-stats {name} peak RSS / GPX size", f"{peak / 1e6:.0f} MB", f"{gpx_size / 1e6:.0f} MB",
        peak / gpx_size, 1.15)

entry = "MyFinds.gpx"
extractors = {"cat": f"{kzip} cat {zipf} {entry}", "7z": f"7z e -so {zipf} {entry}",
              "unzip": f"unzip -p {zipf} {entry}"}
# Checked once, outside the timing: the three programs give the bytes of the GPX file.
sums = {k: run(f"set -o pipefail; {cmd} | md5sum")[1] for k, cmd in extractors.items()}
sums["GPX file"] = run(f"md5sum <{gpx}")[1]
if len(set(sums.values())) != 1:
    raise SystemExit(f"the entry's bytes differ: {sums}")
# Timed as a user's pipeline reads them: into a pipe that cat empties (a checksum at the end
# of the pipe would mostly time the checksum); then straight into /dev/null.
for how, sink in (("| cat", "| cat >/dev/null"), (">/dev/null", ">/dev/null")):
    t, _ = medians({k: f"set -o pipefail; {cmd} {sink}" for k, cmd in extractors.items()})
    row(f"kalvero-zip cat / 7z e -so ({how})", f"{t['cat']:.3f} s", f"{t['7z']:.3f} s",
        t["cat"] / t["7z"], 0.7)
    row(f"kalvero-zip cat / unzip -p ({how})", f"{t['cat']:.3f} s", f"{t['unzip']:.3f} s",
        t["cat"] / t["unzip"], 0.5)

bench = subprocess.run(
    [f"{build}/bench/zip/zip_extract_bench", "--benchmark_format=json",
     f"--benchmark_repetitions={rounds}", "--benchmark_report_aggregates_only=true",
     "--benchmark_filter=^(BM_ExtractToStream_Deflated|BM_BareInflateAndCrc32_Raw)/"],
    stdout=subprocess.PIPE, check=True)
speed = {b["run_name"].split("/")[0]: b["bytes_per_second"] for b in json.loads(bench.stdout)["benchmarks"]
         if b.get("aggregate_name") == "median"}
ours, bare = speed["BM_ExtractToStream_Deflated"], speed["BM_BareInflateAndCrc32_Raw"]
# Speed is better when higher: the ratio shown is bare / ours, so that 1/0.95 = 1.05 is the bound.
row("bare raw inflate+crc32 / extraction (256 MiB)", f"{ours / 2**20:.0f} MiB/s", f"{bare / 2**20:.0f} MiB/s",
    bare / ours, round(1 / 0.95, 2))

window, stats_t = [], []
for _ in range(rounds):
    window.append(float(run(f"{build}/bench/app/window_open_bench {zipf}")[1].split()[0]))
    stats_t.append(run(f"{stats} --json {zipf} >/dev/null")[0])
w, s = statistics.median(window), statistics.median(stats_t)
row("window open of the ZIP / kalvero-stats ZIP", f"{w:.3f} s", f"{s:.3f} s", w / s, 1.5)

widths = [max(len(str(r[i])) for r in rows + [("", "ours", "peer", "ratio", "target", "")]) for i in range(6)]
header = ("", "ours", "peer", "ratio", "target", "")
for r in [header] + rows:
    print("  ".join(str(c).ljust(widths[i]) for i, c in enumerate(r)).rstrip())
PY
