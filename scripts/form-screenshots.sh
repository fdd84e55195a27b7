#!/usr/bin/env bash
# Prints the first page of each plug-in's report form for an example seed into
# docs/screenshots/form-<plug-in>.png (parthost and the plug-ins must be built).
#   form-screenshots.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessara-forms.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$root/docs/screenshots"
for entry in ctrlpoint:Mod00519:strict-network levelling:Mod00963:grade1 gnss:Mod04827:control_survey; do
  IFS=: read -r plugin module seed <<< "$entry"
  "$build/bin/parthost" --seed "$root/examples/$plugin/$seed.json" --plugin "$build/plugins/$module.so" \
    --out "$scratch/$plugin" --form > "$scratch/$plugin.log" 2>&1 || { cat "$scratch/$plugin.log" >&2; exit 1; }
  pdf=$(find "$scratch/$plugin" -maxdepth 1 -name '*.pdf' | head -n 1)
  pdftoppm -r 90 -png -singlefile -f 1 -l 1 "$pdf" "$root/docs/screenshots/form-$plugin"
  echo "docs/screenshots/form-$plugin.png from $seed"
done
