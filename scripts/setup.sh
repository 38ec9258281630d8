#!/usr/bin/env bash
# SPDX-License-Identifier: BSD-3-Clause
# Installs every Debian package the project needs, then configures and builds.
# Usage: scripts/setup.sh [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6opengl6-dev libgl-dev qt6-qpa-plugins
  libgtest-dev libgmock-dev googletest libbenchmark-dev liblapack-dev libblas-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  poppler-utils clang libclang-rt-14-dev clang-format xauth xvfb python3
  zlib1g-dev rapidjson-dev libfmt-dev python3-numpy
  # icons, manual pages, the Debian package and the desktop files' checks
  librsvg2-bin dpkg-dev debhelper lintian appstream desktop-file-utils
  shared-mime-info xdg-utils libfile-mimeinfo-perl libglib2.0-bin file
  # Qt's Japanese texts; the desktop tests' X server, window manager and tools
  qt6-translations-l10n openbox xdotool wmctrl x11-utils imagemagick
  # the web edition: its compiler, node for its tests and tools, the browser for its page tests
  emscripten node-acorn nodejs chromium
)
# Debian's npm would pull an older node than a node that brings its own npm.
command -v npm >/dev/null || packages+=(npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build
scripts/web.sh
