#!/usr/bin/env bash
# Installs what the suite needs to build, run and test on a Debian machine.
# Only missing packages are installed; a machine that has them all is left alone.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libmpv-dev libcdio-dev libfluidsynth-dev timgm6mb-soundfont
  libgtest-dev libbenchmark-dev
  xvfb xauth x11-utils imagemagick libxtst6 python3
  ffmpeg sox poppler-utils vcdimager
  fonts-arphic-uming fonts-noto-cjk
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
