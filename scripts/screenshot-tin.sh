#!/usr/bin/env bash
# Runs the view's command table under a virtual X server: two point groups on a
# slope meshed by the TIN command and shown coloured by height. Keeps that
# picture as docs/screenshots/tin-from-points.png.
#
#   scripts/screenshot-tin.sh [BUILD_DIR]     (default: build)
set -euo pipefail
exec "$(dirname "$0")/keep-test-screenshot.sh" viewer_commands_run_table_test tin-from-points.png tin-from-points.png "$@"
