#!/usr/bin/env bash
# Overhead of a batch through sonolift-batch against the same conversions as
# bare ffmpeg commands run one after another, and the same batch with two
# jobs side by side (-j 2). Prints the times (median of RUNS) and the ratios
# to bare ffmpeg; then keeping the audio (--copy-audio) against converting it,
# both to MP4. Usage: bench/batch_overhead.sh [CLIPS] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
clips=${1:-8}
runs=${2:-3}
scripts/build.sh >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/a" "$work/b" "$work/c" "$work/d" "$work/e"
for i in $(seq 1 "$clips"); do
  ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=320x240:rate=25:duration=60" \
    -f lavfi -i "sine=frequency=$((200 + i * 50)):sample_rate=44100:duration=60" -shortest \
    -c:v mpeg4 -c:a aac "$work/in/clip $i.mp4"
done

now() { date +%s.%N; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

ours=()
bare=()
twojobs=()
copied=()
converted=()
for r in $(seq 1 "$runs"); do
  rm -f "$work"/a/* "$work"/b/* "$work"/c/* "$work"/d/* "$work"/e/*
  t0=$(now)
  SONOLIFT_INI="$work/strings.ini" build/bin/sonolift-batch -f MP3 -r 44100 -b 128 --stereo --overwrite \
    -o "$work/a" "$work"/in/*.mp4 >/dev/null
  t1=$(now)
  for f in "$work"/in/*.mp4; do
    b=$(basename "$f" .mp4)
    ffmpeg -nostdin -loglevel info -vn -i "$f" -ac 2 -ar 44100 -ab 128000 "$work/b/$b.MP3" 2>/dev/null
  done
  t2=$(now)
  SONOLIFT_INI="$work/strings.ini" build/bin/sonolift-batch -j 2 -f MP3 -r 44100 -b 128 --stereo --overwrite \
    -o "$work/c" "$work"/in/*.mp4 >/dev/null
  t3=$(now)
  SONOLIFT_INI="$work/strings.ini" build/bin/sonolift-batch --copy-audio -f MP4 -o "$work/d" "$work"/in/*.mp4 >/dev/null
  t4=$(now)
  SONOLIFT_INI="$work/strings.ini" build/bin/sonolift-batch -f MP4 -r 44100 -b 128 -o "$work/e" "$work"/in/*.mp4 >/dev/null
  t5=$(now)
  copied+=("$(echo "$t4 - $t3" | bc -l)")
  converted+=("$(echo "$t5 - $t4" | bc -l)")
  ours+=("$(echo "$t1 - $t0" | bc -l)")
  bare+=("$(echo "$t2 - $t1" | bc -l)")
  twojobs+=("$(echo "$t3 - $t2" | bc -l)")
done
o=$(printf '%s\n' "${ours[@]}" | median)
b=$(printf '%s\n' "${bare[@]}" | median)
j=$(printf '%s\n' "${twojobs[@]}" | median)
printf 'clips=%d x 60 s  sonolift-batch=%.2fs  bare ffmpeg=%.2fs  ratio=%.3f\n' "$clips" "$o" "$b" "$(echo "$o / $b" | bc -l)"
printf 'sonolift-batch -j 2=%.2fs  ratio to bare ffmpeg one after another=%.3f\n' "$j" "$(echo "$j / $b" | bc -l)"
k=$(printf '%s\n' "${copied[@]}" | median)
c=$(printf '%s\n' "${converted[@]}" | median)
printf 'to MP4: --copy-audio=%.2fs  converting=%.2fs  speed-up=%.1fx\n' "$k" "$c" "$(echo "$c / $k" | bc -l)"
