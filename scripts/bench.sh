#!/usr/bin/env bash
# Builds (through the shared build lock) and runs the bitmap benchmark against pixman.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
build/bin/bitmap_bench
