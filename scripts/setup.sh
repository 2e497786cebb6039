#!/usr/bin/env bash
# Installs every Debian package that the build, the program, the tests, the
# benchmarks and the fuzz targets need. Idempotent: packages already present
# are not reinstalled, and the package index is refreshed at most once a run.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-multimedia-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0 mesa-utils
  libjpeg62-turbo-dev libjpeg-turbo-progs
  xvfb xauth x11-utils xdotool openbox
  fonts-liberation2
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  imagemagick gifsicle
  libgif-dev libxml2-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
