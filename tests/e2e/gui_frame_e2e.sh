#!/usr/bin/env bash
# The window's own frame under Xvfb and openbox, driven with XTEST input: the
# window manager draws no decoration, the caption is the stored theme's, a drag
# on the caption moves the window, the maximise button fills the work area and
# the close button closes; the system menu's Theme submenu switches to Flat,
# whose caption then shows, and the choice is there again at the next start.
# Usage: gui_frame_e2e.sh BIN_DIR
set -euo pipefail
bin=$1
for tool in import compare convert xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
work=$(mktemp -d)
. "$(dirname "$0")/xsession.sh"
printf '[Common]\nstrOutputDir=%s\n' "$work" > "$work/strings.ini"

start() {
  SONOLIFT_INI="$work/strings.ini" QT_QPA_PLATFORM=xcb "$bin/sonolift" >"$work/log" 2>&1 &
  app=$!
  pids+=($app)
  win=$(xdotool search --sync --onlyvisible --name "^Sonolift" | head -1)
  xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
}
# Waits for the program to end after a close and forgets it; fails if it did not.
closed() {
  local rc=0
  wait "$app" || rc=$?
  forget "$app"
  [ $rc = 0 ] || { echo "sonolift exited with $rc"; cat "$work/log"; exit 1; }
}
geometry() {  # "X Y W H" of the window on the screen
  xwininfo -id "$win" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
# The middle of an active caption as a theme paints it for the window's size.
caption_part() {  # THEME-ARGS... OUT
  local out=${*: -1}
  read -r _ _ w h < <(geometry)
  QT_QPA_PLATFORM=offscreen "$bin/sonolift-theme" render "${@:1:$#-1}" --op PaintWindow --size "${w}x${h}" \
    --active 1 "$work/frame.png" 2>/dev/null
  convert "$work/frame.png" -crop "160x6+$((w / 2 - 80))+4" +repage "$out"
}
# Whether PART shows in the window, waiting (at most a minute) for it to be painted.
shows() {
  for _ in $(seq 300); do
    import -window "$win" "$work/shot.png" 2>/dev/null &&
      compare -metric AE -subimage-search "$work/shot.png" "$1" null: >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}

start
xprop -id "$win" _NET_FRAME_EXTENTS | grep -q '= 0, 0, 0, 0' ||
  { echo "the window manager decorates the window"; xprop -id "$win" _NET_FRAME_EXTENTS; exit 1; }
caption_part --theme "$bin/themes/sonolift.theme" "$work/stored.png"
shows "$work/stored.png" || { echo "the caption is not the stored theme's"; exit 1; }

# A drag on the caption moves the window by as much.
read -r x y w h < <(geometry)
xdotool mousemove $((x + w / 2)) $((y + 12)) mousedown 1 mousemove $((x + w / 2 + 20)) $((y + 20)) \
  mousemove $((x + w / 2 + 50)) $((y + 52)) mouseup 1
for _ in $(seq 100); do [ "$(geometry)" = "$((x + 50)) $((y + 40)) $w $h" ] && break; sleep 0.1; done
[ "$(geometry)" = "$((x + 50)) $((y + 40)) $w $h" ] || { echo "not moved: $(geometry)"; exit 1; }

# The stored theme's caption buttons sit at the right end: close, maximise, minimise.
read -r x y w h < <(geometry)
xdotool mousemove $((x + w - 44)) $((y + 17)) click 1
read -r sw sh < <(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
for _ in $(seq 100); do [ "$(geometry)" = "0 0 $sw $sh" ] && break; sleep 0.1; done
[ "$(geometry)" = "0 0 $sw $sh" ] || { echo "maximise did not fill the work area: $(geometry)"; exit 1; }

# The Theme submenu of the system menu (right button on the caption): Flat.
xdotool mousemove $((sw / 2)) 12 click 3
sleep 0.5
xdotool key h
sleep 0.3
xdotool key f
caption_part --builtin Flat "$work/flat.png"
shows "$work/flat.png" || { echo "the caption did not turn to Flat"; exit 1; }
grep -q '^Theme=Flat' "$work/strings.ini" || { echo "the theme is not remembered"; cat "$work/strings.ini"; exit 1; }
grep -q '^strOutputDir=' "$work/strings.ini" || { echo "section Common was lost"; exit 1; }

# Flat's close button is the last one on the right.
read -r x y w h < <(geometry)
xdotool mousemove $((x + w - 12)) $((y + 10)) click 1
closed

start
caption_part --builtin Flat "$work/flat.png"
shows "$work/flat.png" || { echo "Flat is not in force at the next start"; exit 1; }
xdotool key --clearmodifiers alt+F4
closed
echo "gui frame e2e: 1 passed, 0 failed"
