#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The main window under a real X server (Xvfb) and window manager (IceWM): after the user has
# moved it, five starts in a row show it at the same place, and a window closed maximised
# un-maximises to that place after the next start. Offscreen tests cannot see this, as only a
# window manager puts a frame around the window and remembers its size before maximising.
#
# Usage: placement-under-wm.sh <tavro program>
# Each start is closed through the window manager (icesh close), as the close box does, so the
# program ends its normal way and stores its placement.
set -euo pipefail

program=$1
for tool in Xvfb icewm icesh xwininfo xprop; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/setup-deps.sh installs it)"
    exit 77
  fi
done

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

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1
  shift
  for ((i = 0; i < tenths; i++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

# The X server chooses a free display and writes its number to descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_for 100 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"
mkdir -p "$work/home"
HOME="$work/home" icewm >"$work/icewm.log" 2>&1 &
pids+=($!)
wait_for 100 xprop -root -notype _NET_SUPPORTING_WM_CHECK || fail "IceWM did not start"

# A real X11 window, not the offscreen platform of the other tests.
unset QT_QPA_PLATFORM
export appdata="$work/data" TAVRO_MESSAGEBOX=stderr
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

window_id() {
  xwininfo -root -tree | awk '/\("tavro" "Tavro History"\)/ { print $1; exit }'
}

has_window() {
  [ -n "$(window_id)" ]
}

# The client area on the screen, as the X server has it: "x y width height".
client_position() {
  xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                                /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}

maximised() {
  xprop -id "$window" -notype _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_HORZ
}

# Starts the program and waits until its window stands still; sets $window and $running.
start() {
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    "$program" >"$1" 2>&1 &
    running=$!
    pids+=("$running")
    wait_for 600 eval 'has_window || ! kill -0 $running' || fail "no main window: $(cat "$1")"
    has_window && break
    # Another copy on this machine holds the single-instance lock: try again shortly.
    grep -q "Jedna instancja" "$1" || fail "the program ended at its start: $(cat "$1")"
    sleep 2
  done
  window=$(window_id)
  [ -n "$window" ] || fail "another copy held the single-instance lock all the time"
  settle
}

# Waits until the window manager has put the window in its place.
settle() {
  local before=""
  local now
  for ((i = 0; i < 50; i++)); do
    sleep 0.2
    now=$(client_position)
    [ "$now" = "$before" ] && return 0
    before=$now
  done
  fail "the window did not come to rest"
}

stop() {
  icesh -window "$window" close
  local code=0
  wait "$running" || code=$?
  [ "$code" -eq 0 ] || fail "the program ended with $code: $(cat "$1")"
}

# The user moves the window's frame to 300, 200 and closes the program.
start "$work/start0.log"
icesh -window "$window" move 300 200
settle
left=$(client_position)
extents=$(xprop -id "$window" -notype _NET_FRAME_EXTENTS | sed 's/.*= *//')
stop "$work/start0.log"
echo "left by the user at $left (frame extents $extents)"

for n in 1 2 3 4 5; do
  start "$work/start$n.log"
  shown=$(client_position)
  echo "start $n: $shown"
  stop "$work/start$n.log"
  [ "$shown" = "$left" ] || fail "start $n shows the window at $shown instead of $left"
done

# Closed maximised, the window comes back maximised, and un-maximising it gives back the
# place and size it had before.
start "$work/start6.log"
icesh -window "$window" maximize
wait_for 50 maximised || fail "the window manager did not maximise the window"
settle
stop "$work/start6.log"
start "$work/start7.log"
maximised || fail "the window does not come back maximised"
icesh -window "$window" restore
wait_for 50 eval '! maximised' || fail "the window manager did not restore the window"
settle
restored=$(client_position)
stop "$work/start7.log"
echo "un-maximised after a maximised start: $restored"
[ "$restored" = "$left" ] || fail "un-maximised to $restored instead of $left"
echo "PASS"
