#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything (Release) and starts the demo: Tavro on its own
# demo data folder (build/demo-data) with the simulated bank tavro-bank behind the ib_tavro
# module, so that "Pobierz" downloads a year of history for two accounts.
#   bash scripts/run.sh             the demo
#   bash scripts/run.sh --own-data  Tavro on the user's own data folder ($appdata, else
#                                   $XDG_DATA_HOME, else ~/.local/share, then TavroHistory/)
# TAVRO_RUN_BUILD names another build folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TAVRO_RUN_BUILD:-build}
bash scripts/setup-deps.sh
source scripts/compilers.sh
cmake -S . -B "$build" -G Ninja "${tavro_compilers[@]}" -DCMAKE_BUILD_TYPE=Release -DTAVRO_TESTS=OFF \
  -DTAVRO_BENCH=OFF
cmake --build "$build" --target tavro ib_tavro tavro-bank
if [ "${1:-}" = "--own-data" ]; then
  shift
  exec "$build/tavro" "$@"
fi
exec bash scripts/demo.sh "$build"
