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

# The site's model text is make-hostfile's, and the model file beside the host files is
# the one make-model writes from it.
"$build/bin/make-hostfile" --site-model "$scratch/site.txt" > /dev/null
cmp "$scratch/site.txt" "$source/examples/models/site.txt"
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
grep -q "^Loaded site-survey.dat: " "$scratch/loader.out"
grep -q "fake-host send 1" "$scratch/loader.out"
# The ground scan and its figures arrived: one group of some 300,000 points.
grep -Eq "loaded: 1 groups, [0-9]{6} points, 0 view-cloud triangles, 11 figures" "$scratch/viewer.log"
# The work folder keeps its own files.
test -e "$scratch/work/site.tpf"
test -e "$scratch/work/slope-group.dat"
echo "example survey run: ok"
