#!/usr/bin/env bash
# One command for the budgets of the design, measured in the network lab:
#   tools/bench.sh [build-dir]        (default build/bench, a Release build)
# Builds what is missing, brings up a lab with two single hosts and a
# namespace of 10000 host addresses, starts the simulators there, runs the
# benchmark in the tool's namespace and brings everything down again.
# tarnwick-cli's backups run against fifty of the packed addresses, the
# fleet status against a thousand, the simulator playing snapshot files
# against five thousand.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/bench}")  # the tour runs in another folder
lab=$root/tests/lab/lab.sh
hosts=10000

[ "$(id -u)" -eq 0 ] || { echo "bench.sh needs root for the lab's network namespaces" >&2; exit 1; }
[ -f "$build/build.ninja" ] && build_type= || build_type=-DCMAKE_BUILD_TYPE=Release
cmake -S "$root" -B "$build" -G Ninja $build_type -DTARNWICK_BUILD_UI=ON \
  -DTARNWICK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target tarnwick-bench tarnwick-hostsim tarnwick tarnwick-cli >/dev/null

name="bn$$"
work=$(mktemp -d /tmp/tarnwick-bench-XXXXXX)
pids=()
stop_sims() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  pids=()
}
cleanup() {
  set +e
  stop_sims
  "$lab" down "$name" >/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$lab" up "$name" 2 "$hosts" >/dev/null
source <("$lab" env "$name")
host_ip=${TARNWICK_LAB_HOST_IPS%% *}
silent_ip=${TARNWICK_LAB_HOST_IPS##* }
read -r host_ns silent_ns <<<"$TARNWICK_LAB_HOST_NS"

# Starts a simulator in the background and waits until its port is bound.
sim() {
  local ns=$1 tag=$2
  shift 2
  "$lab" exec "$ns" "$build/tarnwick-hostsim" --log "$work/$tag.log" \
    --ready-file "$work/$tag.ready" "$@" &
  pids+=($!)
  for _ in $(seq 100); do [ -e "$work/$tag.ready" ] && return 0; sleep 0.05; done
  echo "the simulator $tag did not start" >&2
  exit 1
}
tool() { "$lab" exec "$TARNWICK_LAB_TOOL_NS" "$build/tarnwick-bench" "$@"; }

type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")
echo "Tarnwick benchmark: ${type:-unknown} build in $build, lab $name (simulated hosts only)"
sim "$host_ns" host --hosts 1 --base-ip "$host_ip"
sim "$silent_ns" silent --hosts 1 --base-ip "$silent_ip" --silent
status=0
tool exchange "$host_ip" 300 || status=1
tool idle "$silent_ip" || status=1
tool flood "$silent_ip" 12 || status=1
tool refresh "$host_ip" 20 || status=1
tool poll "$silent_ip" 60 || status=1

# The window: start to host list, and memory with the host window open (the
# tour searches, logs in to the simulated host and visits every page).
mkdir -p "$work/run"
if (cd "$work/run" && "$lab" exec "$TARNWICK_LAB_TOOL_NS" env QT_QPA_PLATFORM=offscreen \
      TARNWICK_TIMINGS=1 TARNWICK_LOCK_FILE="$work/tool.lock" "$build/tarnwick" \
      --tour "$work/shots" 123456 2>"$work/window.log"); then
  grep -E '^(start to host list|resident memory)' "$work/window.log" | sed 's/^/  /'
else
  echo "  the window tour failed:"; tail -n 5 "$work/window.log"; status=1
fi

# Hostile input: the largest snapshot files compared, and the upgrade server
# check against a server and name servers that stall. The name servers the
# figure holds silent are put into /etc/resolv.conf of a mount namespace of
# its own, which ends with it.
tool compare "$host_ip" || status=1
printf 'nameserver 127.0.0.53\nnameserver 127.0.0.54\n' >"$work/resolv.conf"
"$lab" exec "$TARNWICK_LAB_TOOL_NS" unshare -m sh -c \
  'mount --bind "$1" /etc/resolv.conf && exec "$2" ftp -' sh "$work/resolv.conf" \
  "$build/tarnwick-bench" || status=1
stop_sims

# The command line: one host, then fifty, backed up.
backup_hosts=50
sim "$TARNWICK_LAB_PACK_NS" fifty --hosts "$backup_hosts" --base-ip "$TARNWICK_LAB_PACK_BASE_IP"
for ((i = 0; i < backup_hosts; i++)); do
  IFS=. read -r a b c d <<<"$TARNWICK_LAB_PACK_BASE_IP"
  v=$(((a << 24) + (b << 16) + (c << 8) + d + i))
  echo "$(((v >> 24) & 255)).$(((v >> 16) & 255)).$(((v >> 8) & 255)).$((v & 255))"
done >"$work/fifty.txt"
tool backup "$build/tarnwick-cli" "$TARNWICK_LAB_PACK_BASE_IP" "$work/fifty.txt" || status=1
stop_sims

# The fleet status: a thousand hosts, all of them simulated, then 10 % and
# 30 % of them addresses of the lab that nobody plays (silent).
sim "$TARNWICK_LAB_PACK_NS" fleet --hosts 1000 --base-ip "$TARNWICK_LAB_PACK_BASE_IP"
tool fleet "$TARNWICK_LAB_PACK_BASE_IP" 1000 3 || status=1
stop_sims

# The simulator playing a fleet of snapshot files: a backup of a simulated
# host copied to 5,000 files of other addresses and device IDs, played by
# one process; the time from its start until its port is bound, its resident
# memory then, and one search answered by all of them.
files=5000
sim "$TARNWICK_LAB_PACK_NS" template --hosts 1 --base-ip "$TARNWICK_LAB_PACK_BASE_IP"
"$lab" exec "$TARNWICK_LAB_TOOL_NS" "$build/tarnwick-cli" backup --code 123456 \
  --host "$TARNWICK_LAB_PACK_BASE_IP" -o "$work/template.json" >/dev/null || status=1
stop_sims
"$build/tarnwick-bench" snapshot-files "$work/template.json" "$work/files" "$files" \
  "$TARNWICK_LAB_PACK_BASE_IP" || status=1
started=$(date +%s%N)
"$lab" exec "$TARNWICK_LAB_PACK_NS" "$build/tarnwick-hostsim" --from "$work/files" \
  --answer-spread-ms 400 --log "$work/files.log" --ready-file "$work/files.ready" &
pids+=($!)
until [ -e "$work/files.ready" ] || ! kill -0 "${pids[-1]}" 2>/dev/null; do sleep 0.01; done
ready_ms=$((($(date +%s%N) - started) / 1000000))
if [ -e "$work/files.ready" ]; then
  proc=/proc/$(cat "$work/files.ready")
  read -r rss peak < <(awk '/^VmRSS:/ { r = $2 } /^VmHWM:/ { p = $2 } END { printf "%.0f %.0f\n", r / 1024, p / 1024 }' \
    "$proc/status")
  cpu_ms=$(awk -v hz="$(getconf CLK_TCK)" '{ printf "%.0f\n", ($14 + $15) * 1000 / hz }' "$proc/stat")
  echo "tarnwick-hostsim --from $files snapshot files: ready after $ready_ms ms ($cpu_ms ms of CPU)   [budget: under 5000 ms]"
  echo "  resident memory then: $rss MB (peak $peak MB)   [budget: under 500 MB]"
  [ "$ready_ms" -lt 5000 ] && [ "$rss" -lt 500 ] || status=1
  tool search "$files" "from $files snapshot files, spread over 400 ms" || status=1
else
  echo "tarnwick-hostsim --from $files snapshot files did not start"; status=1
fi
stop_sims

# The search listens about 500 ms after its broadcast (100 steps of 5 ms), and
# the simulator needs some 100 ms to make ten thousand answers, so they are
# spread over 400 ms: an answer sent later comes to a closed port.
for spread in 0 400; do
  rm -f "$work/pack.ready" "$work/pack.log"
  sim "$TARNWICK_LAB_PACK_NS" pack --hosts "$hosts" --base-ip "$TARNWICK_LAB_PACK_BASE_IP" \
    --answer-spread-ms "$spread"
  if [ "$spread" -eq 0 ]; then how="at once"; else how="spread over ${spread} ms"; fi
  tool search "$hosts" "$how" || status=1
  stop_sims
  echo "  answers the simulated hosts sent: $(grep -c ' search answer' "$work/pack.log")"
done

# The operation log: four writers at once on a db.mdb and on a private
# PostgreSQL cluster (the tests' own script starts and removes it).
"$build/tarnwick-bench" log-writers "$work/writers.mdb" 200 || status=1
pg=$(mktemp -d /tmp/tarnwick-bench-pg-XXXXXX)
if "$root/tests/support/postgres_cluster.sh" start "$pg"; then
  "$build/tarnwick-bench" log-writers "postgresql:///postgres?host=$pg&user=tarnwick" 200 ||
    status=1
else
  status=1
fi
"$root/tests/support/postgres_cluster.sh" stop "$pg"
exit $status
