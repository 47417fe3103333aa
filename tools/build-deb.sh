#!/usr/bin/env bash
# Builds the Debian package dist/track-analyse_<version>_amd64.deb: both
# programs linked against Debian's shared libraries (so that their security
# updates reach it), built with Debian's hardening flags, their Depends worked
# out by dpkg-shlibdeps. lintian must then report no error and no warning that
# packaging/debian/lintian-overrides does not explain.
#   tools/build-deb.sh
# Installs what it needs (as root, or with sudo), as tools/install-deps.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/install-deps.sh dpkg-dev file lintian

build=build/deb
# The flags Debian builds its own packages with: fortified string functions,
# stack protector, read-only relocations bound at start.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CFLAGS CXXFLAGS LDFLAGS
# The flags are read when a build folder is first configured.
rm -f "$build/CMakeCache.txt"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DTA_DEBIAN_PACKAGE=ON -DTA_STATIC_TRK=OFF -DTA_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/track-analyse_*.deb
(cd "$build" && cpack -G DEB >cpack.log) || { cat "$build/cpack.log"; exit 1; }

deb=$(ls "$build"/track-analyse_*_amd64.deb)
version=$("$build/trk" --version | cut -d' ' -f2)
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
  { echo "build-deb: the package's version is not trk's ($version)" >&2; exit 1; }
mkdir -p dist
rm -f dist/track-analyse_*_amd64.deb
cp "$deb" dist/
deb=dist/$(basename "$deb")

echo "lintian:"
lintian --fail-on error,warning --display-info "$deb" 2>&1 |
  { grep -v "running with root privileges is not recommended" || true; } | sed 's/^/  /'
echo "$deb: $(du -k "$deb" | cut -f1) KB, depends on: $(dpkg-deb -f "$deb" Depends)"
