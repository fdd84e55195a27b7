#!/usr/bin/env bash
# parthost --edit --interactive under a display: the table dialog waits for a person;
# a click on OK sent with xdotool stores the part as a scripted OK does, and a click on
# キャンセル stores nothing. Text typed into a drop-down cell and confirmed with Return
# reaches the CSV written after OK, and Return alone never closes the dialog.
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
dialog=""
trap 'if [ -n "$host" ]; then kill "$host" 2>/dev/null || true; fi; rm -rf "$scratch"' EXIT
seed="$source/examples/ctrlpoint/strict-network.json"
plugin="$build/plugins/Mod00519.so"
echo '{ "dialog": { "steps": [ { "button": 1 } ] } }' > "$scratch/ok.json"

"$build/bin/parthost" --seed "$seed" --plugin "$plugin" --out "$scratch/scripted" --edit --script "$scratch/ok.json" \
  > "$scratch/scripted.out" 2>&1
scripted=$(grep '^STORED ' "$scratch/scripted.out")

# Starts the dialog for a person (further parthost options after the button's name),
# then clicks the named button where parthost says it is.
click_through() {
  local out=$1 button=$2
  shift 2
  start_interactive "$out" "$@"
  click_at "$out" "$button"
  finish_host "$out"
}

# Starts parthost for a person and waits until its dialog is on screen.
start_interactive() {
  local out=$1
  shift
  "$build/bin/parthost" --seed "$seed" --plugin "$plugin" --out "$scratch/$out" --edit --interactive "$@" \
    > "$scratch/$out.out" 2>&1 &
  host=$!
  wait_line "$out" 'INTERACTIVE waiting'
  wait_dialog_focus
}

# Waits until parthost's dialog holds the keyboard and remembers its window: a box
# shown over it may carry the same title.
wait_dialog_focus() {
  local deadline=$((SECONDS + 60)) window
  until window=$(xdotool getwindowfocus 2>/dev/null) &&
    [ "$(xdotool getwindowpid "$window" 2>/dev/null)" = "$host" ]; do
    if ((SECONDS > deadline)); then
      echo "parthost's dialog never took the keyboard" >&2; exit 1
    fi
    sleep 0.1
  done
  dialog=$window
}

# Waits for parthost to end and shows what it printed.
finish_host() {
  wait "$host"
  host=""
  cat "$scratch/$1.out"
}

# Waits until parthost has printed a line starting with the text.
wait_line() {
  local out=$1 text=$2 deadline=$((SECONDS + 60))
  until grep -q "^$text" "$scratch/$out.out"; do
    if ((SECONDS > deadline)) || ! kill -0 "$host" 2>/dev/null; then
      echo "parthost never printed: $text" >&2; cat "$scratch/$out.out" >&2; exit 1
    fi
    sleep 0.1
  done
}

# Waits until a window with the title other than the dialog holds the keyboard (a box
# or chooser shown to the person). parthost prints a box's text before the box is on
# screen, and a key sent before it holds the keyboard goes to the blocked dialog.
wait_focus() {
  local title=$1 deadline=$((SECONDS + 60)) window
  until window=$(xdotool getwindowfocus 2>/dev/null) && [ "$window" != "$dialog" ] &&
    [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$title" ]; do
    if ((SECONDS > deadline)); then
      echo "no window \"$title\" took the keyboard" >&2; exit 1
    fi
    sleep 0.1
  done
}

# Clicks what parthost placed under the name ("OK", "cell 9002 0x6FFF0D0C").
click_at() {
  local out=$1 what=$2 x y
  read -r x y < <(sed -n "s/^INTERACTIVE $what at \(-\?[0-9]*\) \(-\?[0-9]*\)$/\1 \2/p" "$scratch/$out.out")
  if [ -z "$x" ]; then
    echo "parthost did not place $what" >&2; cat "$scratch/$out.out" >&2; exit 1
  fi
  xdotool mousemove "$x" "$y" click 1
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
# Levelling: a click on データ品質適用範囲, Return opens it, the typed text replaces
# its value, Return confirms it; then OK. The CSV written afterwards (--csv, answered
# by the seed's script) carries the typed text.
seed="$source/examples/levelling/grade1.json"
plugin="$build/plugins/Mod00963.so"
start_interactive typed --csv
click_at typed "cell 9002 0x6FFF0D0C"
# The keys reach the dialog in order; a Return that closed it would leave the old
# value in the CSV.
xdotool key Return
xdotool key ctrl+a
xdotool type "NEWAREA"
xdotool key Return
click_at typed OK
finish_host typed
grep -q '^EDIT closed with OK$' "$scratch/typed.out"
csv=$(sed -n 's/^CSV //p' "$scratch/typed.out" | head -n 1)
test -n "$csv"
iconv -f CP932 -t UTF-8 "$csv" | grep -q 'NEWAREA'

# What the dialog shows is the person's to answer: ﾍﾙﾌﾟ, the CSV output's file chooser
# (a name typed without its extension gets .CSV) and its closing message wait for keys
# on screen.
start_interactive shown
click_at shown ﾍﾙﾌﾟ
wait_line shown 'MSG\[ヘルプ'
wait_focus "ヘルプ MOD00963.DLL"
xdotool key Return
wait_line shown 'ANSWER 1'
click_at shown CSVファイル出力
wait_line shown 'CHOOSE asking the person'
wait_focus "名前を付けて保存"
xdotool type "CHOSEN"
xdotool key Return
wait_line shown 'CHOOSE CHOSEN.CSV'
wait_line shown 'MSG\[水準測量品質評価表\] 水準測量品質評価表CSVファイル出力が終了しました'
wait_focus "水準測量品質評価表"
xdotool key Return
click_at shown キャンセル
finish_host shown
test "$(grep -c '^ANSWER 1$' "$scratch/shown.out")" = 2
test -s "$scratch/shown/data/binder/files/CHOSEN.CSV"

# A grade chosen from the cell's list asks the person; Esc (いいえ) puts the old grade
# back, so OK stores the part as it was. The grade is a list, not typed: Return opens
# the cell, Alt+Down its list, Down and Return choose 2級水準測量.
echo '{ "dialog": { "steps": [ { "button": 1 } ] } }' > "$scratch/ok.json"
"$build/bin/parthost" --seed "$seed" --plugin "$plugin" --out "$scratch/grade-scripted" --edit --script "$scratch/ok.json" \
  > "$scratch/grade-scripted.out" 2>&1
start_interactive grade
click_at grade "cell 9002 0x1C40467"
xdotool key Return
xdotool key alt+Down
xdotool key Down
xdotool key Return
wait_line grade 'MSG\[水準測量品質評価表\] 等級区分を変更すると'
wait_focus "水準測量品質評価表"
xdotool key Escape
wait_line grade 'ANSWER 7'
click_at grade OK
finish_host grade
test "$(grep '^STORED ' "$scratch/grade.out")" = "$(grep '^STORED ' "$scratch/grade-scripted.out")"
echo "parthost interactive: ok"
