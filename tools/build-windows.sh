#!/usr/bin/env bash
# Cross-builds the tool for 64-bit Windows with Debian's mingw-w64 and makes
# its installer with Debian's NSIS: dist/track-analyse-setup.exe
# (packaging/windows/track-analyse.nsi).
#   tools/build-windows.sh           the build and the installer
#   tools/build-windows.sh --test    and then the tests under Wine, against
#                                    the Linux build, and the installer's
#                                    (tools/wine-check.sh)
# Installs what it needs (as root, or with sudo), as tools/install-deps.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."
test_too=0
[ "${1:-}" = "--test" ] && test_too=1

packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build googletest
  libcli11-dev nlohmann-json3-dev libstb-dev libxxhash-dev nsis)
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

stage="$build/dist"
setup=dist/track-analyse-setup.exe
rm -rf "$stage" "$setup"
mkdir -p "$stage" dist
for exe in track-analyse trk; do
  x86_64-w64-mingw32-strip -o "$stage/$exe.exe" "$build/$exe.exe"
done
# Windows' Notepad before 2018 wants CRLF.
sed 's/$/\r/' docs/windows-readme.txt >"$stage/README.txt"
makensis -V2 -DBUILD="$PWD/$build" -DSOURCE="$PWD" -DOUTFILE="$PWD/$setup" \
  packaging/windows/track-analyse.nsi
echo "$setup: $(du -k "$setup" | cut -f1) KB"

if [ "$test_too" = 1 ]; then
  if [ ! -x build/release/trk ]; then
    tools/install-deps.sh
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTA_WERROR=ON \
      -DTA_TESTS=OFF >/dev/null
    cmake --build build/release -j"$jobs" --target trk trackgen
  fi
  tools/wine-check.sh build/release "$build" "$setup"
fi
