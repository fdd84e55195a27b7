#!/usr/bin/env bash
# Builds and runs every bench_<area> program (Google Benchmark) from build/.
#   ./bench.sh [bench_area ...] [-- benchmark args]
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
./scripts/install-deps.sh
./scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
names=()
args=()
while (($#)); do
  if [ "$1" = "--" ]; then shift; args=("$@"); break; fi
  names+=("$1"); shift
done
if ((${#names[@]} == 0)); then
  for b in build/bench/bench_*; do [ -x "$b" ] && names+=("$(basename "$b")"); done
fi
if ((${#names[@]} == 0)); then
  echo "no benchmarks built"
  exit 0
fi
export LIBGL_ALWAYS_SOFTWARE=1
for n in "${names[@]}"; do
  echo "== $n"
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" "build/bench/$n" "${args[@]}"
done
