#!/bin/sh
# A stand-in transcoder for the workflow tests. The "video file" it is given is
# a text file that says what to do:
#   P <text>     printed (stderr) when the file is probed directly
#   A <text>     printed when it is probed through a script (P lines if none)
#   C <command>  run in order during a conversion: say <text> | out <text>
#                | sleep <s> | write | writeempty | exit <n> | crash | wait <gate>
#   W <gate>     a probe creates <gate>.started, then waits until <gate> exists
# Every call's arguments are appended to $FAKE_LOG, one per line, then "--";
# the text of every script probed or converted is appended to $FAKE_SCRIPTS.
in=""
conv=0
last=""
if [ -n "$FAKE_LOG" ]; then
  for a in "$@"; do printf '%s\n' "$a" >> "$FAKE_LOG"; done
  printf -- '--\n' >> "$FAKE_LOG"
fi
while [ $# -gt 0 ]; do
  case "$1" in
    -i) in="$2"; last="$2"; shift; shift; continue ;;
    -vn) conv=1 ;;
  esac
  last="$1"
  shift
done
out="$last"
gate() { : > "$1.started"; while [ ! -e "$1" ]; do sleep 0.02; done; }
viascript=0
case "$in" in
  *.avs)
    viascript=1
    [ -n "$FAKE_SCRIPTS" ] && cat "$in" >> "$FAKE_SCRIPTS"
    in=$(sed -n 's/^DirectShowSource("\(.*\)", fps=30, convertfps=true)\r$/\1/p' "$in")
    ;;
esac
if [ "$conv" = 0 ]; then
  w=$(grep '^W ' "$in" | cut -c3-)
  [ -n "$w" ] && gate "$w"
  if [ "$viascript" = 1 ] && grep -q '^A ' "$in"; then
    grep '^A ' "$in" | cut -c3- >&2
  else
    grep '^P ' "$in" | cut -c3- >&2
  fi
  exit 1
fi
cmds=$(mktemp)
grep '^C ' "$in" | cut -c3- > "$cmds"
status=0
written=0
while IFS= read -r line; do
  case "$line" in
    say\ *) printf '%s\n' "${line#say }" >&2 ;;
    out\ *) printf '%s\n' "${line#out }" ;;
    sleep\ *) sleep "${line#sleep }" ;;
    write)
      # The first write of a run replaces an old output, as the real front does.
      if [ "$written" = 0 ]; then printf 'audio data' > "$out"; else printf 'audio data' >> "$out"; fi
      written=1 ;;
    writeempty) : > "$out" ;;
    exit\ *) status="${line#exit }"; break ;;
    crash) rm -f "$cmds"; kill -SEGV $$ ;;
    wait\ *) gate "${line#wait }" ;;
  esac
done < "$cmds"
rm -f "$cmds"
exit "$status"
