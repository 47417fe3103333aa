#!/usr/bin/env bash
# Cross-builds the tool for 64-bit Windows with Debian's mingw-w64 and packs
# dist/track-analyse-windows.zip (track-analyse.exe, trk.exe, a read-me).
#   tools/build-windows.sh           the build and the zip
#   tools/build-windows.sh --test    and then the tests under Wine, against
#                                    the Linux build (tools/wine-check.sh)
# Installs what it needs (as root, or with sudo), as tools/install-deps.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."
test_too=0
[ "${1:-}" = "--test" ] && test_too=1

packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build googletest
  libcli11-dev nlohmann-json3-dev libstb-dev zip)
[ "$test_too" = 1 ] && packages+=(wine wine64 xvfb xauth imagemagick)
tools/install-deps.sh "${packages[@]}"

jobs=$(nproc)
build=build-windows
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DTA_TESTS="$([ "$test_too" = 1 ] && echo ON || echo OFF)" >/dev/null
cmake --build "$build" -j"$jobs"

# Nothing but Windows' own DLLs may be needed.
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|msvcrt)\.dll$'
for exe in track-analyse trk; do
  x86_64-w64-mingw32-objdump -p "$build/$exe.exe" | sed -n 's/^\s*DLL Name: //p' | while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
      echo "build-windows: $exe.exe needs $dll, which Windows does not carry" >&2
      exit 1
    fi
  done
done

mkdir -p dist
stage="$build/dist/track-analyse"
rm -rf "$build/dist" dist/track-analyse-windows.zip
mkdir -p "$stage"
for exe in track-analyse trk; do
  x86_64-w64-mingw32-strip -o "$stage/$exe.exe" "$build/$exe.exe"
done
# Windows' Notepad before 2018 wants CRLF.
sed 's/$/\r/' docs/windows-readme.txt >"$stage/README.txt"
(cd "$build/dist" && zip -q -r -X ../../dist/track-analyse-windows.zip track-analyse)
echo "dist/track-analyse-windows.zip: $(du -k dist/track-analyse-windows.zip | cut -f1) KB"

if [ "$test_too" = 1 ]; then
  if [ ! -x build/release/trk ]; then
    tools/install-deps.sh
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build/release -j"$jobs" --target trk trackgen
  fi
  tools/wine-check.sh build/release "$build"
fi
