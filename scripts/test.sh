#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything with the sanitizers and runs every test, then builds
# and checks the Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# How long each step took, printed at the end even when a step fails.
timings=()
started=$SECONDS
step() {
  local name=$1 begin=$SECONDS
  shift
  "$@"
  timings+=("$(printf '  %-34s %4d s' "$name" $((SECONDS - begin)))")
}
report() {
  local status=${1:-$?}
  echo "== steps (exit $status)"
  printf '%s\n' "${timings[@]}"
  printf '  %-34s %4d s\n' total $((SECONDS - started))
}
trap report EXIT

step "packages to compile" bash scripts/setup-deps.sh build
# The tools the tests and checks use install while the tree compiles.
packages_log=$root/${TAVRO_TEST_BUILD:-build-test}-packages.log
bash scripts/setup-deps.sh >"$packages_log" 2>&1 &
packages=$!
# A failing run still lets the installation finish: dpkg stopped half-way breaks the machine.
trap 'status=$?; wait "$packages" 2>/dev/null; report $status' EXIT
await_packages() {
  local status=0
  wait "$packages" || status=$?
  [ $status -eq 0 ] || cat "$packages_log"
  return $status
}
# The C++ files changed since the recorded base follow .clang-format; every source, script and
# CMake file of ours carries its licence line (scripts/spdx.sh --fix).
step "format and licence lines" bash -c 'bash scripts/check-format.sh && bash scripts/spdx.sh --check'

source scripts/compilers.sh
build=${TAVRO_TEST_BUILD:-build-test}
# One tree holds the tests and the fuzz targets, all under the sanitizers.
step "sanitizer build" bash -c "cmake -S . -B '$build' -G Ninja ${tavro_compilers[*]} \
  -DCMAKE_BUILD_TYPE=Debug -DTAVRO_SANITIZE=ON -DTAVRO_FUZZ=ON -DTAVRO_BENCH=OFF &&
  cmake --build '$build'"
step "packages for the checks (rest)" await_packages
# The Release tree, shared by the package and the benchmarks' smoke runs, compiles beside the
# tests at the lowest priority: many tests wait on the simulated bank, a timer or a window, and the
# compiler takes the time they leave. Its output is shown once it is done.
export TAVRO_PACKAGE_BENCH=ON
package_build=${TAVRO_PACKAGE_BUILD:-build-package}
beside_log=$root/$build-beside.log
beside_time=$root/$build-beside.time
setsid bash -c "begin=\$SECONDS
  nice -n 19 bash scripts/package.sh --build-only
  status=\$?
  echo \$((SECONDS - begin)) >'$beside_time'
  exit \$status" >"$beside_log" 2>&1 &
beside=$!
stop_beside() { kill -- "-$beside" 2>/dev/null || true; }
trap 'status=$?; stop_beside; report $status' EXIT
await_beside() {
  local status=0
  wait "$beside" || status=$?
  cat "$beside_log"
  timings+=("$(printf '  %-34s %4d s' "(Release build, beside)" "$(cat "$beside_time")")")
  return $status
}

export TZ=Europe/Warsaw QT_QPA_PLATFORM=offscreen
# Leaks fail the run; the suppressions name third-party libraries only.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
step "tests" ctest --test-dir "$build" --output-on-failure -j2 --timeout 300 -LE fuzz
step "Release build (rest)" await_beside
step "benchmark smoke runs" ctest --test-dir "$package_build" --output-on-failure -L bench

# The Debian package: lintian, the desktop-entry and AppStream validators, and the program run
# from the extracted package.
step "package" bash scripts/package.sh

# The fuzz targets each run a few seconds on their corpus.
step "fuzz runs" ctest --test-dir "$build" --output-on-failure -j2 -L fuzz
