#!/usr/bin/env bash
# Runs one test program that keeps its pictures when TESSARA_SCREENSHOT_DIR is
# set, under a virtual X server with folders of its own, and copies one of its
# pictures into docs/screenshots.
#
#   scripts/keep-test-screenshot.sh PROGRAM PICTURE KEPT_NAME [BUILD_DIR [PROGRAM_ARGS...]]
#   (BUILD_DIR default: build; PROGRAM_ARGS e.g. --gtest_filter=...)
set -euo pipefail

[ $# -ge 3 ] || { echo "usage: $0 PROGRAM PICTURE KEPT_NAME [BUILD_DIR [PROGRAM_ARGS...]]" >&2; exit 2; }
root="$(cd "$(dirname "$0")/.." && pwd)"
name="$1"
picture="$2"
kept="$3"
build="${4:-$root/build}"
shift $(( $# < 4 ? $# : 4 ))
case "$build" in /*) ;; *) build="$root/$build" ;; esac
program="$build/tests/$name"
[ -x "$program" ] || { echo "no program at $program (build $name first)" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/tmp" "$work/run" "$work/shots"
chmod 700 "$work/run"
HOME="$work/home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" TESSARA_SCREENSHOT_DIR="$work/shots" \
    TESSARA_SOURCE_DIR="$root" xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$program" "$@"
cp "$work/shots/$picture" "$root/docs/screenshots/$kept"
echo "kept $root/docs/screenshots/$kept"
