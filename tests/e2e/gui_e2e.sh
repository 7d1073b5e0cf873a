#!/usr/bin/env bash
# The real window under Xvfb: started with two generated clips as arguments,
# Alt+E extracts them, the outputs appear, and the window closes (which it
# refuses while a batch runs). Usage: gui_e2e.sh BIN_DIR
set -euo pipefail
bin=$1
for tool in ffmpeg ffprobe; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
work=$(mktemp -d)
. "$(dirname "$0")/xsession.sh"

mkdir -p "$work/in" "$work/out dir"
for n in "first clip" "second clip"; do
  ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=160x120:rate=15:duration=3" \
    -f lavfi -i "sine=frequency=440:duration=3" -shortest -c:v mpeg4 -c:a aac "$work/in/$n.mp4"
done
printf '[Common]\nstrOutputDir=%s\ncbFileFormat=0\n' "$work/out dir" > "$work/strings.ini"

SONOLIFT_INI="$work/strings.ini" QT_QPA_PLATFORM=xcb "$bin/sonolift" "$work/in/first clip.mp4" \
  "$work/in/second clip.mp4" >"$work/log" 2>&1 &
app=$!
pids+=($app)

win=$(xdotool search --sync --onlyvisible --name "^Sonolift " | head -1)
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
sleep 0.5
xdotool key --window "$win" --clearmodifiers alt+e

ok=0
for _ in $(seq 300); do
  if [ -s "$work/out dir/first clip.MP3" ] && [ -s "$work/out dir/second clip.MP3" ]; then ok=1; break; fi
  sleep 0.1
done
[ $ok = 1 ] || { echo "outputs did not appear"; ls -l "$work/out dir"; cat "$work/log"; exit 1; }

# Closing succeeds only once the batch has ended.
closed=0
for _ in $(seq 100); do
  xdotool key --window "$win" --clearmodifiers alt+F4 2>/dev/null || true
  sleep 0.2
  if ! kill -0 "$app" 2>/dev/null; then closed=1; break; fi
done
[ $closed = 1 ] || { echo "window did not close"; cat "$work/log"; exit 1; }
rc=0
wait "$app" || rc=$?
forget "$app"
[ $rc = 0 ] || { echo "sonolift exited with $rc"; cat "$work/log"; exit 1; }

for n in "first clip" "second clip"; do
  codec=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name -of default=nw=1:nk=1 \
    "$work/out dir/$n.MP3")
  [ "$codec" = mp3 ] || { echo "$n.MP3 is not mp3: $codec"; exit 1; }
done
grep -q '^bOverWrite' "$work/strings.ini" || { echo "settings not saved at exit"; cat "$work/strings.ini"; exit 1; }
echo "gui e2e: 1 passed, 0 failed"
