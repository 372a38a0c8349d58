#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Orivane need.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang lua5.4 liblua5.4-dev
  libturbojpeg0-dev libpng-dev
  libsdl2-dev libsdl2-mixer-dev timgm6mb-soundfont libimgui-dev libfontconfig-dev libfreetype-dev libx11-dev fonts-ipafont-gothic
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
  xvfb xdotool
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
