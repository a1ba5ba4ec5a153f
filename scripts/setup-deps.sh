#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package that building, running and testing Tavro needs.
# Does nothing when all of them are present already.
set -euo pipefail
packages=(
  cmake ninja-build pkg-config git lld
  qt6-base-dev libqt6opengl6-dev libgl-dev
  libsqlite3-dev sqlite3 zlib1g-dev libssl-dev openssl libcurl4-openssl-dev
  libcpp-httplib-dev libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-utils libxml2-dev clang-14 clang-format-14 libclang-rt-14-dev xvfb xauth fonts-dejavu-core
  qt6-translations-l10n librsvg2-bin dpkg-dev file lintian desktop-file-utils appstream
  ofx python3 dbus-daemon icewm x11-utils libxcb1-dev weston qt6-wayland
  libsecret-1-dev libsecret-tools gnome-keyring dbus
)
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
