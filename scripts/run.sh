#!/usr/bin/env bash
# Sets everything up, builds and starts the monitor.
#
#   scripts/run.sh           demonstration on simulated units when no port is
#                            configured yet (see below), else the configured port
#   scripts/run.sh --demo    always the demonstration
#   scripts/run.sh --port    always the configured port (UserParaIni.ini beside
#                            the program, build/src/)
#
# The demonstration starts the bus simulator upssim with four units on a
# pseudo-terminal, points the monitor's settings at it (Modbus, polled at
# the pace of the bus), lists the units in the device tree and stops the
# simulator when the monitor exits.
# It is chosen when there is no settings file beside the program yet, or when
# the file there was written by an earlier demonstration and still names the
# simulator's pseudo-terminal.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

mode=auto
case "${1:-}" in
  --demo) mode=demo ;;
  --port) mode=port ;;
  "") ;;
  *) echo "usage: $0 [--demo | --port]" >&2; exit 2 ;;
esac

# The packages first, so that the advice below (xvfb-run) can be followed.
scripts/deps.sh

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display: DISPLAY and WAYLAND_DISPLAY are empty, so the monitor's window cannot open." >&2
  echo "Run this from a desktop session (or over 'ssh -X'), or under Xvfb: xvfb-run -a $0 $*" >&2
  exit 1
fi
if [[ -f build/CMakeCache.txt ]]; then
  scripts/build.sh build # keep the build type the tree was set up with
else
  scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi

program_dir="$root/build/src"
settings="$program_dir/UserParaIni.ini"
demo_marker="; Written by scripts/run.sh for the demonstration on simulated units."

# A file left by a demonstration still points at the simulator's
# pseudo-terminal, unless the user has since chosen another port.
written_by_demo() {
  grep -qF "$demo_marker" "$settings" && grep -qE '^ComName=/dev/pts/' "$settings"
}

if [[ $mode == auto ]]; then
  if [[ ! -f $settings ]] || written_by_demo; then
    mode=demo
  else
    mode=port
  fi
fi

if [[ $mode == port ]]; then
  # From now on the file is the user's.
  if [[ -f $settings ]]; then
    grep -vxF "$demo_marker" "$settings" >"$settings.new" || true
    mv "$settings.new" "$settings"
  fi
  exec "$program_dir/orvan"
fi

# --- demonstration on simulated units ---
sim_out="$(mktemp)"
sim_pid=""
cleanup() {
  if [[ -n $sim_pid ]]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -f "$sim_out"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$root/build/tools/upssim/upssim" --config "$root/tools/upssim/scenarios/demo.json" >"$sim_out" &
sim_pid=$!

# The simulator prints its pseudo-terminal first.
port=""
for _ in $(seq 100); do
  port="$(head -n 1 "$sim_out" 2>/dev/null || true)"
  [[ $port == /dev/* ]] && break
  if ! kill -0 "$sim_pid" 2>/dev/null; then
    echo "The bus simulator did not start." >&2
    exit 1
  fi
  sleep 0.1
done
if [[ $port != /dev/* ]]; then
  echo "The bus simulator printed no port." >&2
  exit 1
fi

# Keep the language chosen in an earlier demonstration.
language="$(sed -n 's/^Language=\([0-9]*\).*/\1/p' "$settings" 2>/dev/null | head -n 1 || true)"
cat >"$settings" <<INI
$demo_marker
[CommPort]
ComName=$port
BaudRate=9600
StopBits=1
Protocol=2
ReadIntervalTimeout=30
[CommMast]
WaitTimer=15
MaxReSend=2
CommErrCnt=5
CommLostCnt=10
PollMode=1
ReplyTimeout=500
INI
if [[ -n $language ]]; then
  printf '[Language]\nLanguage=%s\n' "$language" >>"$settings"
fi

# The device list: one 42-byte record per unit (tree index, address, name
# padded with carriage returns to 40 bytes).
mkdir -p "$program_dir/Record" "$program_dir/Backup"
tree="$program_dir/Record/TreeNode.dat"
: >"$tree"
for addr in 1 2 3 4; do
  name="UPS-0$addr"
  printf "\\x$(printf '%02x' $(( (addr - 1) * 3 )))\\x$(printf '%02x' "$addr")%s" "$name" >>"$tree"
  printf '\r%.0s' $(seq $(( 40 - ${#name} ))) >>"$tree"
done

echo "Demonstration: upssim answers as units 1 to 4 on $port; the monitor polls them with Modbus at the pace of the bus."
"$program_dir/orvan"
