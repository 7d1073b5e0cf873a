#!/usr/bin/env bash
# The Debian package: built with CPack from a finished build, unpacked into a
# fresh root, and run from there. Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack --config CPackConfig.cmake -B "$work/pkg" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pkg/sonolift_*_amd64.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for dep in ffmpeg libqt6widgets6 libopencore-amrnb0 zlib1g libpcre2-8-0; do
  case "$depends" in *"$dep"*) ;; *) echo "Depends lacks $dep: $depends"; exit 1 ;; esac
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/sonolift usr/bin/sonolift-batch usr/lib/sonolift/videoenc.dll \
         usr/lib/sonolift/themes/sonolift.theme usr/lib/sonolift/themes/sonolift-graphite.theme \
         usr/share/applications/sonolift.desktop usr/share/icons/hicolor/scalable/apps/sonolift.svg \
         usr/share/mime/packages/sonolift.xml usr/share/sonolift/help.html; do
  [ -e "$root/$f" ] || { echo "missing in the package: $f"; exit 1; }
done
for p in sonolift sonolift-batch videoenc.dll; do
  if readelf -S "$root/usr/lib/sonolift/$p" | grep -q '\.debug_info'; then echo "$p is not stripped"; exit 1; fi
done

"$root/usr/bin/sonolift-batch" --version | grep -q '^Sonolift ' || { echo "no version"; exit 1; }
ffmpeg -nostdin -v error -f lavfi -i "testsrc=size=64x48:rate=10:duration=2" -f lavfi \
  -i "sine=frequency=440:duration=2" -shortest -c:v mpeg4 -c:a aac "$work/clip.mp4"
mkdir "$work/out"
SONOLIFT_INI="$work/strings.ini" "$root/usr/bin/sonolift-batch" -f mp3 -o "$work/out" "$work/clip.mp4" >"$work/run.log" 2>&1 ||
  { cat "$work/run.log"; exit 1; }
[ -s "$work/out/clip.MP3" ] || { echo "no output"; cat "$work/run.log"; exit 1; }
echo "package: $(basename "$deb") installs and converts"
