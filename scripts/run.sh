#!/usr/bin/env bash
# Installs what is missing, builds Tavro and starts it on the user's own data folder
# ($appdata, else $XDG_DATA_HOME, else ~/.local/share, then TavroHistory/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRO_TESTS=OFF -DTAVRO_BENCH=OFF
cmake --build build --target tavro
# The bank modules are found in banki/ beside the program; build them when they exist.
if [ -f modules/ib_tavro/CMakeLists.txt ]; then
  cmake --build build --target ib_tavro
fi
exec build/tavro "$@"
