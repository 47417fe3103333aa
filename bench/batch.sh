#!/usr/bin/env bash
# A batch of demo tracks with water, objects and ghost to JPEG:
#  - CPU time per track of `trk render -j 1` against the floor, bare libjpeg
#    compressing the same 512 x 560 rows at quality 70 in one process
#    (jpeg_floor, built with -DTA_BENCH=ON);
#  - throughput of -j 2 against -j 1, beside what the machine itself gives:
#    two floors side by side against one;
#  - peak memory (/usr/bin/time -v) of a 10,000-track batch against a
#    100-track one.
# Tracks are made by trackgen into /tmp once and kept there (making 1,000
# takes minutes); the 10,000 are the 1,000 named ten times over, in ten
# folders of hard links.
# Each figure is the median of ROUNDS runs (default 3).
#   [ROUNDS=N] bench/batch.sh [BUILD_DIR] [TRACKS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
count=${2:-1000}
trk=$build/trk
work=$(mktemp -d /tmp/ta-bench-batch-XXXXXX)
trap 'rm -rf "$work"' EXIT

. bench/demo-tracks.sh
tracks=$(demo_tracks "$build" "$count")

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

# Every run writes into a folder of its own and nothing is deleted before the
# end: ext4 makes a file created soon after many were deleted pay for a search
# past their inodes, which would be counted against whichever ran second.
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
rounds=${ROUNDS:-3}
for r in $(seq 1 "$rounds"); do
  cpu "$trk" render "$tracks" --water --objects --ghost -d "$work/out-$r" -j 1 >>"$work/one"
  "$build/bench/jpeg_floor" "$work/png" "$work/floor-$r" 1 |
    sed -E 's/.*: ([0-9.]+) ms CPU.*/\1/' >>"$work/floor"
done
one=$(median <"$work/one")
floorCpu=$(median <"$work/floor")
echo "trk render -j 1: $(echo "1000 * $one / $count" | bc -l | xargs printf '%.3f') ms CPU per track (median of $rounds)"
echo "floor (bare libjpeg): $floorCpu ms CPU per picture (median of $rounds)"
echo "ratio: $(echo "1000 * $one / $count / $floorCpu" | bc -l | xargs printf '%.2f')"

# Two floors at once, each on half the pictures: the most two cores give
# here. A floor's own figure is its compression alone (without reading the
# pictures), in wall time per picture; two at once give twice the pictures.
floorWall() { sed -E 's/.*CPU, ([0-9.]+) ms wall.*/\1/'; }
floors() {
  local pictures half
  pictures=("$work"/png/*.png)
  half=$(( ${#pictures[@]} / 2 ))
  mkdir -p "$work/half-a-$1" "$work/half-b-$1"
  ln -f "${pictures[@]:0:half}" "$work/half-a-$1/"
  ln -f "${pictures[@]:half}" "$work/half-b-$1/"
  # Both read their pictures first and start compressing at the same moment.
  local start
  start=$(echo "$(date +%s.%N) + 5" | bc -l)
  "$build/bench/jpeg_floor" "$work/half-a-$1" "$work/floor-a-$1" 2 "$start" | floorWall >"$work/a" &
  "$build/bench/jpeg_floor" "$work/half-b-$1" "$work/floor-b-$1" 2 "$start" | floorWall >"$work/b"
  wait
  echo "($(cat "$work/a") + $(cat "$work/b")) / 4" | bc -l
}
render() { "$trk" render "$tracks" --water --objects --ghost -d "$work/wall-$RANDOM$RANDOM" "$@"; }
for r in $(seq 1 "$rounds"); do
  wall render -j 1 >>"$work/wall1"
  wall render -j 2 >>"$work/wall2"
  "$build/bench/jpeg_floor" "$work/png" "$work/wall-floor-$r" 2 | floorWall >>"$work/floor1"
  floors "$r" >>"$work/floor2"
done
w1=$(median <"$work/wall1")
w2=$(median <"$work/wall2")
# Under other load the wall times say little; see the load average printed.
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
echo "wall: -j 1 $(printf '%.2f' "$w1") s, -j 2 $(printf '%.2f' "$w2") s, throughput x$(echo "$w1 / $w2" | bc -l | xargs printf '%.2f') (medians of $rounds)"
f1=$(median <"$work/floor1")
f2=$(median <"$work/floor2")
echo "the machine: one floor $(printf '%.3f' "$f1") ms a picture, two side by side $(printf '%.3f' "$f2") ms, throughput x$(echo "$f1 / $f2" | bc -l | xargs printf '%.2f')"

mkdir -p "$work/small" "$work/large"
files=("$tracks"/*.trk)
ln "${files[@]:0:100}" "$work/small/"
for k in $(seq 0 9); do mkdir -p "$work/large/$k" && ln "$tracks"/*.trk "$work/large/$k/"; done
peak() {
  /usr/bin/time -v -o "$work/time" "$trk" render "$1" -r --water --objects --ghost -j 1 -d "$work/peak-$RANDOM$RANDOM" >/dev/null 2>&1
  awk -F': ' '/Maximum resident/ { print $2 }' "$work/time"
}
small=$(peak "$work/small")
large=$(peak "$work/large")
echo "peak memory: 100 tracks ${small} KB, $((count * 10)) tracks ${large} KB, ratio $(echo "$large / $small" | bc -l | xargs printf '%.3f')"
