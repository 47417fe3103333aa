#!/usr/bin/env bash
# The real track-analyse on its own Xvfb, driven with xdotool as a person
# would: load a demo track through the open dialog, press "water", save
# through the save dialog (opened with Ctrl+S), close the window, and check
# the JPEG, the exit code and the remembered track folder; then Ctrl+Q. Exit 77 (skipped) only when Xvfb or xdotool is missing.
#   end_to_end_test.sh TRACK-ANALYSE MAKE-DEMO-TRACK SOURCE-DIR [SEND-CLOSE]
set -euo pipefail
app=$(realpath "$1") make_track=$(realpath "$2") source_dir=$(realpath "$3")
send_close=$(realpath "${4:-$(dirname "$make_track")/send_close_request}")

# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
need_tools Xvfb xdotool identify convert
start_xvfb

# The track lies in the working folder, where the first open dialog starts:
# FLTK's chooser then takes the bare name (typing a whole path races with
# its completion). A committed sample when there is one, else our demo.
mkdir -p "$tmp/work"
sample=$(ls "$source_dir"/samples/*.trk 2>/dev/null | head -n1 || true)
if [ -n "$sample" ]; then
  cp "$sample" "$tmp/work/"
  track_name=$(basename "$sample")
else
  track_name=Lakeside.trk
  "$make_track" "$tmp/work/$track_name"
fi

click() {  # WINDOW X Y
  xdotool mousemove --window "$1" "$2" "$3" click 1
}
# Types into the focused field of a dialog, replacing what it holds (or
# keeping the offered text when TEXT is empty), then Enter.
answer_dialog() {  # WINDOW TEXT
  xdotool windowfocus --sync "$1"
  if [ -n "$2" ]; then
    xdotool key --clearmodifiers End shift+Home BackSpace
    xdotool type --delay 20 -- "$2"
  fi
  xdotool key Return
}

cd "$tmp/work"
export XDG_STATE_HOME=$tmp/state
TRACK_ANALYSE_FILE_CHOOSER=fltk "$app" >"$tmp/app.log" 2>&1 &
app_pid=$!
main=$(wait_for_window "Velocitra Track Analyse") || fail "no main window"

click "$main" 475 632  # load
dialog=$(wait_for_window "Select Track") || fail "no open dialog"
answer_dialog "$dialog" "$track_name"
wait_gone "Select Track" || fail "open dialog stayed open"

click "$main" 535 632  # water
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+s  # save
dialog=$(wait_for_window "Save Image") || fail "no save dialog"
answer_dialog "$dialog" ""  # the offered name: the picture's name in the working folder
wait_gone "Save Image" || fail "save dialog stayed open"

"$send_close" "$main" || fail "could not send the close request"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "exit code $status"

shopt -s nullglob
jpegs=("$tmp"/work/*.jpg)
[ "${#jpegs[@]}" -eq 1 ] || fail "expected one JPEG in the working folder, found: $(ls "$tmp/work")"
format=$(identify -format "%m %w %h" "${jpegs[0]}")
[ "$format" = "JPEG 512 560" ] || fail "written picture is '$format'"
if [ -z "$sample" ]; then
  # The demo's lake, in the middle of the map, is blue only with the water drawn.
  pixel=$(convert "${jpegs[0]}" -crop 1x1+256+255 -depth 8 txt:- | tail -n1 | grep -o '([0-9,]*)' | tr -d '()')
  IFS=, read -r red green blue <<<"$pixel"
  [ "$blue" -gt $((red + 100)) ] && [ "$blue" -gt $((green + 100)) ] || fail "no water at the lake: $pixel"
fi
remembered=$(cat "$tmp/state/track-analyse/last-track-folder" 2>/dev/null || true)
[ "$remembered" = "$tmp/work/" ] || fail "remembered folder is '$remembered'"

# Ctrl+Q closes the window as the close box does.
"$app" >"$tmp/app.log" 2>&1 &
app_pid=$!
main=$(wait_for_window "Velocitra Track Analyse") || fail "no main window the second time"
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+q
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "exit code $status after Ctrl+Q"
echo "ok: $(basename "${jpegs[0]}") $format"
