# Sourced by the screenshot scripts: runs one test program under a virtual X
# server with folders of its own and keeps one of the pictures it saved.
#
#   keep_screenshot BUILD_DIR PROGRAM PICTURE DESTINATION
keep_screenshot() {
    local root build program picture destination work
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    build="$1"
    case "$build" in /*) ;; *) build="$root/$build" ;; esac
    program="$build/tests/$2"
    picture="$3"
    destination="$root/$4"
    [ -x "$program" ] || { echo "no program at $program (build $2 first)" >&2; return 2; }
    work="$(mktemp -d)"
    mkdir -p "$work/home" "$work/tmp" "$work/run" "$work/shots"
    chmod 700 "$work/run"
    HOME="$work/home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/run" TESSARA_SCREENSHOT_DIR="$work/shots" \
        TESSARA_SOURCE_DIR="$root" xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "$program" \
        || { rm -rf "$work"; return 1; }
    cp "$work/shots/$picture" "$destination"
    rm -rf "$work"
    echo "kept $destination"
}
