#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite; then once more under
# AddressSanitizer and UndefinedBehaviorSanitizer (skip that pass with --fast).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh
(cd build && ctest --output-on-failure -j2)

if [ "${1:-}" != "--fast" ]; then
  scripts/build.sh --sanitize
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  (cd build-asan && ctest --output-on-failure -j2)
fi
