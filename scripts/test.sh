#!/usr/bin/env bash
# Installs what is missing, builds everything with the sanitizers and runs every test, then builds
# and checks the Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
# The C++ files changed since the recorded base follow .clang-format.
bash scripts/check-format.sh
build=${TAVRO_TEST_BUILD:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRO_SANITIZE=ON -DTAVRO_BENCH=ON
cmake --build "$build"
export TZ=Europe/Warsaw QT_QPA_PLATFORM=offscreen
# Leaks fail the run; the suppressions name third-party libraries only.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cd "$build"
ctest --output-on-failure -j2 --timeout 300

# The Debian package: a Release build, lintian, the desktop-entry and AppStream validators, and
# the program run from the extracted package.
cd "$OLDPWD"
bash scripts/package.sh

# The fuzz targets: a clang build of their own; each runs 20 seconds on its corpus.
fuzz_build=${TAVRO_FUZZ_BUILD:-${build}-fuzz}
CC=clang-14 CXX=clang++-14 cmake -S . -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVRO_FUZZ=ON -DTAVRO_TESTS=ON -DTAVRO_BENCH=OFF
cmake --build "$fuzz_build" --target fuzz_all
cd "$fuzz_build"
ctest --output-on-failure -j2 -L fuzz
