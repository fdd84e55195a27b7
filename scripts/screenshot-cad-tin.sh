#!/usr/bin/env bash
# Runs the CAD TIN command on a small hill of contour lines and spot heights under a
# virtual X server and keeps the height-coloured TIN as docs/screenshots/cad-tin.png.
#
#   scripts/screenshot-cad-tin.sh [BUILD_DIR]     (default: build)
set -euo pipefail
exec "$(dirname "$0")/keep-test-screenshot.sh" viewer_commands_view_test cad-tin.png cad-tin.png "${1:-build}" \
    --gtest_filter='CadTinCommandTest.TheCadTinIsDrawnColouredByHeight'
