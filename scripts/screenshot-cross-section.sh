#!/usr/bin/env bash
# Draws the cross-section of examples/models/cross-section.txt (the sheet with its
# grid, labels and hints over the ridge) in a view under a virtual X server and
# keeps the picture as docs/screenshots/cross-section.png.
#
#   scripts/screenshot-cross-section.sh [BUILD_DIR]     (default: build)
set -euo pipefail
exec "$(dirname "$0")/keep-test-screenshot.sh" viewer_commands_section_screenshot_test cross-section.png \
    cross-section.png "$@"
