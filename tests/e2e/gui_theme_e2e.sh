#!/usr/bin/env bash
# The real window under Xvfb and openbox, as a person sees it: on both pages the
# buttons' faces and the check box are the stored theme's own pixels, as the
# theme tool paints them. Usage: gui_theme_e2e.sh BIN_DIR [SHOT_DIR]
# (SHOT_DIR keeps the two screenshots.)
set -euo pipefail
bin=$1
shots=${2:-}
for tool in import compare convert; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
work=$(mktemp -d)
. "$(dirname "$0")/xsession.sh"
theme="$bin/themes/sonolift.theme"

# What the theme paints, without text: the top and bottom edges of an 84 x 25
# button face in its normal state (the page buttons), and the middle of an
# unchecked check box.
QT_QPA_PLATFORM=offscreen "$bin/sonolift-theme" render --theme "$theme" --op PaintButton --size 84x25 \
  --state 0 "$work/face.png" 2>/dev/null
convert "$work/face.png" -crop 76x4+4+0 +repage "$work/top.png"
convert "$work/face.png" -crop 76x4+4+21 +repage "$work/bottom.png"
QT_QPA_PLATFORM=offscreen "$bin/sonolift-theme" render --theme "$theme" --op PaintCheckBox --size 13x13 \
  --state 5 "$work/box.png" 2>/dev/null
convert "$work/box.png" -crop 11x11+1+1 +repage "$work/box-middle.png"

printf '[Common]\nstrOutputDir=%s\n' "$work" > "$work/strings.ini"
SONOLIFT_INI="$work/strings.ini" QT_QPA_PLATFORM=xcb "$bin/sonolift" >"$work/log" 2>&1 &
app=$!
pids+=($app)
win=$(xdotool search --sync --onlyvisible --name "^Sonolift" | head -1)
# The pointer away from the window: no button is hot.
xdotool mousemove 1020 760

# Where PART shows in a screenshot of the window, exactly: "X Y". Screenshots
# are taken until it does (the window may not have painted yet), for at most
# a minute.
find_part() {
  local part=$1 name=$2 out
  for _ in $(seq 300); do
    import -window "$win" "$work/$name.png" 2>/dev/null || { sleep 0.2; continue; }
    if out=$(compare -metric AE -subimage-search "$work/$name.png" "$part" null: 2>&1); then
      echo "$out" | sed -n 's/.*@ \([0-9]*\),\([0-9]*\).*/\1 \2/p'
      return 0
    fi
    sleep 0.2
  done
  echo "not found in the screenshot $name: $part" >&2
  [ -z "$shots" ] || cp "$work/$name.png" "$shots/"
  return 1
}
# Whether PART lies exactly at X Y in the screenshot NAME.
part_at() {
  local name=$1 part=$2 x=$3 y=$4 size
  size=$(identify -format '%wx%h' "$part")
  convert "$work/$name.png" -crop "${size}+${x}+${y}" +repage "$work/cut.png"
  compare -metric AE "$work/cut.png" "$part" null: 2>/dev/null
}

read -r x y < <(find_part "$work/top.png" batch)
part_at batch "$work/bottom.png" "$x" $((y + 21)) || { echo "a button's bottom edge is not the theme's"; exit 1; }
if compare -metric AE -subimage-search "$work/batch.png" "$work/box-middle.png" null: 2>/dev/null; then
  echo "a check box shows on the Batch page"; exit 1
fi

xdotool key --window "$win" --clearmodifiers alt+o
find_part "$work/box-middle.png" options >/dev/null
read -r x y < <(find_part "$work/top.png" options)
part_at options "$work/bottom.png" "$x" $((y + 21)) || { echo "a button's bottom edge is not the theme's"; exit 1; }
[ -z "$shots" ] || cp "$work/batch.png" "$work/options.png" "$shots/"

# The window closes on the key press; the key release then finds no window.
xdotool key --window "$win" --clearmodifiers alt+F4 2>/dev/null || true
rc=0
wait "$app" || rc=$?
forget "$app"
[ $rc = 0 ] || { echo "sonolift exited with $rc"; cat "$work/log"; exit 1; }
echo "gui theme e2e: 1 passed, 0 failed"
