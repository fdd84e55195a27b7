#!/usr/bin/env bash
# Plays the host for a viewer that has just started: once its pipe is up, hands it the
# example host files of its work folder, and says what was loaded and how to load more.
#   load-examples.sh BIN_DIR WORK_FOLDER
set -uo pipefail
bin=$1
work=$2

if ! "$bin/fake-host" wait 60; then
  echo "The viewer's pipe did not come up: nothing was loaded." >&2
  exit 1
fi

# The viewer deletes a host file once it has read it, so it gets copies.
hand=$(mktemp -d "${TMPDIR:-/tmp}/tessara-host.XXXXXX")
trap 'rm -rf "$hand"' EXIT

declare -A content=(
  [slope-group.dat]="point-cloud group 斜面点群 (400 points) with its TIN of 100 points"
  [cad-figures.dat]="12 CAD figures and a part drawing of 6 points and 5 lines"
)
failed=0
for name in slope-group.dat cad-figures.dat; do
  if [ ! -e "$work/$name" ]; then
    echo "Not loaded: $name is not in $work" >&2
    failed=1
    continue
  fi
  cp "$work/$name" "$hand/$name"
  if "$bin/fake-host" send 1 "$hand/$name" > /dev/null; then
    echo "Loaded $name: ${content[$name]}"
  else
    echo "Not loaded: the viewer refused $name (see its messages)" >&2
    failed=1
  fi
done

cat <<MORE
Model files in $work (site.tpf) open from the viewer's file dialog.
To load more host data while the viewer runs:
  $bin/make-hostfile --points 2000 --tin 300 /tmp/more.dat
  $bin/fake-host send 1 /tmp/more.dat
MORE
exit $failed
