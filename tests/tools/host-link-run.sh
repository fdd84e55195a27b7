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

# Commands 4, 18, 19: files handed to the host, counted as the reply says.
expect_reply() {
  local want=$1; shift
  local got
  got=$("$build/bin/fake-host" send "$@" || true)
  if [[ "$got" != "$want" ]]; then
    echo "fake-host send $*: got '$got', wanted '$want'" >&2
    exit 1
  fi
}
expect_reply "code=4 result=1 items=400" 4 "$scratch/exchange dir 日本語.dat" 2 0
expect_reply "code=4 result=0 items=0" 4 "$scratch/no such folder/x.dat" 2 0
"$build/bin/make-hostfile" --polygons 2 "$scratch/polygons.dat" > /dev/null
reply=$("$build/bin/fake-host" send 18 "$scratch/polygons.dat")
[[ "$reply" == "code=18 result=1 points="*" polygons=2" ]] || { echo "command 18: $reply" >&2; exit 1; }
reply=$("$build/bin/fake-host" send 19 "$scratch/tins.dat")
[[ "$reply" == "code=19 result=1 triangles="*" tins="* ]] || { echo "command 19: $reply" >&2; exit 1; }

# Commands 20 and 21: an overlay read whole answers 1 and is consumed; a cut one
# answers 0 and stays.
"$build/bin/make-hostfile" --overlay 3,2,1 "$scratch/overlay.dat" > /dev/null
expect_reply "code=20 result=1" 20 "$scratch/overlay.dat"
test ! -e "$scratch/overlay.dat"
wait_for "the overlay in the viewer's log" in_log "overlay file .* installed: 3 points, 2 segments, 1 polygons"
"$build/bin/make-hostfile" --overlay 3,2,1 --broken cut:200 "$scratch/cut.dat" > /dev/null
expect_reply "code=20 result=0" 20 "$scratch/cut.dat"
test -e "$scratch/cut.dat"
expect_reply "code=21 result=1" 21

# A mixed run of 2,000 requests: good ones get their answer, malformed and broken
# ones theirs, and the server keeps answering.
"$build/bin/make-hostfile" --overlay 1,0,0 --broken cut:100 "$scratch/mixed-cut.dat" > /dev/null
"$build/bin/make-hostfile" --points 50 --broken magic "$scratch/mixed-magic.dat" > /dev/null
for ((i = 0; i < 250; ++i)); do
  expect_reply "code=22 result=1" 22
  expect_reply "code=4 result=1 items=400" 4 "$scratch/mixed.dat" 2 0
  expect_reply "code=20 result=0" 20 "$scratch/mixed-cut.dat"
  expect_reply "code=1 result=0" 1 "$scratch/mixed-magic.dat"
  expect_reply "code=21 result=1" 21
  expect_reply "code=7 result=0" 7
  expect_reply "code=19 result=1 triangles=162 tins=1" 19 "$scratch/mixed-tins.dat"
  expect_reply "code=18 result=1 points=0 polygons=0" 18 "$scratch/mixed-none.dat"
  rm -f "$scratch/mixed-none.dat"
done
test -e "$scratch/mixed-cut.dat" && test -e "$scratch/mixed-magic.dat"
expect_reply "code=22 result=1" 22

"$build/bin/fake-host" send 11
if "$build/bin/fake-host" send 22 2> /dev/null; then
  echo "the server still answers after command 11" >&2
  exit 1
fi
cat "$scratch/viewer.log" | grep -E "loaded|status" || true
echo "host link run: ok"
