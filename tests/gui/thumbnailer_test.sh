#!/usr/bin/env bash
# The installed thumbnailer entry, run as a file manager runs it: %i the
# track, %o the PNG to write, %s the largest side in pixels.
#   thumbnailer_test.sh BUILD-DIR MAKE-DEMO-TRACK
set -euo pipefail
build=$1
make_demo=$2
# shellcheck source-path=SCRIPTDIR source=harness.sh
source "$(dirname "$0")/harness.sh"
install_staged "$build"

entry=$share/thumbnailers/track-analyse.thumbnailer
[ -f "$entry" ] || fail "no thumbnailer entry installed"
grep -qx "MimeType=application/x-velocitra-track;" "$entry" || fail "MimeType line"
if ! "$prefix/bin/trk" render --help | grep -q -- "--size"; then
  echo "SKIP: trk render has no --size yet"
  exit 77
fi

# A track named as file managers hand them over: a path with a blank.
mkdir -p "$prefix/my tracks"
track="$prefix/my tracks/lakeside.trk"
"$make_demo" "$track" >/dev/null
for size in 128 256; do
  out=$prefix/thumb-$size.png
  PATH="$prefix/bin:$PATH" "$(dirname "$0")/../../tools/run-thumbnailer.sh" "$entry" "$track" "$out" "$size" ||
    fail "Exec line failed for size $size"
  [ "$(identify -format '%m' "$out")" = "PNG" ] || fail "no PNG at size $size"
  read -r width height <<<"$(identify -format '%w %h' "$out")"
  [ "$width" -le "$size" ] && [ "$height" -le "$size" ] || fail "${width}x$height exceeds $size"
  [ "$width" -eq "$size" ] || [ "$height" -eq "$size" ] || fail "${width}x$height does not reach $size"
done
echo ok
