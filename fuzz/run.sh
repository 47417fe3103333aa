#!/usr/bin/env bash
# Fuzzes each target for the given number of seconds (default 60), starting
# from the committed corpus plus the seeds that make_seeds writes to
# fuzz/seeds/; new inputs go to fuzz-out/<target>, findings to
# fuzz-out/<target>-crashes, the whole log to fuzz-out/<target>.log.
#   fuzz/run.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
fuzz/build.sh
build/fuzz/fuzz/make_seeds fuzz/seeds
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(cd build/fuzz/fuzz && ls fuzz_* | grep -v '\.'))
# Whole demo tracks (35 to 41 KB) fit, and so do about 8,000 object records.
for target in "${targets[@]}"; do
  work=fuzz-out/$target
  mkdir -p "$work" "$work-crashes" "fuzz/corpus/$target"
  extra=()
  [ -d "fuzz/seeds/$target" ] && extra+=("fuzz/seeds/$target")
  echo "== $target for ${seconds}s"
  build/fuzz/fuzz/$target "$work" "fuzz/corpus/$target" "${extra[@]}" \
    -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix="$work-crashes/" -print_final_stats=1 >"$work.log" 2>&1 || true
  tail -n 25 "$work.log"
done
