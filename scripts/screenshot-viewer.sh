#!/usr/bin/env bash
# Runs the viewer on a copy of examples/viewer/ on the current display (xvfb-run gives
# one), answers its About box and start-up dialog, lets scripts/load-examples.sh hand it
# the example site's host data as ./run.sh does, and saves a picture of the screen.
#   screenshot-viewer.sh BIN_DIR SOURCE_DIR OUT.png
set -euo pipefail
bin=$1
source=$2
out=$3
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessara-shot.XXXXXX")
viewer=""
trap 'if [ -n "$viewer" ]; then kill "$viewer" 2>/dev/null || true; fi; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/work" "$scratch/config" "$scratch/run"
chmod 700 "$scratch/run"
cp -r "$source/examples/viewer/." "$scratch/work/"
# Settings and the pipe of this run stay apart from the user's.
export XDG_CONFIG_HOME="$scratch/config" TESSARA_PIPE_DIR="$scratch/run"

"$bin/tessara" /V "$scratch/work/" 2> "$scratch/viewer.log" &
viewer=$!
# The host's data come as ./run.sh hands them: once the start-up dialog is answered.
"$source/scripts/load-examples.sh" "$bin" "$scratch/work" --after-start-dialog > "$scratch/loader.out" &
loader=$!
# The About box opens first on a fresh profile (OK is its default button), then the
# start-up file dialog: the example model is chosen by its name, or, with
# TESSARA_START=cancel, the dialog is cancelled.
answered=0
for ((i = 0; i < 600 && answered == 0; ++i)); do
  for w in $(xdotool search --onlyvisible --name "について" 2> /dev/null); do
    xdotool key --window "$w" Return 2> /dev/null || true
  done
  for w in $(xdotool search --onlyvisible --name "ファイル選択|データの呼び出し" 2> /dev/null); do
    if [ "${TESSARA_START:-site}" = cancel ]; then
      xdotool key --window "$w" Escape 2> /dev/null && answered=1
    else
      xdotool windowactivate --sync "$w" 2> /dev/null || true
      # A double click on the list's only row, the example model, opens it.
      xdotool mousemove --window "$w" 40 35 click --repeat 2 1 2> /dev/null && answered=1
    fi
  done
  sleep 0.1
done
wait "$loader" || { cat "$scratch/loader.out" "$scratch/viewer.log" >&2; exit 1; }
cat "$scratch/loader.out"
main=$(timeout 60 xdotool search --sync --onlyvisible --name "SurfLook" | head -n 1)
xdotool windowsize "$main" 1280 800 windowmove "$main" 0 0
# The loads are answered once the data are in; the view paints on its next frame.
sleep 2
import -window root -crop 1280x800+0+0 +repage "$out"
echo "Screenshot: $out"
