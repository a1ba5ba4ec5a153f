#!/usr/bin/env bash
# Installs what is missing, builds Tavro and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRO_TESTS=OFF
cmake --build build
if [ -x build/tavro ]; then
  exec build/tavro "$@"
fi
echo "Tavro's windows are not built yet; the libraries are."
