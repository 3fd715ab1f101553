#!/usr/bin/env bash
# Installs the Debian packages the build needs, skipping what is already there.
# Usage: scripts/install-deps.sh [--gui]   (--gui adds what a screenshot under Xvfb needs)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libpugixml-dev zlib1g-dev libminizip-dev libpng-dev libjpeg62-turbo-dev
  libsdl2-dev libvorbis-dev libopenmpt-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev python3
  desktop-file-utils appstream
)
if [ "${1:-}" = "--gui" ]; then
  packages+=(xvfb xauth)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
apt_opts=(-o DPkg::Lock::Timeout=600 -y --no-install-recommends)
echo "Installing: ${missing[*]}"
$sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get "${apt_opts[@]}" install "${missing[@]}"
