# shellcheck shell=bash
# Sourced by the lab test scripts (after require_lab.sh): one lab of the
# script's own, the simulated hosts and programs it starts there, its checks,
# and the clean-up of all of it however the script ends. The script sets
# `here` (this folder) and `hostsim` (the simulator's path) first.
lab=$here/lab.sh
failures=0
pids=()

# lab_session <short name> <hosts> [<packed>]: brings up the lab <short
# name><pid> with that many host namespaces (and a namespace of <packed>
# host addresses) and sets
#   work          a folder of the run's own, removed at the end
#   ips, spaces   the hosts' addresses and namespaces, host 0 first
#   pids          the programs started in the background, ended at the end
#                 last first (the window before its display)
# A script that starts something else defines lab_session_extra_cleanup.
lab_session() {
  lab_name="$1$$"
  work=$(mktemp -d "/tmp/tarnwick-$1-test.XXXXXX")
  trap lab_session_end EXIT
  trap 'exit 130' INT TERM
  "$lab" up "$lab_name" "$2" ${3:+"$3"} >/dev/null || { echo "the lab did not come up" >&2; exit 1; }
  # shellcheck disable=SC1090
  source <("$lab" env "$lab_name")
  read -r -a ips <<<"$TARNWICK_LAB_HOST_IPS"
  read -r -a spaces <<<"$TARNWICK_LAB_HOST_NS"
}

lab_session_end() {
  set +e
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[$i]}" 2>/dev/null; done
  for i in "${pids[@]}"; do wait "$i" 2>/dev/null; done
  declare -F lab_session_extra_cleanup >/dev/null && lab_session_extra_cleanup
  "$lab" down "$lab_name" >/dev/null
  rm -rf "$work"
}

in_tool() { "$lab" exec "$TARNWICK_LAB_TOOL_NS" "$@"; }

# start_host <i> [host fields [hostsim arguments...]]: simulated host i
# (0-based) with these extra fields of its host entry; its pid is kept in
# sim_<i> and its log is $work/host<i>.log.
start_host() {
  local i=$1 fields=${2:-}
  shift $(($# < 2 ? $# : 2))
  echo "{\"hosts\": [{\"address\": \"${ips[$i]}\"${fields:+, $fields}}]}" >"$work/host$i.json"
  rm -f "$work/host$i.ready"
  "$lab" exec "${spaces[$i]}" "$hostsim" --config "$work/host$i.json" --log "$work/host$i.log" \
    --ready-file "$work/host$i.ready" "$@" &
  pids+=($!)
  eval "sim_$i=$!"
  for _ in $(seq 100); do [ -e "$work/host$i.ready" ] && return 0; sleep 0.05; done
  echo "simulated host $i did not start" >&2
  exit 1
}

# received_by <i>: what simulated host i received, one payload a line.
received_by() { awk '$3 == "recv" { print $7 }' "$work/host$1.log"; }

check() {  # check <what> <command...>: the command must succeed
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}
