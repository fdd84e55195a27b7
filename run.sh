#!/usr/bin/env bash
# Installs what is missing, builds, and starts the viewer on examples/viewer/.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
./scripts/install-deps.sh
./scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The viewer deletes a host file once it has read it, so it works on a copy.
work=$(mktemp -d "${TMPDIR:-/tmp}/tessara-work.XXXXXX")
cp -r examples/viewer/. "$work/"
echo "Work folder: $work"
exec "$root/build/bin/tessara" /V "$work/"
