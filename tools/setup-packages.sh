#!/usr/bin/env bash
# Installs the Debian packages the build needs when they are missing (apt-get, as root).
set -eu
packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libegl-dev libgl-dev libopengl-dev libgl1-mesa-dri libegl-mesa0
  libexpat1-dev libpng-dev zlib1g-dev libvorbis-dev libsoundtouch-dev libglm-dev
  libfreetype-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
)
# The fuzz targets need clang with its sanitizer runtimes, and the message-box tests an X server
# (Xvfb) with the core fonts the box draws with; only the test command asks for them.
if [ "${1:-}" = "--test" ]; then
  packages+=(clang libclang-rt-14-dev xvfb xfonts-base)
fi
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in *"ok installed"*) ;; *) missing+=("$p") ;; esac
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
