#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer and the sanitizers into build/fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTA_FUZZ=ON -DTA_GUI=OFF -DTA_TESTS=OFF >/dev/null
cmake --build build/fuzz -j"$(nproc)" --target fuzz_targets
