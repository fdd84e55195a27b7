#!/usr/bin/env bash
# Command lines of make-hostfile and fake-host: answers and exit codes.
#   tools-cli.sh BUILD_DIR
set -euo pipefail
bin=$1/bin
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessara-tools.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/run" && chmod 700 "$scratch/run"
export TESSARA_PIPE_DIR="$scratch/run"

expect_exit() {
  local want=$1; shift
  set +e; "$@" > /dev/null 2>&1; local got=$?; set -e
  if [ "$got" != "$want" ]; then echo "exit $got, expected $want: $*" >&2; exit 1; fi
}

expect_exit 2 "$bin/make-hostfile"
expect_exit 2 "$bin/make-hostfile" --points -1 "$scratch/x.dat"
expect_exit 2 "$bin/make-hostfile" --broken nonsense "$scratch/x.dat"
expect_exit 1 "$bin/make-hostfile" --points 3 "$scratch/no/such/folder.dat"
"$bin/make-hostfile" --points 10 --tin 4 --cad 4 --part 3 "$scratch/ok.dat" > /dev/null
# Header: magic 56 4C 47 40, version 00 01, content word 0x0F.
test "$(head -c 10 "$scratch/ok.dat" | od -An -tx1 | tr -d ' \n')" = "564c474000010f000000"
for kind in magic version huge-count bad-index unterminated-string cut:40; do
  "$bin/make-hostfile" --points 10 --broken "$kind" "$scratch/$kind.dat" > /dev/null
  test -s "$scratch/$kind.dat"
done
test "$(stat -c %s "$scratch/cut:40.dat")" = 40
"$bin/make-hostfile" --polygons 2 "$scratch/poly.dat" > /dev/null
# magic, version, count 2, then 2 x (uint16 4 + 4 x 24 bytes)
test "$(stat -c %s "$scratch/poly.dat")" = $((4 + 2 + 4 + 2 * (2 + 4 * 24)))

"$bin/make-hostfile" --overlay 3,2,1 "$scratch/overlay.dat" > /dev/null
# header 6 + transform 74 + origin 16 + corners 64, then 4 + 3 x 28, 4 + 2 x 52, 4 + (2 + 4 x 24 + 4)
test "$(stat -c %s "$scratch/overlay.dat")" = $((160 + 4 + 84 + 4 + 104 + 4 + 102))
"$bin/make-hostfile" --overlay 3,2,1 --broken cut:100 "$scratch/overlay-cut.dat" > /dev/null
test "$(stat -c %s "$scratch/overlay-cut.dat")" = 100
expect_exit 2 "$bin/make-hostfile" --overlay 3,2 "$scratch/x.dat"
# The example site: a spacing out of 0.1..10 m is refused; a coarser scan is smaller.
for bad in 0 0.05 11 x; do expect_exit 2 "$bin/make-hostfile" --site --spacing "$bad" "$scratch/x.dat"; done
"$bin/make-hostfile" --site --spacing 2 "$scratch/site-2.dat" > /dev/null
"$bin/make-hostfile" --site --spacing 1 "$scratch/site-1.dat" > /dev/null
test "$(stat -c %s "$scratch/site-1.dat")" -gt $((3 * $(stat -c %s "$scratch/site-2.dat")))
"$bin/make-hostfile" --site-model "$scratch/site.txt" > /dev/null
grep -q "^center 0 0 45.0$" "$scratch/site.txt"
# The picture: a 700 x 460 PPM, 10 pixels a metre over the 70 m x 46 m site.
"$bin/make-hostfile" --site-picture "$scratch/site.ppm" > /dev/null
test "$(head -c 15 "$scratch/site.ppm")" = "$(printf 'P6\n700 460\n255\n')"
test "$(stat -c %s "$scratch/site.ppm")" = $((15 + 700 * 460 * 3))

# lasconsole: a header-only dump (no points) converts to a 227-byte LAS; anything
# else that is not a dump fails with no output and leaves an existing target alone.
if [ -x "$bin/lasconsole" ]; then
  {
    printf '\x56\x4c\x47\x40\x00\x01\x00\x00\x00\x00'
    head -c 48 /dev/zero                                   # bounds
    printf '\x2d\x43\x1c\xeb\xe2\x36\x1a\x3f%.0s' 1 2 3   # scales 0.0001
    head -c 24 /dev/zero                                   # offsets
  } > "$scratch/empty.dump"
  "$bin/lasconsole" "$scratch/empty.dump" "$scratch/empty.las"
  test "$(stat -c %s "$scratch/empty.las")" = 227
  test "$(head -c 4 "$scratch/empty.las")" = "LASF"
  printf 'previous' > "$scratch/kept.las"
  expect_exit 1 "$bin/lasconsole" "$scratch/overlay.dat" "$scratch/kept.las"
  test "$(cat "$scratch/kept.las")" = "previous"
  expect_exit 1 "$bin/lasconsole" "$scratch/missing.dump" "$scratch/new.las"
  test ! -e "$scratch/new.las"
  expect_exit 2 "$bin/lasconsole" "$scratch/empty.dump"
fi

# lazpack: the LAS above compresses (exit 0, a LAZ with the compressed point format);
# a file that is not LAS 1.2 format 2 or a missing one fails with no output, the old
# target kept and no temporary file left.
if [ -x "$bin/lazpack" ] && [ -f "$scratch/empty.las" ]; then
  "$bin/lazpack" -i "$scratch/empty.las" -o "$scratch/empty.laz"
  test "$(head -c 4 "$scratch/empty.laz")" = "LASF"
  test "$(od -An -tx1 -j104 -N1 "$scratch/empty.laz" | tr -d ' ')" = "82"
  printf 'previous' > "$scratch/kept.laz"
  expect_exit 1 "$bin/lazpack" -i "$scratch/overlay.dat" -o "$scratch/kept.laz"
  expect_exit 1 "$bin/lazpack" -i "$scratch/empty.laz" -o "$scratch/kept.laz"
  test "$(cat "$scratch/kept.laz")" = "previous"
  expect_exit 1 "$bin/lazpack" -i "$scratch/missing.las" -o "$scratch/new.laz"
  test ! -e "$scratch/new.laz"
  expect_exit 1 "$bin/lazpack" -i "$scratch/empty.las" -o "$scratch/no/such/folder.laz"
  expect_exit 2 "$bin/lazpack" -i "$scratch/empty.las"
  expect_exit 2 "$bin/lazpack" -o "$scratch/x.laz" -i
  expect_exit 2 "$bin/lazpack" -i "$scratch/empty.las" -x "$scratch/x.laz"
  test -z "$(find "$scratch" -name '*.~tmp*')"
fi

# The example dump from the command line: lasconsole makes a LAS of its 3,000 points,
# lazpack a LAZ of it, and laz-perf (when node has it) decodes that LAZ to the very
# records of the LAS.
src=$(cd "$(dirname "$0")/../.." && pwd)
if [ -x "$bin/lasconsole" ] && [ -x "$bin/lazpack" ]; then
  "$bin/lasconsole" "$src/examples/viewer/scan.dump" "$scratch/scan.las"
  test "$(stat -c %s "$scratch/scan.las")" = $((227 + 3000 * 26))
  "$bin/lazpack" -i "$scratch/scan.las" -o "$scratch/scan.laz"
  test "$(stat -c %s "$scratch/scan.laz")" -lt $((227 + 3000 * 26))
  lazperf=$src/tests/tools/lazperf
  if command -v node > /dev/null && [ -d "$lazperf/node_modules/laz-perf" ]; then
    node "$lazperf/laz-decode.js" "$scratch/scan.laz" "$scratch/scan.records" > /dev/null
    tail -c +228 "$scratch/scan.las" | cmp - "$scratch/scan.records"
  fi
fi

expect_exit 2 "$bin/fake-host"
expect_exit 2 "$bin/fake-host" send
# No viewer: no reply, non-zero.
expect_exit 1 "$bin/fake-host" send 22
expect_exit 2 "$bin/fake-host" wait 0
expect_exit 1 "$bin/fake-host" wait 1
if [ -x "$bin/parthost" ]; then
  # --interactive only with --edit, and never with a script.
  expect_exit 2 "$bin/parthost" --seed s.json --plugin p.so --out "$scratch/ph" --interactive
  expect_exit 2 "$bin/parthost" --seed s.json --plugin p.so --out "$scratch/ph" --edit --interactive --script x.json
fi
echo "tools command lines: ok"
