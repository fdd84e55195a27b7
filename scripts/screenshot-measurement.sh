#!/usr/bin/env bash
# Measures a distance on the measure fixture (examples/models/measure.txt) in a
# view under a virtual X server, seen obliquely: the slope, plane and height
# lines with their markers, the three value hints and the switches window.
# Keeps the screen's picture as docs/screenshots/measurement.png.
#
#   scripts/screenshot-measurement.sh [BUILD_DIR]     (default: build)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
program="$build/tests/viewer_commands_measure_view_test"
[ -x "$program" ] || { echo "no program at $program (build viewer_commands_measure_view_test first)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/tmp" "$work/run" "$work/shots"
chmod 700 "$work/run"
HOME="$work/home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" TESSARA_SCREENSHOT_DIR="$work/shots" \
    TESSARA_SOURCE_DIR="$root" xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$program" \
    --gtest_filter=MeasureScreenshotTest.LinesInTheViewAndHintsOnTheScreen
cp "$work/shots/measurement.png" "$root/docs/screenshots/measurement.png"
echo "kept $root/docs/screenshots/measurement.png"
