#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the tools need.
# Skips the package manager entirely when everything is present already.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-translations-l10n
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri
  libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev
  libcgal-dev libgmp-dev libmpfr-dev libboost-dev
  libnanoflann-dev libpugixml-dev
  libfreetype-dev libfontconfig-dev fontconfig fonts-ipafont-gothic
  libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
