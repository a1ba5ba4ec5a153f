#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The demo of a build: `tavro --demo` starts the simulated bank tavro-bank beside the program on
# 127.0.0.1 with a generated year of history for two accounts, links the bank module into a
# module folder of the demo's own with a configuration that points at the bank, prepares a data
# folder of the demo's own whose account list holds the bank's accounts, and runs Tavro on it.
# The user's own data folder and keyring are never touched; a folder that is not a demo folder is
# refused. The bank stops when Tavro ends.
#
#   bash scripts/demo.sh [build folder]        (default: build; tavro, tavro-bank and
#                                               banki/ib_tavro.module must be built there)
# Environment: TAVRO_DEMO_DATA (default <build>/demo-data) is the demo's data folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
build=$(cd "$build" && pwd)
for needed in "$build/tavro" "$build/tavro-bank" "$build/banki/ib_tavro.module"; do
  [ -e "$needed" ] || { echo "missing $needed: build it first (bash scripts/run.sh)" >&2; exit 1; }
done
export TAVRO_DEMO_DATA=${TAVRO_DEMO_DATA:-$build/demo-data}
echo "Tavro on the demo data folder $TAVRO_DEMO_DATA: press \"Pobierz\" and confirm."
exec "$build/tavro" --demo
