#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kills a download (1 000 operations: 4 accounts of 250, one job each) inside a job's write
# transaction, and a settings save, with SIGKILL at random moments, and checks after every kill
# that the database passes integrity_check with every job's operations stored whole or not at
# all, and that the settings file is one whole version.
#   scripts/crash-trials.sh [BUILD_DIR] [TRIALS]      (defaults: build-test, 50)
# Needs tavro-bank, banki/ib_tavro.module and tests/tavro-crash-trial in the build folder.
set -euo pipefail
build=$(realpath "${1:-build-test}")
trials=${2:-50}
trial="$build/tests/tavro-crash-trial"
work=$(mktemp -d)
bank_pid=""
cleanup() {
  if [ -n "$bank_pid" ]; then kill "$bank_pid" 2>/dev/null || true; wait "$bank_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$build/tavro-bank" --port 0 --seed 11 --accounts 4 --operations 250 --days 365 \
  --cert-out "$work/ca.pem" --dump "$work/bank.dump" >"$work/bank.out" 2>&1 &
bank_pid=$!
for _ in $(seq 300); do grep -q '^listening on' "$work/bank.out" && break; sleep 0.1; done
port=$(sed -n 's/^listening on https:\/\/[^:]*:\([0-9]*\).*/\1/p' "$work/bank.out")
[ -n "$port" ] || { echo "the bank did not start"; cat "$work/bank.out"; exit 1; }
user=$(sed -n 's/^[Uu]ser: //p' "$work/bank.out")
password=$(sed -n 's/^password: //p' "$work/bank.out")
mapfile -t accounts < <(sed -n 's/^account: \([0-9]\{26\}\).*/\1/p' "$work/bank.out")

mkdir -p "$work/program/banki"
cp "$build/banki/ib_tavro.module" "$work/program/banki/"
printf 'host=localhost\nport=%s\ncafile=%s\nconnect_timeout=5\nlow_speed_time=5\n' \
  "$port" "$work/ca.pem" >"$work/program/banki/ib_tavro.conf"

db="$work/masterDatabase.sq3"
random_ms() { echo $(( (RANDOM * 32768 + RANDOM) % ($1 - $2) + $2 )); }
sleep_ms() { sleep "$(printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)))"; }

# Every kill is aimed at one job's write transaction: the trial says when transaction N (a
# random one of the first round's four) has taken its write lock, and the kill is aimed at a
# moment drawn evenly over that transaction's own length, as measured beforehand on this machine.
# The trial stops at the end of that commit, just before it returns, so the kill cannot land
# after it. The trial's lines come through a pipe, carry the moment they were written, and the
# wait is a read with a time-out, so neither the pipe nor a process start delays the kill.
mkfifo "$work/trial.pipe" "$work/clock"
exec 3<>"$work/trial.pipe" 4<>"$work/clock"

# The length of each of the first round's transactions, in microseconds: the median of three
# runs on the database as the trials find it (the first run fills it).
declare -A lengths
for run in 1 2 3 4; do
  "$trial" download "$work/program" "$db" "$user" "$password" 400 "${accounts[@]}" >&3 2>&1 &
  pid=$!
  while read -r -t 60 -u 3 line; do
    if [[ $line == took\ * ]]; then
      read -r _ n us <<<"$line"
      [ "$run" -gt 1 ] && lengths[$n]+="$us "
      [ "$n" -eq "${#accounts[@]}" ] && break
    fi
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  while read -r -t 0.05 -u 3 _; do :; done
done
declare -A length
for n in "${!lengths[@]}"; do
  length[$n]=$(tr ' ' '\n' <<<"${lengths[$n]}" | sed '/^$/d' | sort -n | sed -n 2p)
done
[ "${#length[@]}" -eq "${#accounts[@]}" ] || { echo "the lengths of the transactions were not measured"; exit 1; }

corrupt=0 in_statements=0 in_commit=0 at_commit_end=0 missed=0
for i in $(seq "$trials"); do
  target=$((RANDOM % ${#accounts[@]} + 1))
  : >"$work/trial.out"
  TRIAL_HOLD_AT=$target "$trial" download "$work/program" "$db" "$user" "$password" 400 \
    "${accounts[@]}" >&3 2>&1 &
  pid=$!
  begun=""
  while read -r -t 60 -u 3 line; do
    echo "$line" >>"$work/trial.out"
    if [[ $line == "begun $target "* ]]; then begun=${line##* }; break; fi
  done
  if [ -n "$begun" ]; then
    aim=$((begun + (RANDOM * 32768 + RANDOM) % length[$target]))
    now=${EPOCHREALTIME/./}
    if [ "$aim" -gt "$now" ]; then
      printf -v pause '%d.%06d' $(((aim - now) / 1000000)) $(((aim - now) % 1000000))
      read -r -t "$pause" -u 4 _ || true
    fi
  fi
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  while read -r -t 0.05 -u 3 line; do echo "$line" >>"$work/trial.out"; done
  case "$(grep -E "^(begun|commit|committed) $target " "$work/trial.out" | tail -1 | cut -d' ' -f1)" in
    begun) in_statements=$((in_statements + 1)) ;;
    commit) in_commit=$((in_commit + 1)) ;;
    committed) at_commit_end=$((at_commit_end + 1)) ;;
    *) missed=$((missed + 1)); echo "trial $i: transaction $target never began"; cat "$work/trial.out" ;;
  esac
  if grep -q '^warning' "$work/trial.out"; then
    echo "trial $i: the download itself failed"; cat "$work/trial.out"; corrupt=$((corrupt + 1))
  fi
  if ! result=$("$trial" check "$db" "$work/bank.dump"); then
    echo "trial $i: $result"; corrupt=$((corrupt + 1))
  fi
done
inside=$((in_statements + in_commit + at_commit_end))
writing=$((in_statements + in_commit))
echo "download: $trials kills, $inside inside a job's open write transaction" \
  "($in_statements while storing, $in_commit while the commit wrote," \
  "$at_commit_end after the commit's last write, before it returned), $missed outside;" \
  "$((100 * writing / trials)) % while writing; $corrupt corrupt; last: $result"
echo "transaction lengths (us, median of three runs):" \
  "$(for n in $(seq "${#accounts[@]}"); do printf '%s ' "${length[$n]}"; done)"

settings="$work/TavroHistory.config"
"$trial" settings-save "$settings" & pid=$!
for _ in $(seq 100); do [ -s "$settings" ] && break; sleep 0.05; done
kill -KILL "$pid"; wait "$pid" 2>/dev/null || true
broken=0
for i in $(seq "$trials"); do
  "$trial" settings-save "$settings" & pid=$!
  sleep_ms "$(random_ms 600 20)"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if ! result=$("$trial" settings-check "$settings"); then
    echo "settings trial $i: $result"; broken=$((broken + 1))
  fi
done
leftovers=$(find "$work" -maxdepth 1 -name '.TavroHistory.config.*' | wc -l)
echo "settings: $trials kills, $broken not whole; last: $result;" \
  "$leftovers temporary files left by the kills"
[ "$corrupt" -eq 0 ] && [ "$broken" -eq 0 ] && [ "$missed" -eq 0 ]
