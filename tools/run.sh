#!/usr/bin/env bash
# Installs what building and running need, builds, and runs the tool on a
# demo track: the desktop window when there is a display, the command line
# when there is none. Without the tests, which need more packages
# (tools/test.sh adds them); configured as tools/test.sh configures the same
# folder, so that it later builds only the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTA_WERROR=ON \
  -DTA_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)"

track=$(ls samples/*.trk | head -n 1)
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/release/track-analyse ]; then
  exec build/release/track-analyse "$track"
fi

echo "No display here, so this is the command-line tool (trk) on $track."
echo "For the window, run this again on a desktop, or under Xvfb: xvfb-run -a tools/run.sh"
echo
build/release/trk info "$track"
out=$(basename "$track" .trk).png
build/release/trk render "$track" --water --objects --ghost -o "$out"
echo
echo "Picture with water, objects and ghost written to $out"
