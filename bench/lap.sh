#!/usr/bin/env bash
# The lap commands as whole processes, each beside the command it is held
# to, run alternately (so that both see the same machine load) and compared
# by their median wall times:
#   trk lap TRACK                      against  trk info TRACK
#   trk compare A B -o chart.png       against  trk render A -o out.jpg
#   bench/lap.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-50}
work=$(mktemp -d /tmp/ta-bench-lap-XXXXXX)
trap 'rm -rf "$work"' EXIT

python3 - "$build/trk" samples/lakeside.trk samples/lakeside-rival.trk "$work" "$runs" <<'PY'
import os, statistics, subprocess, sys, time
trk, a, b, work, runs = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5])
pairs = [
    ("trk lap", [trk, "lap", a], "trk info", [trk, "info", a]),
    ("trk compare -o PNG", [trk, "compare", a, b, "-o", work + "/chart.png"],
     "trk render -o JPEG", [trk, "render", a, "-o", work + "/out.jpg"]),
]
# Each output is removed before its run, outside the timing: replacing a
# file flushes the new one to disk first, which would time the disk.
def once(command):
    if command[-2] == "-o" and os.path.exists(command[-1]):
        os.remove(command[-1])
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - start
for name, command, base_name, base in pairs:
    once(command), once(base)  # warm caches, and the font cache
    times, bases = [], []
    for _ in range(runs):
        times.append(once(command))
        bases.append(once(base))
    t, u = statistics.median(times), statistics.median(bases)
    print(f"{name}: {t * 1000:.2f} ms, {base_name}: {u * 1000:.2f} ms, {t / u:.2f} x")
PY
