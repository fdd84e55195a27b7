#!/usr/bin/env bash
# Run check of the host link: the viewer on a copy of examples/viewer/, the host played
# by fake-host. Needs a display (run under xvfb-run).
#   host-link-run.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessara-hostlink.XXXXXX")
trap 'kill "$viewer" 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/work" "$scratch/config" "$scratch/run"
chmod 700 "$scratch/run"
cp -r "$source/examples/viewer/." "$scratch/work/"
mkdir -p "$scratch/tmp"
export XDG_CONFIG_HOME="$scratch/config" TESSARA_PIPE_DIR="$scratch/run" TMPDIR="$scratch/tmp" TESSARA_TRACE_STATUS=1
mkdir -p "$XDG_CONFIG_HOME/Bralden"
printf '[SectionGlView]\npsKeyLicenseView=0\n' > "$XDG_CONFIG_HOME/Bralden/Tessara.ini"

# Waits until a condition holds, polling; the limit is one only a hang reaches. On
# failure says what it waited for and shows the viewer's log.
wait_for() {
  local what=$1; shift
  local deadline=$((SECONDS + 60))
  until "$@"; do
    if ((SECONDS > deadline)); then
      echo "gave up after 60 s waiting for: $what" >&2
      echo "--- viewer log ---" >&2
      cat "$scratch/viewer.log" >&2 || true
      exit 1
    fi
    sleep 0.1
  done
}
in_log() { grep -q "$1" "$scratch/viewer.log"; }
pipe_answers() { "$build/bin/fake-host" send 22 > /dev/null 2>&1; }

"$build/bin/tessara" /V "$scratch/work/" 2> "$scratch/viewer.log" &
viewer=$!
wait_for "the viewer's pipe to answer" pipe_answers

cp "$source/examples/viewer/slope-group.dat" "$scratch/load.dat"
"$build/bin/fake-host" send 1 "$scratch/load.dat"
wait_for "the load in the viewer's log" in_log "loaded: 1 groups, 400 points"
wait_for "the load's status text" in_log "status: 処理を終了しました（データの読み込み)"
test ! -e "$scratch/load.dat"

"$build/bin/make-hostfile" --points 50 --broken cut:300 "$scratch/broken.dat" > /dev/null
if "$build/bin/fake-host" send 1 "$scratch/broken.dat"; then
  echo "a broken file was answered with success" >&2
  exit 1
fi
test -e "$scratch/broken.dat"
wait_for "the failed load's status text" in_log "status: データの読み込みに失敗しました。"

"$build/bin/fake-host" send 11
if "$build/bin/fake-host" send 22 2> /dev/null; then
  echo "the server still answers after command 11" >&2
  exit 1
fi
cat "$scratch/viewer.log" | grep -E "loaded|status" || true
echo "host link run: ok"
