#!/usr/bin/env bash
# Measures a distance on the measure fixture (examples/models/measure.txt) in a
# view under a virtual X server, seen obliquely: the slope, plane and height
# lines with their markers, the three value hints and the switches window.
# Keeps the screen's picture as docs/screenshots/measurement.png.
#
#   scripts/screenshot-measurement.sh [BUILD_DIR]     (default: build)
set -euo pipefail
exec "$(dirname "$0")/keep-test-screenshot.sh" viewer_commands_measure_view_test measurement.png measurement.png \
    "${1:-build}" --gtest_filter=MeasureScreenshotTest.LinesInTheViewAndHintsOnTheScreen
