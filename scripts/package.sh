#!/usr/bin/env bash
# Builds the Debian package sonolift_<version>_amd64.deb into build/package/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh
mkdir -p build/package
(cd build && cpack --config CPackConfig.cmake -B package >/dev/null)
ls build/package/*.deb
