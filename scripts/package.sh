#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package (Release) and checks it with the tools a distribution uses: lintian
# (errors fail), desktop-file-validate, appstreamcli; then extracts it and runs the program from
# the extracted tree, proving that it finds its bank module in the installed layout.
#   bash scripts/package.sh              -> build-package/tavro_<version>_amd64.deb
#   bash scripts/package.sh --build-only    only the Release build, nothing checked
# TAVRO_PACKAGE_BUILD names another build folder; TAVRO_PACKAGE_BENCH=ON builds the benchmarks in
# the same tree (the test script runs their smoke runs there).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
source scripts/compilers.sh
build=${TAVRO_PACKAGE_BUILD:-build-package}
cmake -S . -B "$build" -G Ninja "${tavro_compilers[@]}" -DCMAKE_BUILD_TYPE=Release -DTAVRO_TESTS=OFF \
  -DTAVRO_BENCH="${TAVRO_PACKAGE_BENCH:-OFF}"
cmake --build "$build"
[ "${1:-}" = "--build-only" ] && exit 0
rm -f "$build"/tavro_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/tavro_*_amd64.deb)
echo "package: $deb ($(du -k "$deb" | cut -f1) KiB)"

lintian --fail-on error --no-tag-display-limit "$deb"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
bash tests/desktop/installed-layout.sh --root "$root"
