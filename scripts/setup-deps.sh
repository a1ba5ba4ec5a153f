#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package that building, running and testing Tavro needs.
# Does nothing when all of them are present already.
#   bash scripts/setup-deps.sh          everything
#   bash scripts/setup-deps.sh build    only what compiling the tree needs (the test script
#                                       installs the rest while it compiles)
set -euo pipefail
build_packages=(
  cmake ninja-build pkg-config git lld clang-14 libclang-rt-14-dev clang-format-14
  qt6-base-dev libqt6opengl6-dev libgl-dev libxcb1-dev
  libsqlite3-dev zlib1g-dev libssl-dev libcurl4-openssl-dev libxml2-dev libsecret-1-dev
  libdbus-1-dev libcpp-httplib-dev libgtest-dev libgmock-dev libbenchmark-dev librsvg2-bin
)
# What the program needs at run time beyond its libraries, and what the tests and checks run.
check_packages=(
  sqlite3 openssl libxml2-utils xvfb xauth fonts-dejavu-core qt6-translations-l10n qt6-wayland
  dpkg-dev file lintian desktop-file-utils appstream ofx python3
  dbus dbus-daemon icewm x11-utils weston libsecret-tools gnome-keyring
)
packages=("${build_packages[@]}")
[ "${1:-}" = "build" ] || packages+=("${check_packages[@]}")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
