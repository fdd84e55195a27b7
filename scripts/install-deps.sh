#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the tools need.
# Skips the package manager entirely when everything is present already.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

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

# Node and npm run the tests' independent LAZ decoder. A node that is there already
# (with its own npm) is kept: Debian's npm package would conflict with it.
if ! command -v node > /dev/null 2>&1 || ! command -v npm > /dev/null 2>&1; then
  missing+=(nodejs npm)
fi

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The decoder's npm packages, exactly as locked, beside the script that runs them.
lazperf="$root/tests/tools/lazperf"
if [ ! -f "$lazperf/node_modules/laz-perf/package.json" ] ||
   ! cmp -s "$lazperf/package-lock.json" "$lazperf/node_modules/.package-lock.json.installed"; then
  echo "Installing the test decoder's npm packages"
  (cd "$lazperf" && npm ci --no-audit --no-fund --loglevel=error)
  cp "$lazperf/package-lock.json" "$lazperf/node_modules/.package-lock.json.installed"
fi
