#!/usr/bin/env bash
# The start-up load of run.sh: the viewer on a copy of examples/viewer/, then
# scripts/load-examples.sh plays the host. Needs a display (run under xvfb-run).
#   example-survey-run.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessara-examples.XXXXXX")
trap 'kill "$viewer" 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/work" "$scratch/config/Bralden" "$scratch/run" "$scratch/tmp"
chmod 700 "$scratch/run"
cp -r "$source/examples/viewer/." "$scratch/work/"
export XDG_CONFIG_HOME="$scratch/config" TESSARA_PIPE_DIR="$scratch/run" TMPDIR="$scratch/tmp"
printf '[SectionGlView]\npsKeyLicenseView=0\n' > "$XDG_CONFIG_HOME/Bralden/Tessara.ini"

# The model file beside the host files is the one make-model writes from examples/models/.
"$build/bin/make-model" "$source/examples/models/site.txt" "$scratch/site.tpf" > /dev/null
cmp "$scratch/site.tpf" "$source/examples/viewer/site.tpf"

"$build/bin/tessara" /V "$scratch/work/" 2> "$scratch/viewer.log" &
viewer=$!
if ! "$source/scripts/load-examples.sh" "$build/bin" "$scratch/work" > "$scratch/loader.out"; then
  echo "the loader failed" >&2
  cat "$scratch/loader.out" "$scratch/viewer.log" >&2
  exit 1
fi
cat "$scratch/loader.out"
grep -q "^Loaded slope-group.dat: " "$scratch/loader.out"
grep -q "^Loaded cad-figures.dat: " "$scratch/loader.out"
grep -q "fake-host send 1" "$scratch/loader.out"
grep -q "loaded: 1 groups, 400 points" "$scratch/viewer.log"
# The work folder keeps its own files: the viewer was handed copies.
test -e "$scratch/work/slope-group.dat"
test -e "$scratch/work/cad-figures.dat"
echo "example survey run: ok"
