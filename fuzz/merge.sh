#!/usr/bin/env bash
# Rebuilds the committed regression corpus of each target: libFuzzer's merge
# keeps a small set of inputs that reaches every edge of the fuzz runs
# (fuzz-out/<target>), the seeds and the corpus before (edges only: with hit
# counts as well the corpus grew ten times larger); then the hang-guard seeds
# are added whole, since they are there for their time, not for coverage.
# Inputs over 64 KiB are left out to keep the corpus small.
#   fuzz/merge.sh [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz/build.sh
build/fuzz/fuzz/make_seeds fuzz/seeds
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(cd build/fuzz/fuzz && ls fuzz_* | grep -v '\.'))
for target in "${targets[@]}"; do
  old=$(mktemp -d)
  mkdir -p "fuzz/corpus/$target"
  cp -a "fuzz/corpus/$target/." "$old/"
  rm -rf "fuzz/corpus/$target"
  mkdir -p "fuzz/corpus/$target"
  sources=("$old")
  for dir in "fuzz-out/$target" "fuzz/seeds/$target"; do
    [ -d "$dir" ] && sources+=("$dir")
  done
  build/fuzz/fuzz/$target -merge=1 -use_counters=0 -max_len=65536 -timeout=1 -rss_limit_mb=2048 \
    "fuzz/corpus/$target" "${sources[@]}" >"build/fuzz/$target.merge.log" 2>&1
  find "fuzz/corpus/$target" -type f -size +64k -delete
  if [ -d "fuzz/seeds/$target" ]; then
    find "fuzz/seeds/$target" -name 'hang_*' -size -64k -exec cp {} "fuzz/corpus/$target/" \;
  fi
  rm -rf "$old"
  echo "$target: $(ls "fuzz/corpus/$target" | wc -l) inputs, $(du -sh "fuzz/corpus/$target" | cut -f1)"
done
