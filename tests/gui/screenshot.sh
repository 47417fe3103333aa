#!/usr/bin/env bash
# Takes the README's screenshot: the demo track loaded from the command
# line, water, objects and ghost drawn, the window cropped from an Xvfb screen.
#   screenshot.sh TRACK-ANALYSE MAKE-DEMO-TRACK OUT.png
set -euo pipefail
app=$1 make_track=$2 out=$3
tmp=$(mktemp -d)
xvfb_pid="" app_pid=""
trap '[ -n "$app_pid" ] && kill $app_pid 2>/dev/null; [ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null; rm -rf "$tmp"' EXIT

Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$tmp/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$tmp/display")"

"$make_track" "$tmp/Lakeside.trk"
(cd "$tmp" && exec "$app" Lakeside.trk) &
app_pid=$!
main=""
for _ in $(seq 100); do
  main=$(xdotool search --onlyvisible --name "^Velocitra Track Analyse\$" 2>/dev/null | head -n1 || true)
  [ -n "$main" ] && break
  sleep 0.05
done
[ -n "$main" ] || { echo "no window"; exit 1; }
for x in 535 595 655; do  # water, Objects, Ghost
  xdotool mousemove --window "$main" "$x" 632 click 1
  sleep 0.2
done
xdotool mousemove 1200 1000  # no hover highlight in the picture
sleep 0.3
import -window root -crop 1000x720+10+10 +repage "$out"
echo "wrote $out"
