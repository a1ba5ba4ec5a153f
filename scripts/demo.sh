#!/usr/bin/env bash
# The demo: starts the simulated bank tavro-bank on 127.0.0.1 with a generated year of history
# for two accounts, points the built bank module at it, prepares a separate data folder whose
# account list holds the bank's accounts, and runs Tavro on that folder. The user's own data
# folder is never touched. The bank stops when Tavro ends.
#
#   bash scripts/demo.sh [build folder]        (default: build; tavro, tavro-bank and
#                                               banki/ib_tavro.module must be built there)
# Environment: TAVRO_DEMO_DATA (default <build>/demo-data) is the folder given to Tavro as
# "appdata"; extra arguments for the bank go in TAVRO_DEMO_BANK_ARGS.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
build=$(cd "$build" && pwd)
demo_data=${TAVRO_DEMO_DATA:-$build/demo-data}
bank_dir=$build/demo-bank
module_dir=$build/banki

for needed in "$build/tavro" "$build/tavro-bank" "$module_dir/ib_tavro.module"; do
  [ -e "$needed" ] || { echo "missing $needed: build it first (bash scripts/run.sh)" >&2; exit 1; }
done
command -v sqlite3 >/dev/null || { echo "the sqlite3 program is missing (apt-get install sqlite3)" >&2; exit 1; }

mkdir -p "$bank_dir"
banner=$bank_dir/banner.txt
: >"$banner"
# shellcheck disable=SC2086
"$build/tavro-bank" --port 0 --cert-out "$bank_dir/bank.pem" --log "$bank_dir/requests.log" \
  --seed 2012 --accounts 2 --operations 150 --days 365 ${TAVRO_DEMO_BANK_ARGS:-} >"$banner" 2>"$bank_dir/bank.err" &
bank_pid=$!
conf=$module_dir/ib_tavro.conf
saved_conf=$bank_dir/ib_tavro.conf.before-demo
# The module's own configuration comes back when the demo ends, so that the program run on the
# user's data afterwards does not talk to a bank that is gone.
finish() {
  kill "$bank_pid" 2>/dev/null || true
  wait "$bank_pid" 2>/dev/null || true
  rm -f "$conf"
  if [ -f "$saved_conf" ]; then mv "$saved_conf" "$conf"; fi
}
trap finish EXIT

for _ in $(seq 1 300); do
  grep -q '^listening on ' "$banner" && break
  kill -0 "$bank_pid" 2>/dev/null || { cat "$bank_dir/bank.err" >&2; exit 1; }
  sleep 0.1
done
grep -q '^listening on ' "$banner" || { echo "tavro-bank did not start" >&2; exit 1; }

address=$(sed -n 's/^listening on https:\/\///p' "$banner" | head -n1)
host=${address%:*}
port=${address##*:}
user=$(sed -n 's/^user: //p' "$banner" | head -n1)
password=$(sed -n 's/^password: //p' "$banner" | head -n1)
mapfile -t accounts < <(sed -n 's/^account: \([0-9]*\).*/\1/p' "$banner")
echo "tavro-bank: https://$host:$port, user '$user', password '$password', accounts: ${accounts[*]}"

# The module reads its configuration from the file beside it.
marker="# written by scripts/demo.sh"
if [ -f "$conf" ] && ! grep -qxF "$marker" "$conf" && [ ! -f "$saved_conf" ]; then
  mv "$conf" "$saved_conf"
fi
cat >"$conf" <<CONF
$marker
host=$host
port=$port
cafile=$bank_dir/bank.pem
connect_timeout=10
low_speed_time=30
CONF

# The database as Tavro creates it: UTF-16 text and the program's own table definitions.
mkdir -p -m 0700 "$demo_data/TavroHistory"
database=$demo_data/TavroHistory/masterDatabase.sq3
quote() { printf "'%s'" "${1//\'/\'\'}"; }
{
  if [ ! -s "$database" ]; then
    echo "PRAGMA encoding='UTF-16le';"
    echo "CREATE TABLE accounts(a_id VARCHAR(48) NOT NULL, a_number VARCHAR(32) NOT NULL, a_user VARCHAR(64) NOT NULL, a_name VARCHAR(64) NOT NULL, a_pass VARCHAR(64) NOT NULL, a_type INTEGER NOT NULL, a_auto_get INTEGER NOT NULL );"
    echo "CREATE TABLE transactions(t_id INTEGER NOT NULL PRIMARY KEY, t_from_acc VARCHAR(32), t_from_name VARCHAR(255), t_desc VARCHAR(255), t_amount FLOAT, t_to_acc VARCHAR(32), t_tid INTEGER, t_tio INTEGER, t_date1 INTEGER, t_date2 INTEGER, t_class INTEGER, t_user VARCHAR(48) );"
  fi
  echo "BEGIN;"
  n=0
  for account in "${accounts[@]}"; do
    n=$((n + 1))
    echo "DELETE FROM accounts WHERE a_number=$(quote "$account");"
    echo "INSERT INTO accounts VALUES(0, $(quote "$account"), $(quote "$user"), 'Konto demo $n', $(quote "$password"), 0, 0 );"
  done
  echo "COMMIT;"
} | sqlite3 "$database"
chmod 0600 "$database"

echo "Tavro on the demo data folder $demo_data: press \"Pobierz\" and confirm."
status=0
appdata=$demo_data "$build/tavro" || status=$?
exit "$status"
