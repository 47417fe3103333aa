# Sourced by the desktop tests' scripts (and screenshot.sh): a temporary
# folder $tmp removed on exit, with the program under test (app_pid) and the
# Xvfb ended first; skips for missing tools; an Xvfb of the script's own;
# waits for windows; a staging prefix for `cmake --install`.
# shellcheck shell=bash

tmp=$(mktemp -d)
xvfb_pid="" app_pid=""
harness_cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap harness_cleanup EXIT

# fail WHY...: the reason, then what the screen shows and what the program
# printed (kept in $tmp/app.log), and exit 1.
fail() {
  echo "FAIL: $*"
  if [ -n "$xvfb_pid" ]; then
    echo "visible windows:"
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
      echo "  $(xdotool getwindowname "$w")"
    done
  fi
  if [ -f "$tmp/app.log" ]; then cat "$tmp/app.log"; fi
  exit 1
}

need_tools() {  # TOOL...: exit 77 (skipped) naming the first one missing
  for tool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}

# Exports DISPLAY. -displayfd: Xvfb picks a free display itself, so parallel
# runs never meet.
start_xvfb() {
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$tmp/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 400); do [ -s "$tmp/display" ] && break; sleep 0.05; done
  [ -s "$tmp/display" ] || fail "Xvfb did not start"
  DISPLAY=":$(head -n1 "$tmp/display")"
  export DISPLAY
}

wait_for_window() {  # TITLE -> the id of a visible window of exactly that title
  local id=""
  for _ in $(seq 400); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}

wait_gone() {  # TITLE: until no visible window has it
  for _ in $(seq 400); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  return 1
}

# install_staged BUILD-DIR: `cmake --install` into $prefix (in $tmp), with
# $share its share folder.
install_staged() {
  prefix=$tmp/prefix
  # shellcheck disable=SC2034 # for the scripts that source this
  share=$prefix/share
  cmake --install "$1" --prefix "$prefix" >/dev/null
}
