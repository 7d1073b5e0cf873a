# Sourced by the GUI tests: an X server with a window manager of its own, and a
# clean-up that ends what the test started. Needs $work (a scratch folder) set;
# afterwards DISPLAY and XDG_RUNTIME_DIR point into the session.
# `forget PID` drops a child the test has already waited for, so that the
# clean-up never signals a process that may be gone.
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work" 2>/dev/null || true
}
trap cleanup EXIT
forget() {
  local keep=() p
  for p in "${pids[@]}"; do [ "$p" = "$1" ] || keep+=("$p"); done
  pids=("${keep[@]}")
}

for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 &
pids+=($!)
# The window manager is up once it names its check window on the root.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
