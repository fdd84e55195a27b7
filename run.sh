#!/usr/bin/env bash
# Installs what is missing, builds, starts the viewer on a copy of examples/viewer/ and,
# once the start-up file dialog is answered, loads the example site's host data into it
# as the host would.
#   ./run.sh                        the viewer, for a person
#   ./run.sh screenshot [OUT.png]   on a virtual display: About box answered, survey
#                                   loaded, a picture saved (docs/screenshots/viewer.png)
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
./scripts/install-deps.sh
./scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "${1:-}" = "screenshot" ]; then
  out=$(realpath -m "${2:-docs/screenshots/viewer.png}")
  mkdir -p "$(dirname "$out")"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/screenshot-viewer.sh" "$root/build/bin" "$root" "$out"
fi
# The viewer deletes a host file once it has read it, so it works on a copy.
work=$(mktemp -d "${TMPDIR:-/tmp}/tessara-work.XXXXXX")
cp -r examples/viewer/. "$work/"
echo "Work folder: $work"
"$root/build/bin/tessara" /V "$work/" &
viewer=$!
"$root/scripts/load-examples.sh" "$root/build/bin" "$work" --after-start-dialog &
loader=$!
status=0
wait "$viewer" || status=$?
kill "$loader" 2> /dev/null || true
exit "$status"
