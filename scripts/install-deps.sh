#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
set -euo pipefail
packages=(cmake g++ qt6-base-dev libgl-dev fonts-dejavu-core googletest libgtest-dev
          xvfb xdotool imagemagick x11-utils clang libclang-rt-14-dev llvm
          fonts-urw-base35 libqt6opengl6-dev parallel
          pybind11-dev python3-dev python3-numpy python3-pytest python3-mpmath python3-ase python3-distributed python3-nbconvert python3-ipykernel libcli11-dev
          dpkg-dev desktop-file-utils appstream lintian man-db mypy valgrind locales
          qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libpng-dev
          slurm-wlm munge)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The tests run once more in a locale with a decimal comma (test.sh); it is
# generated only when the system does not have it yet.
if ! locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8'; then
  echo "Generating the locale ru_RU.UTF-8"
  $SUDO localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
