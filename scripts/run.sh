#!/usr/bin/env bash
# Sets up, builds, makes a small demo clip with FFmpeg and extracts its audio.
# When a display is available and the window program exists, opens the window
# with the demo clip in its list instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh >/dev/null

demo="$PWD/build/demo"
mkdir -p "$demo/out"
clip="$demo/demo clip.mp4"
if [ ! -s "$clip" ]; then
  ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=320x240:rate=25:duration=5" \
    -f lavfi -i "sine=frequency=440:duration=5" -shortest \
    -c:v libx264 -pix_fmt yuv420p -c:a aac "$clip"
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/sonolift ]; then
  exec build/bin/sonolift "$clip"
fi

build/bin/sonolift-batch --format MP3 --rate 44100 --bitrate 128 --stereo \
  --output-dir "$demo/out" --overwrite "$clip"
echo "Extracted audio is in $demo/out:"
ls -l "$demo/out"
