#!/usr/bin/env bash
# Without a display the desktop tool says so in one line, points to trk,
# and exits 1, whether DISPLAY is unset or names no reachable server.
set -u
app=$1
fail=0
for display in unset ":4711"; do
  if [ "$display" = unset ]; then
    out=$(env -u DISPLAY "$app" 2>&1); rc=$?
  else
    out=$(DISPLAY=$display "$app" 2>&1); rc=$?
  fi
  lines=$(printf '%s\n' "$out" | wc -l)
  if [ "$rc" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -q "no display" <<<"$out" || ! grep -q "trk" <<<"$out"; then
    echo "DISPLAY=$display: exit $rc, output: $out"
    fail=1
  fi
done
exit $fail
