#!/usr/bin/env bash
# The tool beside three simulated alarm hosts, inside the network lab:
#   tools/demo.sh <build-dir> [tool arguments...]
# Brings up a lab with three host namespaces, starts one simulated host in
# each (distinct identities, Chinese host types, installer codes printed
# below), starts <build-dir>/tarnwick in the tool's namespace from the working
# folder run/ (its db.mdb lives there) on the current display, or under Xvfb
# when there is none, and brings the lab down when the tool exits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 <build-dir> [tool arguments...]" >&2; exit 2; }
build=$(cd "$1" && pwd)
shift
lab=$root/tests/lab/lab.sh
for binary in tarnwick tarnwick-hostsim; do
  [ -x "$build/$binary" ] || { echo "$build/$binary is missing: build first" >&2; exit 1; }
done
[ "$(id -u)" -eq 0 ] || { echo "the demo needs root for the lab's network namespaces" >&2; exit 1; }

name="dm$$"
mkdir -p "$root/run"
pids=()
tool_pid=""
cleanup() {
  set +e
  local pid
  if [ -n "$tool_pid" ]; then
    kill "$tool_pid" 2>/dev/null
    wait "$tool_pid" 2>/dev/null
  fi
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  "$lab" down "$name" >/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$lab" up "$name" 3 >/dev/null
source <("$lab" env "$name")
read -r -a ips <<<"$TARNWICK_LAB_HOST_IPS"
read -r -a namespaces <<<"$TARNWICK_LAB_HOST_NS"

# One host per namespace: address, device ID, module, host type, installer
# code, working status (system byte, mode, zones in alarm, bypassed zones).
hosts=(
  "100101|以太网+GPRS通讯模块|十六防区报警主机|123456|13|00|00|00"
  "100102|以太网通讯模块|八防区无线报警主机|246810|12|01|00|04"
  "100103|以太网+GPRS通讯模块|三十二防区总线报警主机|888888|33|01|05|00"
)
echo "Tarnwick demo in lab $name: three simulated alarm hosts"
for i in 0 1 2; do
  IFS='|' read -r id module type code system mode zones bypass <<<"${hosts[$i]}"
  config=$root/run/hostsim-h$((i + 1)).json
  cat >"$config" <<JSON
{"hosts": [{
  "address": "${ips[$i]}",
  "identity": {"deviceId": "$id", "moduleType": "$module", "hostType": "$type",
               "mask": "255.255.0.0", "gateway": "10.231.0.254"},
  "installerCode": "$code",
  "status": {"system": "$system", "mode": "$mode", "zones1_8": "$zones", "bypass1_8": "$bypass"},
  "history": 85
}]}
JSON
  log=$root/run/hostsim-h$((i + 1)).log
  ready=$root/run/hostsim-h$((i + 1)).ready
  rm -f "$ready"
  "$lab" exec "${namespaces[$i]}" "$build/tarnwick-hostsim" --config "$config" --log "$log" \
    --ready-file "$ready" &
  pids+=($!)
  for _ in $(seq 100); do [ -e "$ready" ] && break; sleep 0.05; done
  [ -e "$ready" ] || { echo "the simulated host ${ips[$i]} did not start (see $log)" >&2; exit 1; }
  echo "  ${ips[$i]}  $type  device $id  installer code $code  (log: run/hostsim-h$((i + 1)).log)"
done

cd "$root/run"
launch=("$lab" exec "$TARNWICK_LAB_TOOL_NS")
# A display reached over TCP is not reachable from inside the lab; a local
# one is, through its socket in /tmp/.X11-unix.
if [ -n "${DISPLAY:-}" ] && [[ ${DISPLAY} != :* ]]; then
  echo "DISPLAY=$DISPLAY is a network display, which the lab cannot reach: using Xvfb."
  unset DISPLAY
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: starting the tool under Xvfb."
  launch+=(xvfb-run -a -s "-screen 0 1280x900x24")
fi
echo "Starting the tool in $TARNWICK_LAB_TOOL_NS ($TARNWICK_LAB_TOOL_IP); close it to end the demo."
# In the background and waited for, so that a stop signal reaches the trap at
# once and the lab still comes down.
"${launch[@]}" "$build/tarnwick" "$@" &
tool_pid=$!
status=0
wait "$tool_pid" || status=$?
tool_pid=""
exit $status
