#!/usr/bin/env bash
# Installs the Debian packages the project needs, in two sets:
#   tools/install-deps.sh           what building and running need (tools/run.sh)
#   tools/install-deps.sh --test    and what the tests, the analysis and the
#                                   benchmarks need (tools/test.sh)
#   tools/install-deps.sh NAME...   those packages instead (tools/build-windows.sh)
# Safe to run again: only what is missing is asked of apt.
set -euo pipefail
build_and_run=(
  build-essential cmake ninja-build pkg-config
  libcli11-dev nlohmann-json3-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libjpeg62-turbo-dev libpng-dev libstb-dev
  # The gallery's content hashes (xxHash, used header-only).
  libxxhash-dev
  # The lap charts (trk compare -o).
  libcairo2-dev
  # trk links these from their archives (TA_STATIC_TRK).
  libbrotli-dev libexpat1-dev zlib1g-dev
  libfltk1.3-dev
  # The desktop's open and save dialogs: Debian 12's FLTK drives only
  # GTK 2's; without it the window shows FLTK's own.
  libgtk2.0-0
  # The manual pages are made from the programs' --help.
  help2man
)
tests_and_analysis=(
  libgtest-dev libgmock-dev libbenchmark-dev libjpeg-turbo-progs
  xvfb xauth xdotool x11-utils imagemagick
  desktop-file-utils appstream libxml2-utils shared-mime-info
  xdg-utils libfile-mimeinfo-perl man-db zsh fish librsvg2-bin
  clang libclang-rt-14-dev clang-tidy cppcheck
  time valgrind python3 bc
  # The gallery in a real browser, and its pages through an HTML validator.
  chromium chromium-driver python3-selenium tidy
)
case "${1:-}" in
  "") packages=("${build_and_run[@]}") ;;
  --test) packages=("${build_and_run[@]}" "${tests_and_analysis[@]}") ;;
  -*)
    echo "usage: tools/install-deps.sh [--test | PACKAGE...]" >&2
    exit 2
    ;;
  *) packages=("$@") ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
