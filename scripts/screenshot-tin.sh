#!/usr/bin/env bash
# Runs the ribbon's end-to-end test under a virtual X server: two point groups on a
# slope meshed by pressing 点群からTIN on the 編集 tab and shown coloured by height
# by pressing 高低. Keeps that picture as docs/screenshots/tin-from-points.png.
#
#   scripts/screenshot-tin.sh [BUILD_DIR]     (default: build)
set -euo pipefail
exec "$(dirname "$0")/keep-test-screenshot.sh" viewer_app_ribbon_test tin-from-ribbon.png tin-from-points.png \
    "${1:-build}" --gtest_filter='EditRibbonTest.TinFromPointsThroughTheRibbonDrawsTheTin'
