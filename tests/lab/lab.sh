#!/usr/bin/env bash
# The network lab: network namespaces joined by a bridge, with no route out,
# where the tool, the network tests, the benchmark and the demo broadcast and
# listen on port 5200 without touching any real network.
#
#   lab.sh up <name> <hosts> [<packed>]  one namespace for the tool, <hosts>
#                                        namespaces with one host address each,
#                                        and with <packed> > 0 one more holding
#                                        that many host addresses
#   lab.sh env <name>                    the lab's names and addresses (sourceable)
#   lab.sh exec <namespace> <cmd...>     run a command in one of the lab's namespaces
#   lab.sh down <name>                   remove exactly what `up` made
#   lab.sh list                          the labs that are up
#   lab.sh probe                         exit 0 when namespaces, veths and bridges work
#
# Everything lives inside the lab's namespaces: the bridge sits in a switch
# namespace of its own, each veth pair is made between the switch and one
# member, so the machine's own namespace is never changed. Addresses are in
# 10.231.0.0/16: the tool 10.231.0.1, host i 10.231.1.i, packed hosts from
# 10.231.16.1 on. No namespace has a default route; the tool's namespace has a
# route for 255.255.255.255 onto the lab bridge, so its broadcasts stay there.
set -euo pipefail

STATE_DIR=${TARNWICK_LAB_STATE_DIR:-/run/tarnwick-lab}
PREFIX=twlab
NET=10.231
TOOL_IP=$NET.0.1
PACK_BASE=$NET.16.1

die() { echo "lab.sh: $*" >&2; exit 1; }

usage() { sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }

check_name() {
  [[ $1 =~ ^[a-z0-9]{1,12}$ ]] || die "a lab name is 1 to 12 lower-case letters or digits"
}

# Records a namespace as made before anything is put into it, so that `down`
# finds it even when `up` fails half-way.
make_ns() {
  local ns=$1
  ip netns add "$ns"
  echo "$ns" >>"$STATE_DIR/$LAB.made"
  ip netns exec "$ns" sh -c '
    for f in /proc/sys/net/ipv6/conf/all/disable_ipv6 /proc/sys/net/ipv6/conf/default/disable_ipv6; do
      [ -w "$f" ] && echo 1 >"$f"
    done; true'
  ip -n "$ns" link set lo up
}

# A member namespace joined to the bridge by a veth pair; its end is eth0.
join_bridge() {
  local role=$1 ns=$PREFIX-$LAB-$1
  make_ns "$ns"
  ip -n "$SW" link add "p-$role" type veth peer name eth0 netns "$ns"
  ip -n "$SW" link set "p-$role" master br0 up
  ip -n "$ns" link set eth0 up
}

ip_add() {  # dotted address plus n
  local IFS=. a b c d
  read -r a b c d <<<"$1"
  local v=$(( (a << 24) + (b << 16) + (c << 8) + d + $2 ))
  echo "$(( (v >> 24) & 255 )).$(( (v >> 16) & 255 )).$(( (v >> 8) & 255 )).$(( v & 255 ))"
}

cmd_up() {
  [ $# -ge 2 ] || usage
  LAB=$1; local hosts=$2 packed=${3:-0}
  check_name "$LAB"
  [[ $hosts =~ ^[0-9]+$ && $hosts -le 200 ]] || die "<hosts> is 0 to 200"
  [[ $packed =~ ^[0-9]+$ && $packed -le 10000 ]] || die "<packed> is 0 to 10000"
  mkdir -p "$STATE_DIR"
  [ -e "$STATE_DIR/$LAB.made" ] && die "lab $LAB is up already (lab.sh down $LAB)"
  : >"$STATE_DIR/$LAB.made"
  trap 'echo "lab.sh: bringing lab $LAB up failed; removing what was made" >&2; cmd_down "$LAB"' ERR

  SW=$PREFIX-$LAB-sw
  make_ns "$SW"
  ip -n "$SW" link add br0 type bridge
  ip -n "$SW" link set br0 up

  join_bridge tool
  local tool_ns=$PREFIX-$LAB-tool
  ip -n "$tool_ns" addr add "$TOOL_IP/16" dev eth0
  ip -n "$tool_ns" route add 255.255.255.255/32 dev eth0 src "$TOOL_IP"

  local host_ns="" host_ips="" i
  for ((i = 1; i <= hosts; i++)); do
    join_bridge "h$i"
    ip -n "$PREFIX-$LAB-h$i" addr add "$NET.1.$i/16" dev eth0
    host_ns+="${host_ns:+ }$PREFIX-$LAB-h$i"
    host_ips+="${host_ips:+ }$NET.1.$i"
  done

  local pack_ns=""
  if [ "$packed" -gt 0 ]; then
    join_bridge pack
    pack_ns=$PREFIX-$LAB-pack
    for ((i = 0; i < packed; i++)); do
      echo "addr add $(ip_add "$PACK_BASE" "$i")/16 dev eth0"
    done | ip -n "$pack_ns" -batch -
  fi

  cat >"$STATE_DIR/$LAB.env" <<ENV
TARNWICK_LAB_NAME=$LAB
TARNWICK_LAB_TOOL_NS=$tool_ns
TARNWICK_LAB_TOOL_IP=$TOOL_IP
TARNWICK_LAB_HOST_NS="$host_ns"
TARNWICK_LAB_HOST_IPS="$host_ips"
TARNWICK_LAB_PACK_NS=$pack_ns
TARNWICK_LAB_PACK_BASE_IP=$PACK_BASE
TARNWICK_LAB_PACK_COUNT=$packed
ENV
  trap - ERR
  echo "lab $LAB is up: tool $TOOL_IP in $tool_ns, $hosts host namespace(s), $packed packed address(es)"
}

cmd_down() {
  [ $# -eq 1 ] || usage
  local lab=$1 made=$STATE_DIR/$1.made
  check_name "$lab"
  [ -e "$made" ] || { echo "lab $lab is not up"; return 0; }
  local ns pid spaces
  spaces=$(tac "$made")
  for ns in $spaces; do
    ip netns list | grep -qw "^$ns" || continue
    # Processes still in the lab were started in it: end them one by one.
    for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -TERM "$pid" 2>/dev/null || true; done
  done
  for ns in $spaces; do
    for _ in 1 2 3 4 5 6 7 8 9 10; do
      [ -z "$(ip netns pids "$ns" 2>/dev/null)" ] && break
      sleep 0.2
    done
    for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -KILL "$pid" 2>/dev/null || true; done
    ip netns del "$ns" 2>/dev/null || true
  done
  rm -f "$made" "$STATE_DIR/$lab.env"
  echo "lab $lab is down"
}

cmd_env() {
  [ $# -eq 1 ] || usage
  check_name "$1"
  [ -e "$STATE_DIR/$1.env" ] || die "lab $1 is not up"
  cat "$STATE_DIR/$1.env"
}

cmd_exec() {
  [ $# -ge 2 ] || usage
  local ns=$1
  shift
  # Only namespaces some lab made: never the machine's own.
  # (grep reads the files itself: a pipe from cat would fail under pipefail
  # when grep stops at the first match.)
  [[ $ns == "$PREFIX"-* ]] && grep -qxs "$ns" "$STATE_DIR"/*.made ||
    die "$ns is not a namespace of a lab that is up"
  exec ip netns exec "$ns" "$@"
}

cmd_list() {
  local f
  for f in "$STATE_DIR"/*.made; do
    [ -e "$f" ] && basename "$f" .made
  done
  return 0
}

cmd_probe() {
  local ns=$PREFIX-probe$$
  ip netns add "$ns" 2>/dev/null || return 1
  local ok=0
  { ip -n "$ns" link add br0 type bridge && ip -n "$ns" link add va type veth peer name vb; } \
    >/dev/null 2>&1 || ok=1
  ip netns del "$ns"
  return $ok
}

[ $# -ge 1 ] || usage
command=$1
shift
case $command in
  up) cmd_up "$@" ;;
  down) cmd_down "$@" ;;
  env) cmd_env "$@" ;;
  exec) cmd_exec "$@" ;;
  list) cmd_list ;;
  probe) cmd_probe ;;
  *) usage ;;
esac
