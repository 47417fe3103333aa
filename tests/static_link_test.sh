#!/bin/sh
# trk given sanitizer flags in CMAKE_CXX_FLAGS, as fuzzing services and
# distributions' hardening builds pass them, is linked so that it starts
# (dynamically); without them it stays a static PIE. Configures throwaway
# builds of the project; with TA_STATIC_LINK_BUILD=1 it also builds that trk
# and starts it.
#   static_link_test.sh SOURCE-FOLDER
set -eu
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Configures build $1 with the flags after it; prints how trk is linked.
linked() {
  name=$1
  shift
  if ! cmake -S "$source" -B "$work/$name" -G Ninja -DTA_GUI=OFF -DTA_TESTS=OFF "$@" \
    >"$work/$name.log" 2>&1; then
    cat "$work/$name.log" >&2
    exit 1
  fi
  sed -n 's/^TA_TRK_LINK:INTERNAL=//p' "$work/$name/CMakeCache.txt"
}

status=0
plain=$(linked plain)
[ "$plain" = static ] || { echo "without flags trk is linked '$plain', not static"; status=1; }
sanitized=$(linked sanitized "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined")
[ "$sanitized" = dynamic ] || { echo "with sanitizers trk is linked '$sanitized', not dynamic"; status=1; }
# The same build told the flags later keeps no answer found for others.
again=$(linked plain "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address")
[ "$again" = dynamic ] || { echo "sanitizers given later: trk is linked '$again'"; status=1; }

if [ "${TA_STATIC_LINK_BUILD:-0}" = 1 ]; then
  cmake --build "$work/sanitized" --target trk >"$work/build.log" 2>&1 || { tail -20 "$work/build.log"; exit 1; }
  "$work/sanitized/trk" --version || { echo "the sanitized trk does not start"; status=1; }
fi
exit $status
