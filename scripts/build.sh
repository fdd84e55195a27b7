#!/usr/bin/env bash
# Configures and builds one build tree. Usage: scripts/build.sh DIR [cmake args...]
set -euo pipefail
dir=$1; shift
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${TESSARA_JOBS:-$(nproc)}
if [ ! -f "$root/$dir/build.ninja" ]; then
  cmake -S "$root" -B "$root/$dir" -G Ninja "$@"
else
  cmake "$root/$dir" "$@" >/dev/null
fi
cmake --build "$root/$dir" -j "$jobs"
