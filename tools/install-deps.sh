#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need;
# given package names, installs those instead (tools/build-windows.sh).
# Safe to run again: only what is missing is asked of apt.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev libstb-dev
  libbrotli-dev libexpat1-dev zlib1g-dev
  libfltk1.3-dev xvfb xauth xdotool x11-utils imagemagick
  help2man desktop-file-utils appstream libxml2-utils shared-mime-info
  xdg-utils libfile-mimeinfo-perl zsh fish librsvg2-bin
  # The desktop's open and save dialogs: Debian 12's FLTK drives only
  # GTK 2's; without it the window shows FLTK's own.
  libgtk2.0-0
  clang libclang-rt-14-dev clang-tidy cppcheck
  time valgrind python3 bc
)
[ $# -gt 0 ] && packages=("$@")
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
