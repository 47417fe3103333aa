#!/usr/bin/env bash
# The gallery's speed against what it stands on:
#  - `trk gallery` of TRACKS tracks into an empty SITE against `trk render -d`
#    of the same tracks with all four overlays (water, objects, ghost, ghost speed:
#    what the gallery draws) to JPEG, at the same -j
#    (wanted: at most 3 x);
#  - a second gallery run with nothing changed against the first
#    (wanted: at most 0.2 x);
#  - an index of 10,000 tracks in headless Chromium: from the start of its
#    navigation until it is loaded, sorted by place 1's time and laid out
#    (wanted: at most 2 s; needs chromium, chromium-driver, python3-selenium).
# CPU seconds (user + system, all threads), as bench/batch.sh takes them, the
# wall time beside them; each the median of ROUNDS runs (default 3). Tracks
# are made by trackgen into /tmp once and kept there, as bench/batch.sh does.
#   [ROUNDS=N] bench/gallery.sh [BUILD_DIR] [TRACKS] [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
count=${2:-1000}
jobs=${3:-2}
trk=$build/trk
work=$(mktemp -d /tmp/ta-bench-gallery-XXXXXX)
trap 'rm -rf "$work"' EXIT

. bench/demo-tracks.sh
tracks=$(demo_tracks "$build" "$count")

# Appends "CPU WALL" of a command to the file $1.
measure() {
  local into=$1
  shift
  /usr/bin/time -f "%U %S %e" -o "$work/time" "$@" >/dev/null 2>&1 || true
  awk '{ print $1 + $2, $3 }' "$work/time" >>"$into"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

rounds=${ROUNDS:-3}
for r in $(seq 1 "$rounds"); do
  # Each run into a folder of its own: see bench/README.md on ext4.
  measure "$work/render" "$trk" render "$tracks" --water --objects --ghost --ghost-speed -d "$work/render-$r" -j "$jobs"
  measure "$work/first" "$trk" gallery "$tracks" -o "$work/site-$r" -j "$jobs"
  measure "$work/second" "$trk" gallery "$tracks" -o "$work/site-$r" -j "$jobs"
done
for run in render first second; do
  cut -d' ' -f1 "$work/$run" | median >"$work/$run.cpu"
  cut -d' ' -f2 "$work/$run" | median >"$work/$run.wall"
done
show() { printf '%6.2f s CPU %6.2f s wall' "$(cat "$work/$1.cpu")" "$(cat "$work/$1.wall")"; }
ratio() { echo "$(cat "$work/$1.cpu") / $(cat "$work/$2.cpu")" | bc -l | xargs printf '%.2f'; }
echo "$count tracks, -j $jobs, median of $rounds (load average $(cut -d' ' -f1 /proc/loadavg)):"
echo "  trk render -d, all four overlays:  $(show render)"
echo "  trk gallery into an empty SITE:    $(show first)  CPU $(ratio first render) x render (wanted <= 3)"
echo "  trk gallery, nothing changed:      $(show second)  CPU $(ratio second first) x the first (wanted <= 0.2)"

if [ ! -x "$build/tests/index_fixture" ]; then
  echo "  10,000-track index: not measured (it needs $build/tests/index_fixture)"
elif /usr/bin/python3 -c "import selenium" 2>/dev/null && command -v chromedriver >/dev/null; then
  "$build/tests/index_fixture" "$work/large" 10000
  /usr/bin/python3 - "$work/large" <<'EOF'
import os, sys, urllib.parse
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
folder = sys.argv[1]
options = webdriver.ChromeOptions()
for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--user-data-dir=" + os.path.join(folder, "profile"), "--window-size=1280,900"):
    options.add_argument(flag)
browser = webdriver.Chrome(service=Service("chromedriver"), options=options)
times = []
try:
    for _ in range(3):
        browser.get("file://" + urllib.parse.quote(os.path.realpath(folder)) + "/index.html")
        times.append(browser.execute_script("""
            document.querySelector("#tracks th:nth-child(4) button").click();
            document.body.getBoundingClientRect();
            return performance.now();""") / 1000)
finally:
    browser.quit()
print("  10,000-track index loaded and sorted: %.2f s (median of 3; wanted <= 2)"
      % sorted(times)[1])
EOF
fi
