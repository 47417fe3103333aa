#!/usr/bin/env bash
# Static analysis as errors: cppcheck over everything the release build
# compiles, clang-tidy (.clang-tidy) over src/, tools/ and fuzz/. The tests
# are left to cppcheck alone: GoogleTest's headers make each test file the
# slowest to parse, and would double clang-tidy's time.
# Usage: tools/analyse.sh [BUILD-FOLDER]   (default build/release)
#
# clang-tidy runs one file a process, as many at once as there are cores:
# its time is that of parsing each file's headers, so it scales with them.
# -Wno-sign-conversion: see the end of the notes in .clang-tidy.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
jobs=$(nproc)

cppcheck --project="$build/compile_commands.json" --library=googletest \
  --enable=warning,style,performance,portability --inline-suppr --quiet -j"$jobs" \
  --suppress='*:/usr/*' --suppressions-list=tools/cppcheck-suppressions.txt \
  --error-exitcode=1 --template='{file}:{line}: {severity}: {message} [{id}]'

python3 -c '
import json, os, sys
root = os.getcwd()
files = sorted({e["file"] for e in json.load(open(sys.argv[1]))})
mine = [f for f in files if os.path.relpath(f, root).split(os.sep)[0] in ("src", "tools", "fuzz")]
print("\n".join(mine))
' "$build/compile_commands.json" |
  xargs -P"$jobs" -n1 clang-tidy -p "$build" --quiet --extra-arg=-Wno-sign-conversion 2>/dev/null
