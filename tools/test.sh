#!/usr/bin/env bash
# Installs what is missing, builds from scratch and runs every test: the
# normal build (warnings as errors, the desktop tests under Xvfb, the fuzz
# corpus and kept crashes replayed), static analysis over it, then the whole
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer. The
# libFuzzer build (fuzz/replay.sh) would replay the same inputs under the
# sanitizers a third time: it is left to whoever fuzzes.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --test
jobs=$(nproc)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTA_WERROR=ON -DTA_TESTS=ON
cmake --build build/release -j"$jobs"
ctest --test-dir build/release --output-on-failure -j"$jobs"
tools/analyse.sh build/release

cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTA_SANITIZE=ON -DTA_GUI=OFF
cmake --build build/sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

