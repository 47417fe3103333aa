#!/usr/bin/env bash
# Fuzzes each target for the given number of seconds (default 60), starting
# from the committed corpus plus generated seeds; new inputs go to
# fuzz-out/<target>, findings to fuzz-out/<target>-crashes.
#   fuzz/run.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
fuzz/build.sh
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(cd build/fuzz/fuzz && ls fuzz_* | grep -v '\.'))
for target in "${targets[@]}"; do
  work=fuzz-out/$target
  mkdir -p "$work" "$work-crashes" "fuzz/corpus/$target"
  extra=()
  [ -d "fuzz/seeds/$target" ] && extra+=("fuzz/seeds/$target")
  echo "== $target for ${seconds}s"
  build/fuzz/fuzz/$target "$work" "fuzz/corpus/$target" "${extra[@]}" \
    -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -max_len=40000 \
    -artifact_prefix="$work-crashes/" -print_final_stats=1 2>&1 | tail -n 25
done
