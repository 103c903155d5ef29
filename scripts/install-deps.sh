#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
set -euo pipefail
packages=(cmake g++ qt6-base-dev libgl-dev fonts-dejavu-core googletest libgtest-dev
          xvfb xdotool imagemagick x11-utils clang libclang-rt-14-dev llvm
          fonts-urw-base35 qt6-charts-dev libqt6opengl6-dev parallel
          pybind11-dev python3-dev python3-numpy python3-pytest python3-mpmath python3-ase libcli11-dev
          dpkg-dev desktop-file-utils appstream)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
