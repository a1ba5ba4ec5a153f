#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a native Wayland client: a headless Weston on a private socket, `tavro --demo`
# with QT_QPA_PLATFORM=wayland and no X display, a download of a year from the demo's tavro-bank
# (TAVRO_SCRIPT=download presses "Pobierz" and confirms the selector, as no test can type into a
# Wayland window), every window of the menus opened and cancelled in turn, and the close. The demo sets up the bank, its module configuration and the
# account list itself, so this test follows wherever they go.
#
# Usage: wayland-session.sh <tavro program>
set -euo pipefail

program=$1
if ! command -v weston >/dev/null; then
  echo "SKIP: weston is not installed (scripts/setup-deps.sh installs it)"
  exit 77
fi
if ! compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-*.so" >/dev/null; then
  echo "SKIP: Qt's Wayland platform plugin is missing (package qt6-wayland)"
  exit 77
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  exit 1
}

# The compositor's socket lives in a runtime folder of this test's own.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket=tavro-wayland
weston --backend=headless-backend.so --socket=$socket --idle-time=0 --no-config \
  >"$work/weston.log" 2>&1 &
pids+=($!)
for ((i = 0; i < 100; i++)); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || fail "weston did not start: $(cat "$work/weston.log")"

unset DISPLAY
export WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland
export HOME=$work/home XDG_DATA_HOME=$work/share TAVRO_DEMO_DATA=$work/demo
# No input method: the headless Weston has no seat, and Qt 6.4's Wayland input method then reads
# a keyboard that is not there as soon as a focused line edit draws its cursor (a desktop session
# always has a seat).
export TAVRO_SCRIPT=download TAVRO_MESSAGEBOX=stderr QT_IM_MODULE=none
# Leak checking stays with the offscreen tests, which run the same code of ours: Qt's Wayland
# plugin loads Mesa's EGL driver, which is unloaded at exit with memory no suppression can name.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
mkdir -p "$HOME"

# Another copy on this machine may hold the single-instance lock for a while: try again.
log=$work/tavro.log
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  code=0
  timeout 300 "$program" --demo >"$log" 2>&1 || code=$?
  grep -q "Jedna instancja" "$log" || break
  sleep 2
done
cat "$log"
[ "$code" -eq 0 ] || fail "the program ended with $code"
# The X11 frame placement is skipped without a word.
! grep -qi 'xcb\|x11' "$log" || fail "the program spoke of X11 under Wayland"
line=$(grep '^scripted: ' "$log") || fail "the download did not finish"
[[ "$line" == "scripted: Tavro History (demo); "*" rows" ]] || fail "unexpected: $line"
# Each window of the menus came up as a Wayland surface the compositor showed.
! grep '^scripted window not shown: ' "$log" || fail "a window of the menus did not show"
windows=$(grep -c '^scripted window: ' "$log" || true)
[ "$windows" -eq 7 ] || fail "$windows of the 7 windows of the menus were shown"
rows=${line##*; }
rows=${rows% rows}
[ "$rows" -gt 0 ] || fail "the list is empty after the download"
echo "PASS: $rows operations downloaded and shown, and $windows windows opened, under Wayland"
