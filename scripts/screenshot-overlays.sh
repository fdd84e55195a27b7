#!/usr/bin/env bash
# Renders the example site (examples/models/site.txt: CAD figures on two layers,
# both part sets, a building and a chimney) in a view under a virtual X server:
# a top view, a polygon selection with its highlighted points, and an oblique
# view with the axis triad and the orientation cube. Keeps the oblique picture as
# docs/screenshots/overlays.png and the others beside it in the work folder.
#
#   scripts/screenshot-overlays.sh [BUILD_DIR]     (default: build)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
program="$build/tests/viewer_render_site_view_test"
[ -x "$program" ] || { echo "no program at $program (build viewer_render_site_view_test first)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/tmp" "$work/run" "$work/shots"
chmod 700 "$work/run"
HOME="$work/home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" TESSARA_SCREENSHOT_DIR="$work/shots" \
    TESSARA_SOURCE_DIR="$root" xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$program"
cp "$work/shots/site-oblique.png" "$root/docs/screenshots/overlays.png"
echo "kept $root/docs/screenshots/overlays.png"
