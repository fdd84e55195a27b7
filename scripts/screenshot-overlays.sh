#!/usr/bin/env bash
# Renders the example site (examples/models/small-site.txt: CAD figures on two layers,
# both part sets, a building and a chimney) in a view under a virtual X server:
# a top view, a polygon selection with its highlighted points, and an oblique
# view with the axis triad and the orientation cube. Keeps the oblique picture as
# docs/screenshots/overlays.png.
#
#   scripts/screenshot-overlays.sh [BUILD_DIR]     (default: build)
set -euo pipefail
exec "$(dirname "$0")/keep-test-screenshot.sh" viewer_render_site_view_test site-oblique.png overlays.png "$@"
