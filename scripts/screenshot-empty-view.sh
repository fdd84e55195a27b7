#!/usr/bin/env bash
# Starts the viewer on examples/viewer/ under a virtual X server with a fresh
# profile (About box off), screenshots the screen, checks that the view shows the
# ground grid, and keeps the picture as docs/screenshots/empty-view.png.
#
#   scripts/screenshot-empty-view.sh [BUILD_DIR]     (default: build)
#
# Runs itself under xvfb-run when no display is set.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
program="$build/bin/tessara"
out="$root/docs/screenshots/empty-view.png"

if [ -z "${TESSARA_SCREENSHOT_INNER:-}" ]; then
    export TESSARA_SCREENSHOT_INNER=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build"
fi

[ -x "$program" ] || { echo "no program at $program (build the target tessara first)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
export TESSARA_PIPE_DIR="$work/run"
export LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME/Bralden" "$TESSARA_PIPE_DIR"
chmod 700 "$TESSARA_PIPE_DIR"
printf '[SectionGlView]\npsKeyLicenseView=0\n' > "$XDG_CONFIG_HOME/Bralden/QuonEditorView.ini"

"$program" /V "$root/examples/viewer/" > "$work/viewer.log" 2>&1 &
pid=$!
shot="$work/screen.png"
grid=0
for _ in $(seq 1 30); do
    sleep 1
    kill -0 "$pid" 2>/dev/null || { echo "the viewer ended early:" >&2; cat "$work/viewer.log" >&2; exit 1; }
    import -window root "$shot" 2>/dev/null || continue
    # The grid is drawn in (0.4, 0.4, 0.4) on the default dark background.
    grid="$(convert "$shot" -fill black +opaque "rgb(102,102,102)" -fill white -opaque "rgb(102,102,102)" \
                -format "%[fx:round(mean*w*h)]" info:)"
    [ "$grid" -gt 1000 ] && break
done
echo "grid-coloured pixels: $grid"
if [ "$grid" -le 1000 ]; then
    echo "the view shows no grid" >&2
    cat "$work/viewer.log" >&2
    exit 1
fi
cp "$shot" "$out"
echo "kept $out"
