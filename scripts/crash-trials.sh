#!/usr/bin/env bash
# Kills a download (1 000 operations: 4 accounts of 250, one job each) and a settings save with
# SIGKILL at random moments, and checks after every kill that the database passes
# integrity_check with every job's operations stored whole or not at all, and that the settings
# file is one whole version.
#   scripts/crash-trials.sh [BUILD_DIR] [TRIALS]      (defaults: build-test, 50)
# Needs tavro-bank, banki/ib_tavro.module and tests/tavro-crash-trial in the build folder.
set -euo pipefail
build=$(realpath "${1:-build-test}")
trials=${2:-50}
max_ms=${CRASH_MAX_MS:-9000}
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

corrupt=0 in_transaction=0 rounds_seen=0
for i in $(seq "$trials"); do
  "$trial" download "$work/program" "$db" "$user" "$password" 400 "${accounts[@]}" \
    >"$work/trial.out" 2>&1 &
  pid=$!
  sleep_ms "$(random_ms "$max_ms" 100)"
  [ -s "$db-journal" ] && in_transaction=$((in_transaction + 1))
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rounds_seen=$((rounds_seen + $(grep -c '^round' "$work/trial.out" || true)))
  if grep -q '^warning' "$work/trial.out"; then
    echo "trial $i: the download itself failed"; cat "$work/trial.out"; corrupt=$((corrupt + 1))
  fi
  if ! result=$("$trial" check "$db" "$work/bank.dump"); then
    echo "trial $i: $result"; corrupt=$((corrupt + 1))
  fi
done
echo "download: $trials kills ($in_transaction with a write transaction open," \
  "$rounds_seen whole rounds finished in between), $corrupt corrupt; last: $result"

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
[ "$corrupt" -eq 0 ] && [ "$broken" -eq 0 ]
