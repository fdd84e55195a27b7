#!/usr/bin/env bash
# Plays the host for a viewer that has just started: once its pipe is up, hands it the
# example site's host data, and says what was loaded and how to load more.
#   load-examples.sh BIN_DIR WORK_FOLDER [--after-start-dialog]
# --after-start-dialog: hand the data over once the person has answered the viewer's
# start-up file dialog (watched with xdotool), so a model chosen there does not
# replace them; without a display or xdotool, or when no dialog shows within 30 s,
# the data go at once.
set -uo pipefail
bin=$1
work=$2
after_dialog=${3:-}

if ! "$bin/fake-host" wait 60; then
  echo "The viewer's pipe did not come up: nothing was loaded." >&2
  exit 1
fi

visible() { xdotool search --onlyvisible --name "$1" > /dev/null 2>&1; }
if [ "$after_dialog" = --after-start-dialog ] && [ -n "${DISPLAY:-}" ] && command -v xdotool > /dev/null; then
  # The About box may come first; the wait ends when the start-up dialog has come
  # and gone, or after 30 s in which neither showed.
  seen=0 idle=0
  while ((idle < 150)); do
    if visible "ファイル選択|データの呼び出し"; then
      seen=1 idle=0
    elif visible "について"; then
      idle=0
    elif ((seen)); then
      break
    else
      idle=$((idle + 1))
    fi
    sleep 0.2
  done
fi

# The viewer deletes a host file once it has read it, so it gets copies.
hand=$(mktemp -d "${TMPDIR:-/tmp}/tessara-host.XXXXXX")
trap 'rm -rf "$hand"' EXIT

failed=0
# The site's host data: a ground scan of some 300,000 points (0.1 m apart), its CAD
# figures and the traverse, written afresh (12 MB, so not kept in the repository).
if ! "$bin/make-hostfile" --site --spacing 0.1 "$hand/site-survey.dat" > /dev/null; then
  echo "Not loaded: make-hostfile could not write the site's host data" >&2
  failed=1
elif "$bin/fake-host" send 1 "$hand/site-survey.dat" > /dev/null; then
  echo "Loaded site-survey.dat: the site's ground scan 現況点群, its CAD figures and the traverse"
else
  echo "Not loaded: the viewer refused site-survey.dat (see its messages)" >&2
  failed=1
fi

cat <<MORE
Model files in $work (site.tpf: the same site with its ground TIN and buildings) open
from the viewer's file dialog. To load more host data while the viewer runs (the viewer
deletes what it loads, so hand it a copy):
  cp $work/slope-group.dat /tmp/load.dat && $bin/fake-host send 1 /tmp/load.dat
  $bin/make-hostfile --points 2000 --tin 300 /tmp/more.dat && $bin/fake-host send 1 /tmp/more.dat
MORE
exit $failed
