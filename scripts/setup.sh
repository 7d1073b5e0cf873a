#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent: prints nothing and touches nothing when all are present.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git bc
  qt6-base-dev libgl-dev
  libpcre2-dev zlib1g-dev libsimpleini-dev libopencore-amrnb-dev libpixman-1-dev
  ffmpeg libavformat-dev libavcodec-dev libavutil-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb openbox xdotool imagemagick x11-utils
  fonts-dejavu-core
  binutils-mingw-w64-x86-64
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
