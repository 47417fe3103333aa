#!/usr/bin/env bash
# The system's (GTK's) open dialog: a track chosen in it loads, and GTK's
# warnings (recently-used.xbel cannot be written: a fresh home folder has no
# ~/.local/share) stay off stderr. Exit 77 (skipped) when GTK, Xvfb or
# xdotool is missing; FLTK then shows its own dialog.
#   gtk_dialog_test.sh TRACK-ANALYSE MAKE-DEMO-TRACK
set -euo pipefail
app=$(realpath "$1") make_track=$(realpath "$2")
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
/sbin/ldconfig -p | grep -q 'libgtk-3\.so\.0' || { echo "SKIP: GTK 3 is not installed"; exit 77; }

tmp=$(mktemp -d)
xvfb_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$tmp/app.log" 2>/dev/null; exit 1; }

Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$tmp/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 400); do [ -s "$tmp/display" ] && break; sleep 0.05; done
[ -s "$tmp/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$tmp/display")"

wait_for_window() {  # NAME -> window id
  local id=""
  for _ in $(seq 400); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}

mkdir -p "$tmp/home" "$tmp/tracks"
"$make_track" "$tmp/tracks/lake.trk"
env -u TRACK_ANALYSE_FILE_CHOOSER HOME="$tmp/home" XDG_STATE_HOME="$tmp/state" \
  XDG_DATA_HOME="$tmp/home/.local/share" "$app" >"$tmp/app.log" 2>&1 &
app_pid=$!
main=$(wait_for_window "Velocitra Track Analyse") || fail "no main window"
xdotool mousemove --window "$main" 475 632 click 1  # load
dialog=$(wait_for_window "Select Track") || fail "no open dialog"
sleep 0.5  # GTK takes typing only once its dialog is realised
xdotool windowfocus --sync "$dialog"
xdotool type --delay 30 "$tmp/tracks/lake.trk"
sleep 0.3
xdotool key Return
for _ in $(seq 200); do
  [ -f "$tmp/state/track-analyse/last-track-folder" ] && break
  sleep 0.05
done
[ "$(cat "$tmp/state/track-analyse/last-track-folder" 2>/dev/null)" = "$tmp/tracks/" ] ||
  fail "the chosen track was not loaded"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
if [ -s "$tmp/app.log" ]; then fail "stderr is not quiet"; fi
echo ok
