#!/usr/bin/env bash
# Takes the screenshots of docs/: the demo track loaded from the command
# line, water, objects and ghost drawn, the window cropped from an Xvfb
# screen; then the pointer either rests on a tree of the map, so that the
# read-out tells about it (readout, the README's), or on the "water" button
# until its tooltip shows (tooltip).
#   screenshot.sh TRACK-ANALYSE MAKE-DEMO-TRACK OUT.png [readout|tooltip]
set -euo pipefail
app=$1 make_track=$2 out=$3 mode=${4:-readout}
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
start_xvfb

"$make_track" "$tmp/Lakeside.trk"
(cd "$tmp" && XDG_STATE_HOME="$tmp/state" exec "$app" Lakeside.trk) &
app_pid=$!
main=$(wait_for_window "Velocitra Track Analyse") || fail "no window"
for x in 535 595 655; do  # water, Objects, Ghost
  xdotool mousemove --window "$main" "$x" 632 click 1
  sleep 0.2
done
if [ "$mode" = tooltip ]; then
  xdotool mousemove --window "$main" 530 628
  sleep 0.2
  xdotool mousemove --window "$main" 535 632
  sleep 1.5  # FLTK shows a tooltip after a second's rest
else
  xdotool mousemove --window "$main" 871 265  # a tree east of the lake: picture (421, 255)
  sleep 0.5
fi
import -window root -crop 1000x720+10+10 +repage "$out"
echo "wrote $out"
