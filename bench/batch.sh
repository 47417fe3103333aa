#!/usr/bin/env bash
# A batch of demo tracks with all three overlays to JPEG:
#  - CPU time per track of `trk render -j 1` against the floor, bare libjpeg
#    compressing the same 512 x 560 rows at quality 70 in one process
#    (jpeg_floor, built with -DTA_BENCH=ON);
#  - throughput of -j 2 against -j 1;
#  - peak memory (/usr/bin/time -v) of a 10,000-track batch against a
#    100-track one.
# Tracks are made by trackgen into /tmp once and kept there (making 1,000
# takes minutes); the 10,000 are the 1,000 named ten times over, in ten
# folders of hard links.
#   bench/batch.sh [BUILD_DIR] [TRACKS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
count=${2:-1000}
trk=$build/trk
tracks=/tmp/ta-bench-tracks-$count
work=$(mktemp -d /tmp/ta-bench-batch-XXXXXX)
trap 'rm -rf "$work"' EXIT

if [ ! -f "$tracks/.complete" ]; then
  mkdir -p "$tracks"
  for i in $(seq 1 "$count"); do
    "$build/trackgen" --seed "$i" --name "demo$i" -o "$tracks/demo$i.trk" 2>/dev/null
  done
  touch "$tracks/.complete"
fi

cpu() {  # user + system seconds of a command, from GNU time
  /usr/bin/time -f "%U %S" -o "$work/time" "$@" >/dev/null 2>&1
  awk '{ print $1 + $2 }' "$work/time"
}
wall() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

"$trk" render "$tracks" --water --objects --ghost --format png -d "$work/png" 2>/dev/null || true

render() { rm -rf "$work/out"; "$trk" render "$tracks" --water --objects --ghost -d "$work/out" "$@"; }
rm -rf "$work/out"
one=$(cpu "$trk" render "$tracks" --water --objects --ghost -d "$work/out" -j 1)
floor=$("$build/bench/jpeg_floor" "$work/png" "$work/floor" 1)
floorCpu=$(echo "$floor" | sed -E 's/.*: ([0-9.]+) ms CPU.*/\1/')
echo "trk render -j 1: $(echo "1000 * $one / $count" | bc -l | xargs printf '%.3f') ms CPU per track"
echo "floor (bare libjpeg): $floor"
echo "ratio: $(echo "1000 * $one / $count / $floorCpu" | bc -l | xargs printf '%.2f')"

w1=$(wall render -j 1)
w2=$(wall render -j 2)
# Under other load the wall times say little; see the load average printed.
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
echo "wall: -j 1 $(printf '%.2f' "$w1") s, -j 2 $(printf '%.2f' "$w2") s, throughput x$(echo "$w1 / $w2" | bc -l | xargs printf '%.2f')"

mkdir -p "$work/small" "$work/large"
files=("$tracks"/*.trk)
ln "${files[@]:0:100}" "$work/small/"
for k in $(seq 0 9); do mkdir -p "$work/large/$k" && ln "$tracks"/*.trk "$work/large/$k/"; done
peak() {
  rm -rf "$work/out"
  /usr/bin/time -v -o "$work/time" "$trk" render "$1" -r --water --objects --ghost -j 1 -d "$work/out" >/dev/null 2>&1
  awk -F': ' '/Maximum resident/ { print $2 }' "$work/time"
}
small=$(peak "$work/small")
large=$(peak "$work/large")
echo "peak memory: 100 tracks ${small} KB, $((count * 10)) tracks ${large} KB, ratio $(echo "$large / $small" | bc -l | xargs printf '%.3f')"
