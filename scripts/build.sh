#!/usr/bin/env bash
# Configures and builds one build folder.
#   scripts/build.sh            -> build/      (RelWithDebInfo)
#   scripts/build.sh --sanitize -> build-asan/ (AddressSanitizer + UndefinedBehaviorSanitizer)
# Builds are serialised through a lock so that two never share the machine's cores at once.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  args=(-DCMAKE_BUILD_TYPE=Debug -DSONOLIFT_SANITIZE=ON -DSONOLIFT_BENCH=OFF)
fi
if command -v ninja >/dev/null; then args+=(-G Ninja); fi
if command -v ccache >/dev/null; then args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi

exec 9>/tmp/sonolift-build.lock
flock 9
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${args[@]}" >/dev/null
fi
cmake --build "$dir" -j"$(nproc)"
