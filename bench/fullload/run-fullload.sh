#!/usr/bin/env bash
# The monitor under full load: 252 simulated units (a mix of states and
# alarms, some dropping out and returning) polled for SECONDS with the data
# log at its shortest interval, beside an idle monitor with no devices in the
# same run; then the start-up time with 252 devices and a full event log.
# Usage: bench/fullload/run-fullload.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
seconds="${2:-600}"
bench="$build/bench/fullload/orvan-fullload"
upssim="$build/tools/upssim/upssim"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/orvan-runtime.XXXXXX)}"

work="$(mktemp -d /tmp/orvan-fullload.XXXXXX)"
sim_pid=""
cleanup() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true; }
trap cleanup EXIT

# The bus: every unit online at first; every 7th on battery, every 11th on
# bypass, every 13th with a fault alarm, every 17th in ECO, every 5th at 80 %
# load. Units 1-10, polled first, stop answering from 150 s to 540 s; the
# mains of units 30-34 fail at 100 s and return at 200 s.
scenario="$work/scenario.json"
{
  echo '{ "protocol": "modbus", "units": ['
  for a in $(seq 1 252); do
    extra=""
    (( a % 7 == 0 )) && extra+=', "state": "battery"'
    (( a % 11 == 0 )) && extra+=', "state": "bypass"'
    (( a % 13 == 0 )) && extra+=', "alarm": 9'
    (( a % 17 == 0 )) && extra+=', "state": "eco"'
    (( a % 5 == 0 )) && extra+=', "load": 80'
    sep=","; (( a == 252 )) && sep=""
    echo "  { \"address\": $a$extra }$sep"
  done
  echo '], "events": ['
  for a in $(seq 1 10); do
    echo "  { \"at\": 150, \"unit\": $a, \"silent\": true }, { \"at\": 540, \"unit\": $a, \"silent\": false },"
  done
  for a in $(seq 30 34); do
    echo "  { \"at\": 100, \"unit\": $a, \"mains\": 0 }, { \"at\": 200, \"unit\": $a, \"mains\": 220 },"
  done
  echo '  { "at": 0, "unit": 1, "load": 40 } ] }'
} > "$scenario"

coproc SIM { exec "$upssim" --config "$scenario" --speed 0.2; }
sim_pid=$SIM_PID
read -r -u "${SIM[0]}" port
echo "bus: $port"

"$bench" prepare "$work/load" --devices 252 --port "$port" --rec-interval 50
"$bench" prepare "$work/idle" --devices 0 --port COM0 --rec-interval 50
"$bench" run "$work/load" --seconds "$seconds" --report "$work/load.txt" &
load_pid=$!
"$bench" run "$work/idle" --seconds "$seconds" --report "$work/idle.txt" &
idle_pid=$!
wait "$load_pid" "$idle_pid"

# Each start finds a full event log (5001 records), so the first event it
# logs also rotates the log, as on a site that has run for long.
for i in 1 2 3 4 5; do
  "$bench" prepare "$work/start$i" --devices 252 --port COM0 --events 5001
  "$bench" startup "$work/start$i" --report "$work/startup.txt"
  cat "$work/startup.txt"
done > "$work/startups.txt"

echo "== 252 devices on the bus, data log every 5 s, $seconds s"
cat "$work/load.txt"
echo "== idle monitor, no devices, same run"
cat "$work/idle.txt"
echo "== start-up to the first painted main window (252 devices, 5001 event records)"
cat "$work/startups.txt"
echo "work directory: $work"
