#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the installed layout and runs the installed program from it, offscreen:
#   installed-layout.sh --build BUILD   installs BUILD into a temporary root first (DESTDIR)
#   installed-layout.sh --root ROOT     checks a root made otherwise (an extracted package)
# The program, started through its bin/ link, must find its bank module beside its real
# executable; `tavro --demo` must start its bank, prepare its own data folder and leave the
# user's data folder alone; the bank must stop with the program.
set -euo pipefail
work=$(mktemp -d)
trap 'pkill -TERM -f "$work/" 2>/dev/null || true; rm -rf "$work"' EXIT

case "${1:-}" in
  --build) root=$work/root; DESTDIR=$root cmake --install "$2" --prefix /usr >/dev/null ;;
  --root) root=$(cd "$2" && pwd) ;;
  *) echo "usage: $0 --build BUILD | --root ROOT" >&2; exit 2 ;;
esac
id=org.tavrohistory.Tavro
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The files.
for file in usr/lib/tavro/tavro usr/lib/tavro/tavro-bank usr/lib/tavro/banki/ib_tavro.module \
  usr/share/applications/$id.desktop usr/share/applications/$id.demo.desktop \
  usr/share/metainfo/$id.metainfo.xml usr/share/icons/hicolor/scalable/apps/$id.svg \
  usr/share/doc/tavro/copyright usr/share/man/man1/tavro.1.gz; do
  [ -e "$root/$file" ] || fail "missing /$file"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png
  [ -e "$png" ] || { fail "missing ${size}px icon"; continue; }
  file "$png" | grep -q "$size x $size" || fail "icon $png is not $size px"
done
[ "$(readlink "$root/usr/bin/tavro")" = ../lib/tavro/tavro ] || fail "bin/tavro is not a relative link"
for stray in tavro-screens tavro_bench_history tavro_bench_store; do
  [ -z "$(find "$root" -name "$stray*")" ] || fail "$stray is installed"
done
[ "$failures" -eq 0 ] || exit 1

# Runs the installed program in the background until its console shows the pattern.
export QT_QPA_PLATFORM=offscreen TAVRO_CONSOLE=stderr TAVRO_MESSAGEBOX=stderr HOME=$work/home
unset appdata XDG_DATA_HOME TAVRO_DEMO_DATA
mkdir -p "$HOME"
run_until() {
  local pattern=$1 log=$2
  shift 2
  # Another copy of the program (another test) may hold the machine-wide lock for a moment.
  for _ in $(seq 1 20); do
    "$@" 2>"$log" &
    local pid=$!
    for _ in $(seq 1 600); do
      grep -q "$pattern" "$log" && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    grep -q 'Jedna instancja aplikacj' "$log" || break
    sleep 1
  done
  grep -q "$pattern" "$log"
}

appdata=$work/data run_until 'extension: 19900003' "$work/program.log" "$root/usr/bin/tavro" ||
  { cat "$work/program.log" >&2; fail "the installed program did not find its bank module"; }
[ -e "$work/data/TavroHistory/masterDatabase.sq3" ] || fail "no database in the data folder"

XDG_DATA_HOME=$work/share run_until 'extension: 19900003' "$work/demo.log" "$root/usr/bin/tavro" --demo ||
  { cat "$work/demo.log" >&2; fail "the demo did not start with its module"; }
demo=$work/share/tavro-demo
grep -q '^port=[0-9]' "$demo/banki/ib_tavro.conf" 2>/dev/null || fail "the demo wrote no module configuration"
[ -L "$demo/banki/ib_tavro.module" ] || fail "the demo did not link the module into its own folder"
[ "$(stat -c %a "$demo" "$demo/bank.pem" "$demo/bank.err" "$demo/banki/ib_tavro.conf" | tr '\n' ' ')" = "700 600 600 600 " ] ||
  fail "the demo's folder or files are readable by others"
accounts=$(sqlite3 "$demo/TavroHistory/masterDatabase.sq3" "SELECT count(*) FROM accounts" 2>/dev/null || echo 0)
[ "$accounts" = 2 ] || fail "the demo account list holds $accounts accounts, not 2"
[ ! -e "$work/share/TavroHistory" ] || fail "the demo touched the user's data folder"
sleep 0.5
! pgrep -f "$demo/bank.pem" >/dev/null || fail "the demo bank outlived the program"

[ "$failures" -eq 0 ] && echo "installed layout: ok"
[ "$failures" -eq 0 ]
