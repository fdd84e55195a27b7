#!/usr/bin/env bash
# Runs the ribbon's end-to-end test under a virtual X server and keeps the whole
# window with the 編集 tab on show (after its TIN was made by the ribbon's clicks)
# as docs/screenshots/ribbon-edit.png.
#
#   scripts/screenshot-ribbon-edit.sh [BUILD_DIR]     (default: build)
set -euo pipefail
exec "$(dirname "$0")/keep-test-screenshot.sh" viewer_app_ribbon_test ribbon-edit.png ribbon-edit.png \
    "${1:-build}" --gtest_filter='EditRibbonTest.TinFromPointsThroughTheRibbonDrawsTheTin'
