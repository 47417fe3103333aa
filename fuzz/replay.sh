#!/usr/bin/env bash
# Replays the committed corpus and every input that ever crashed against the
# sanitizer build of each fuzz target. Any crash, leak or time-out fails; the
# time-out is generous because the largest inputs take near a second under the
# sanitizers on a busy machine, while a real hang never ends.
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz/build.sh
status=0
for dir in fuzz/corpus/*/ fuzz/crashes/*/; do
  [ -d "$dir" ] || continue
  target=$(basename "$dir")
  binary=build/fuzz/fuzz/$target
  [ -x "$binary" ] || { echo "no fuzz target for $dir"; status=1; continue; }
  files=("$dir"*)
  [ -e "${files[0]}" ] || continue
  echo "replaying ${#files[@]} inputs of $dir"
  if ! "$binary" -timeout=5 -rss_limit_mb=2048 "${files[@]}" >"build/fuzz/$target.replay.log" 2>&1; then
    tail -n 40 "build/fuzz/$target.replay.log"
    status=1
  fi
done
[ $status -eq 0 ] && echo "fuzz corpus replay: all inputs passed"
exit $status
