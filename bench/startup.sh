#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real start-up of the program: from exec to the first paint of a filled list, under Xvfb,
# against a bare SQLite loop reading every column of the same table (its own process, exec to
# its figure, timed the same way). Medians over the runs; "name: value" lines for scripts.
#
#   bench/startup.sh operations [build folder] [runs] [data folder]
# The build folder (default build-bench) must hold tavro and tavro_bench_history.
# TAVRO_COMPARE_PROGRAM=another/tavro starts that program too, in turn with this one, on the same
# data: start-up differences of a few per cent only show side by side. Give both the same
# modules (their banki folders): loading one takes some 15 ms.
set -euo pipefail
operations=${1:?operations}
build=${2:-build-bench}
runs=${3:-5}
data=${4:-}
program=${TAVRO_PROGRAM:-$build/tavro}
compare=${TAVRO_COMPARE_PROGRAM:-}
bench=${TAVRO_BENCH_HISTORY:-$build/tavro_bench_history}
cleanup=()
if [ -z "$data" ]; then
  data=$(mktemp -d)
  cleanup+=("$data")
fi
"$bench" "$operations" "$data" --fill-only

# Xvfb picks a free display and writes its number once it accepts connections.
displayfile=$(mktemp)
cleanup+=("$displayfile")
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "${cleanup[@]}"' EXIT
for _ in $(seq 300); do
  [ -s "$displayfile" ] && break
  sleep 0.1
done
display=:$(head -n1 "$displayfile")

now_ns() { date +%s%N; }

median() { sort -g | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }

startup_once() {
  local start end
  start=$(now_ns)
  end=$(appdata=$data DISPLAY=$display QT_QPA_PLATFORM=xcb TAVRO_FIRST_PAINT=exit \
        TAVRO_MESSAGEBOX=stderr timeout 300 "$1" 2>&1 >/dev/null |
        { grep -m1 -q first_paint && now_ns; cat >/dev/null; })
  if [ -z "$end" ]; then
    echo "the program ended without painting a filled list" >&2
    exit 1
  fi
  echo $(( (end - start) / 1000 ))
}

# Timed the way the program is (under timeout, its last line through a pipe to grep): started
# bare, the loop skipped the wrapper's own 10 ms or so that every start-up carried.
baseline_once() {
  local start end
  start=$(now_ns)
  end=$(timeout 300 "$bench" "$operations" "$data" "${1:---step-loop}" 2>/dev/null |
        { grep -m1 -q '^step_ms:' && now_ns; cat >/dev/null; })
  if [ -z "$end" ]; then
    echo "the bare loop ended without its figure" >&2
    exit 1
  fi
  echo $(( (end - start) / 1000 ))
}

startup=()
compared=()
baseline=()
nomutex=()
for run in $(seq "$runs"); do
  value=$(baseline_once) || exit 1
  baseline+=("$value")
  value=$(baseline_once --step-loop-nomutex) || exit 1
  nomutex+=("$value")
  value=$(startup_once "$program") || exit 1
  startup+=("$value")
  if [ -n "$compare" ]; then
    value=$(startup_once "$compare") || exit 1
    compared+=("$value")
  fi
  echo "run $run: start-up $((${startup[-1]} / 1000)) ms, bare step loop $((${nomutex[-1]} / 1000)) ms" \
    "($((${baseline[-1]} / 1000)) ms with the mutex)"
done
s=$(printf '%s\n' "${startup[@]}" | median)
b=$(printf '%s\n' "${baseline[@]}" | median)
n=$(printf '%s\n' "${nomutex[@]}" | median)
echo "operations: $operations"
# The program reads its list on a connection without SQLite's per-call mutex, so the same loop on
# such a connection is the floor the ratio is taken against; the loop with the mutex follows.
awk -v s="$s" -v b="$b" -v n="$n" 'BEGIN {
  printf "startup_ms: %.1f\nstartup_baseline_ms: %.1f\nstartup_ratio: %.3f\n", s/1000, n/1000, s/n
  printf "startup_baseline_mutex_ms: %.1f\nstartup_ratio_mutex: %.3f\n", b/1000, s/b }'
if [ -n "$compare" ]; then
  c=$(printf '%s\n' "${compared[@]}" | median)
  awk -v s="$s" -v c="$c" 'BEGIN {
    printf "startup_compare_ms: %.1f\nstartup_over_compare: %.3f\n", c/1000, s/c }'
fi
