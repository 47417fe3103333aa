#!/usr/bin/env bash
# The system's (GTK's) open dialog: it is GTK's and not FLTK's own, a track
# chosen in it loads, and GTK's warnings (recently-used.xbel cannot be
# written: a fresh home folder has no ~/.local/share) stay off stderr. Exit 77
# (skipped) when Xvfb or xdotool is missing, or GTK 2: Debian 12's FLTK
# drives only GTK 2's dialog, and without it shows its own, which is then
# checked to open without a word on stderr before the test skips.
#   gtk_dialog_test.sh TRACK-ANALYSE MAKE-DEMO-TRACK
set -euo pipefail
app=$(realpath "$1") make_track=$(realpath "$2")
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
need_tools Xvfb xdotool
gtk2=yes
/sbin/ldconfig -p | grep -q 'libgtk-x11-2\.0\.so\.0' || gtk2=""
start_xvfb

mkdir -p "$tmp/home" "$tmp/tracks"
"$make_track" "$tmp/tracks/lake.trk"
env -u TRACK_ANALYSE_FILE_CHOOSER HOME="$tmp/home" XDG_STATE_HOME="$tmp/state" \
  XDG_DATA_HOME="$tmp/home/.local/share" "$app" >"$tmp/app.log" 2>&1 &
app_pid=$!
quit_quietly() {
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  if [ -s "$tmp/app.log" ]; then fail "stderr is not quiet"; fi
}
main=$(wait_for_window "Velocitra Track Analyse") || fail "no main window"
xdotool mousemove --window "$main" 475 632 click 1  # load
dialog=$(wait_for_window "Select Track") || fail "no open dialog"
if [ -z "$gtk2" ]; then
  quit_quietly
  echo "SKIP: GTK 2 is not installed; FLTK's own dialog opened, stderr quiet"
  exit 77
fi
grep -q 'libgtk-x11-2\.0\.so' "/proc/$app_pid/maps" || fail "the open dialog is FLTK's own, not GTK's"
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
quit_quietly
echo ok
