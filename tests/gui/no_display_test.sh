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

# --help and --version need no display: stdout, exit 0. A usage error says
# what was wrong and how to call the tool, on stderr, exit 1.
for option in --help --version; do
  out=$(env -u DISPLAY "$app" "$option" 2>/dev/null); rc=$?
  if [ "$rc" -ne 0 ] || ! grep -q "track-analyse" <<<"$out"; then
    echo "$option: exit $rc, output: $out"
    fail=1
  fi
done
for arguments in "--bogus" "one.trk two.trk"; do
  out=$(env -u DISPLAY "$app" $arguments 2>&1 >/dev/null); rc=$?
  if [ "$rc" -ne 1 ] || ! grep -q "^Usage: track-analyse" <<<"$out"; then
    echo "$arguments: exit $rc, output: $out"
    fail=1
  fi
done
exit $fail
