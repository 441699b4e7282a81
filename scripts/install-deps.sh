#!/usr/bin/env bash
# Installs the Debian packages that the builds and tests need, only when missing.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64
  # Wine plays the sound and video clips through GStreamer.
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  xvfb x11-utils x11-apps xdotool imagemagick
  clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  libtomlplusplus-dev libstb-dev
  # libjpeg-turbo is built from Debian's source package (apt-get source, dpkg-source) with its
  # SIMD code (nasm); the benchmark compares the maker with its djpeg.
  dpkg-dev nasm libjpeg-turbo-progs
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
