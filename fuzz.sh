#!/usr/bin/env bash
# Builds the fuzz targets (tests/fuzz/) with clang 16, libFuzzer, ASan and UBSan in
# build-fuzz/ and runs each for SECONDS (default 60), one after the other unless
# FUZZ_PARALLEL says otherwise. Not part of
# ./test.sh; the regular build replays the corpora instead.
#   ./fuzz.sh [SECONDS] [TARGET...]      e.g. ./fuzz.sh 600, ./fuzz.sh 30 bmp seed
# New inputs go to build-fuzz/corpus/<target>/ (the seeds in tests/fuzz/corpus/ are
# only read); a crash leaves its input in build-fuzz/findings/<target>/.
# Environment: FUZZ_JOBS parallel fuzzing processes per target (default 1),
# FUZZ_PARALLEL targets fuzzed at once (default 1; one per core is fine),
# TESSARA_JOBS build jobs (default: processors).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"

seconds=${1:-60}
shift || true
if ! [[ $seconds =~ ^[0-9]+$ ]]; then
  echo "usage: ./fuzz.sh [SECONDS] [TARGET...]" >&2
  exit 2
fi

./scripts/install-deps.sh
fuzz_packages=(clang-16 libclang-rt-16-dev)
missing=()
for p in "${fuzz_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build=$root/build-fuzz
if [ ! -f "$build/build.ninja" ]; then
  CC=clang-16 CXX=clang++-16 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTESSARA_FUZZ=ON -DTESSARA_BUILD_BENCHMARKS=OFF
fi
cmake --build "$build" -j "${TESSARA_JOBS:-$(nproc)}" --target fuzz_targets

targets=("$@")
if ((${#targets[@]} == 0)); then
  for dir in tests/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
for t in "${targets[@]}"; do
  if [ ! -x "$build/fuzz/fuzz_$t" ]; then
    echo "no fuzz target '$t'" >&2
    exit 2
  fi
done

# Runs one target; its verdict is left in findings/<target>/status for the summary.
run_target() {
  local t=$1 program=$build/fuzz/fuzz_$1 jobs=${FUZZ_JOBS:-1} parallel=() status=0
  mkdir -p "$build/corpus/$t" "$build/findings/$t"
  rm -f "$build/findings/$t/status"
  if ((jobs > 1)); then parallel=(-jobs="$jobs" -workers="$jobs"); fi
  # -rss_limit_mb and -malloc_limit_mb catch runaway allocations; -timeout a reader
  # that hangs on one input.
  (cd "$build/findings/$t" && "$program" "$build/corpus/$t" "$root/tests/fuzz/corpus/$t" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024 \
      -max_len=65536 -artifact_prefix="$build/findings/$t/" -print_final_stats=1 "${parallel[@]}" \
      2>"$build/findings/$t/log.txt") || status=$?
  echo "$status" >"$build/findings/$t/status"
  {
    echo "== $t: ${seconds}s, exit $status"
    grep -E "^stat::number_of_executed_units|^#[0-9]+.*(DONE|cov)" "$build/findings/$t/log.txt" | tail -2 || true
  }
}

# FUZZ_PARALLEL targets run at once (default 1: one after the other).
running=0
for t in "${targets[@]}"; do
  if ((running >= ${FUZZ_PARALLEL:-1})); then
    wait -n || true
    running=$((running - 1))
  fi
  run_target "$t" &
  running=$((running + 1))
done
wait || true

failed=()
for t in "${targets[@]}"; do
  [ "$(cat "$build/findings/$t/status" 2>/dev/null)" = 0 ] || failed+=("$t")
done
if ((${#failed[@]})); then
  echo "findings (inputs and logs in build-fuzz/findings/): ${failed[*]}" >&2
  exit 1
fi
echo "no findings"
