#!/usr/bin/env bash
# `cmake --install` puts the desktop tool where a Linux desktop finds it,
# and the installed MIME package maps "*.trk" to the tool's type.
#   install_test.sh BUILD-DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/track-analyse bin/trk share/applications/track-analyse.desktop \
         share/icons/hicolor/48x48/apps/track-analyse.png \
         share/icons/hicolor/256x256/apps/track-analyse.png \
         share/mime/packages/track-analyse.xml; do
  [ -f "$prefix/$f" ] || fail "$f not installed"
done
grep -qx "Exec=track-analyse %f" "$prefix/share/applications/track-analyse.desktop" || fail "Exec line"
grep -qx "MimeType=application/x-velocitra-track;" "$prefix/share/applications/track-analyse.desktop" ||
  fail "MimeType line"
if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/share/mime" >/dev/null 2>&1 || fail "update-mime-database refused the package"
  grep -qx "50:application/x-velocitra-track:\*.trk" "$prefix/share/mime/globs2" || fail "no glob for *.trk"
fi
echo ok
