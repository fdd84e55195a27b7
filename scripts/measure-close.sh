#!/usr/bin/env bash
# Measures how long the viewer takes to end once the user has confirmed closing its
# window: starts it on a fresh profile with the example survey loaded, closes the main
# window as a window manager would (WM_DELETE_WINDOW), answers Yes to the question and
# times from that answer to the end of the process. Run under xvfb-run.
#   measure-close.sh BIN_DIR SOURCE_DIR [RUNS]
set -euo pipefail
bin=$(realpath "$1")
source=$(realpath "$2")
runs=${3:-5}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessara-close.XXXXXX")
viewer=""
trap 'if [ -n "$viewer" ]; then kill "$viewer" 2>/dev/null || true; fi; rm -rf "$scratch"' EXIT

# A WM_DELETE_WINDOW client message: what a window manager sends for the close button.
close_window() {
  python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]
class XEvent(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
d = x.XOpenDisplay(None)
ev = XEvent()
ev.xclient.type = 33  # ClientMessage
ev.xclient.display = d
ev.xclient.window = int(sys.argv[1])
ev.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
ev.xclient.format = 32
ev.xclient.l[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(d, ev.xclient.window, 0, 0, ctypes.byref(ev))
x.XFlush(d)
PY
}

for ((run = 1; run <= runs; ++run)); do
  rm -rf "$scratch/work" "$scratch/config" "$scratch/run"
  mkdir -p "$scratch/work" "$scratch/config" "$scratch/run"
  chmod 700 "$scratch/run"
  cp -r "$source/examples/viewer/." "$scratch/work/"
  export XDG_CONFIG_HOME="$scratch/config" TESSARA_PIPE_DIR="$scratch/run"
  "$bin/tessara" /V "$scratch/work/" 2> "$scratch/viewer.log" &
  viewer=$!
  answered=0
  for ((i = 0; i < 600 && answered == 0; ++i)); do
    # Keys go to the focused window, as a person's would.
    if xdotool search --onlyvisible --name "について" > /dev/null 2>&1; then
      xdotool key Return 2> /dev/null || true
    elif xdotool search --onlyvisible --name "ファイル選択|データの呼び出し" > /dev/null 2>&1; then
      xdotool key Escape 2> /dev/null && answered=1
    fi
    sleep 0.1
  done
  "$source/scripts/load-examples.sh" "$bin" "$scratch/work" > /dev/null
  main=$(timeout 60 xdotool search --sync --onlyvisible --name "SurfLook" | head -n 1)
  close_window "$main"
  question=""
  for ((i = 0; i < 600 && ${#question} == 0; ++i)); do
    question=$(xdotool search --onlyvisible --name "SurfLook" 2> /dev/null | grep -vx "$main" | head -n 1 || true)
    [ -z "$question" ] && sleep 0.05
  done
  if [ -z "$question" ]; then
    echo "run $run: the close question never showed" >&2
    exit 1
  fi
  start=$(date +%s.%N)
  xdotool key Return
  wait "$viewer" || true
  end=$(date +%s.%N)
  viewer=""
  printf 'run %d: %.3f s from Yes to the end of the process\n' "$run" "$(echo "$end - $start" | bc -l)"
done
