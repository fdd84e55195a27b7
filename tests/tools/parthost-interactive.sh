#!/usr/bin/env bash
# parthost --edit --interactive under a display: the table dialog waits for a person;
# a click on OK sent with xdotool stores the part as a scripted OK does, and a click on
# キャンセル stores nothing.
#   parthost-interactive.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
if ! command -v xdotool > /dev/null; then
  echo "xdotool is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessara-interactive.XXXXXX")
host=""
trap 'if [ -n "$host" ]; then kill "$host" 2>/dev/null || true; fi; rm -rf "$scratch"' EXIT
seed="$source/examples/ctrlpoint/strict-network.json"
plugin="$build/plugins/Mod00519.so"
echo '{ "dialog": { "steps": [ { "button": 1 } ] } }' > "$scratch/ok.json"

"$build/bin/parthost" --seed "$seed" --plugin "$plugin" --out "$scratch/scripted" --edit --script "$scratch/ok.json" \
  > "$scratch/scripted.out" 2>&1
scripted=$(grep '^STORED ' "$scratch/scripted.out")

# Starts the dialog for a person, then clicks the named button where parthost says it is.
click_through() {
  local out=$1 button=$2
  "$build/bin/parthost" --seed "$seed" --plugin "$plugin" --out "$scratch/$out" --edit --interactive \
    > "$scratch/$out.out" 2>&1 &
  host=$!
  local deadline=$((SECONDS + 60))
  until grep -q '^INTERACTIVE waiting' "$scratch/$out.out"; do
    if ((SECONDS > deadline)) || ! kill -0 "$host" 2>/dev/null; then
      echo "the dialog did not come up" >&2; cat "$scratch/$out.out" >&2; exit 1
    fi
    sleep 0.1
  done
  local x y
  read -r x y < <(sed -n "s/^INTERACTIVE $button at \(-\?[0-9]*\) \(-\?[0-9]*\)$/\1 \2/p" "$scratch/$out.out")
  xdotool mousemove "$x" "$y" click 1
  wait "$host"
  host=""
  cat "$scratch/$out.out"
}

click_through clicked OK
grep -q '^EDIT closed with OK$' "$scratch/clicked.out"
test "$(grep '^STORED ' "$scratch/clicked.out")" = "$scripted"
for file in binder/common/KJNHYOUKA.ini user/KJNHYOUKA.ini; do
  cmp "$scratch/scripted/data/$file" "$scratch/clicked/data/$file"
done

click_through cancelled キャンセル
grep -q '^EDIT closed with キャンセル$' "$scratch/cancelled.out"
test ! -e "$scratch/cancelled/data/user/KJNHYOUKA.ini"
echo "parthost interactive: ok"
