#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (GL and window tests under Xvfb).
#   ./test.sh             release build in build/
#   ./test.sh --sanitize  also ASan+UBSan in build-asan/ and TSan in build-tsan/
#   extra arguments after "--" go to ctest (e.g. ./test.sh -- -R Pipe)
#   CC=clang-16 CXX=clang++-16 ./test.sh   the same with clang in build-clang/ (and
#                                          build-clang-asan/, build-clang-tsan/)
#   CI=true ./test.sh     the build fails on any compiler warning (TESSARA_WERROR)
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"

sanitize=0
ctest_args=()
while (($#)); do
  case "$1" in
    --sanitize) sanitize=1 ;;
    --) shift; ctest_args=("$@"); break ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
  shift
done

./scripts/install-deps.sh

# Another compiler than the system's own builds in trees of its own, so a tree is
# never configured with one compiler and rebuilt with another.
base=build
case "$(basename "${CXX:-c++}")" in
  c++ | g++ | g++-[0-9]*) ;;
  clang++*) base=build-clang ;;
  *) base=build-$(basename "$CXX") ;;
esac

run_ctest() {
  local dir=$1; shift
  # One X server for the whole run; tests that open windows or GL contexts use it.
  # -noreset: by default the server resets whenever its last client leaves, and a
  # test connecting during that reset fails to open the display.
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
    ctest --test-dir "$dir" --output-on-failure -j "${TESSARA_JOBS:-$(nproc)}" "$@"
}

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}
export LIBGL_ALWAYS_SOFTWARE=1

# CI's build is kept free of warnings; a tree built there once keeps no -Werror later.
werror=OFF
case "${CI:-}" in true | TRUE | True | 1) werror=ON ;; esac

./scripts/build.sh "$base" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARA_WERROR=$werror
run_ctest "$base" "${ctest_args[@]}"

if ((sanitize)); then
  ./scripts/build.sh "$base-asan" -DCMAKE_BUILD_TYPE=Debug -DTESSARA_SANITIZE=address -DTESSARA_BUILD_BENCHMARKS=OFF
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_ctest "$base-asan" "${ctest_args[@]}"
  ./scripts/build.sh "$base-tsan" -DCMAKE_BUILD_TYPE=Debug -DTESSARA_SANITIZE=thread -DTESSARA_BUILD_BENCHMARKS=OFF
  # Qt and Mesa are not instrumented: TSan runs the tests whose threads meet in our own code.
  TSAN_OPTIONS="suppressions=$root/scripts/tsan.supp halt_on_error=1" \
    run_ctest "$base-tsan" -L tsan "${ctest_args[@]}"
fi
