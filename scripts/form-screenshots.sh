#!/usr/bin/env bash
# Prints three pages of the plug-ins' report forms for example seeds into
# docs/screenshots/form-<plug-in>.png (parthost and the plug-ins must be built): the
# first page of a control-point form, the continuation page of a levelling form (the
# position table going on under its caption, "2 / 2") and the GNSS form's landscape
# page with the position table.
#   form-screenshots.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessara-forms.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$root/docs/screenshots"
for entry in ctrlpoint:Mod00519:strict-network:1 levelling:Mod00963:grade1:2 gnss:Mod04827:control_survey:2; do
  IFS=: read -r plugin module seed page <<< "$entry"
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/parthost" --seed "$root/examples/$plugin/$seed.json" \
    --plugin "$build/plugins/$module.so" --out "$scratch/$plugin" --form > "$scratch/$plugin.log" 2>&1 ||
    { cat "$scratch/$plugin.log" >&2; exit 1; }
  pdf=$(find "$scratch/$plugin" -maxdepth 1 -name '*.pdf' | head -n 1)
  pdftoppm -r 90 -png -singlefile -f "$page" -l "$page" "$pdf" "$root/docs/screenshots/form-$plugin"
  echo "docs/screenshots/form-$plugin.png: page $page of the form from $seed"
done
