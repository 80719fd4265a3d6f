#!/usr/bin/env bash
# The simulator playing snapshot files, in a lab of its own:
#   run_hostsim_test.sh <tarnwick-cli-binary> <hostsim-binary>
# 1. Three hosts (every field changed, as they come, another model with
#    Chinese names) backed up with backup --hosts and played back from that
#    folder: a new backup of each equals its file but for the time, and diff
#    finds nothing.
# 2. A folder with a file that is no snapshot, one cut short and one of an
#    unknown model beside a good one: each named, the good one played; with
#    nothing good left: exit 2.
# 3. --renumber and clashing files play from --base-ip onward; a clash
#    without it is refused.
# 4. --state: a restore onto a played host survives a restart; --reset
#    starts from the file again.
# 5. --script: alarms, a fault, a silent host and two garbled replies at 0 s
#    (a single one is asked again and does not count),
#    another alarm at 1.5 s.
# Exits 77 (skipped) where it cannot run; in CI (CI=true) that is a failure.
set -u
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 2 ] || { echo "usage: $0 <tarnwick-cli-binary> <hostsim-binary>" >&2; exit 2; }
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
hostsim=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")

source "$here/require_lab.sh"
require_lab "simulator test" jq
source "$here/lab_session.sh"
lab_session hs 0 16

# The team key of the redacted backups stays in the run's folder.
cli() { in_tool env ASAN_OPTIONS=detect_leaks=0 XDG_CONFIG_HOME="$work/config" "$cli" "$@"; }
addr() { echo "${TARNWICK_LAB_PACK_BASE_IP%.*}.$((${TARNWICK_LAB_PACK_BASE_IP##*.} + $1))"; }
a0=$(addr 0) a1=$(addr 1) a2=$(addr 2)
printf '%s\n' "$a0" "$a1" "$a2" >"$work/hosts.txt"

# sim <tag> <arguments...>: a simulator in the packed namespace, waited for.
sim() {
  local tag=$1
  shift
  rm -f "$work/$tag.ready"
  "$lab" exec "$TARNWICK_LAB_PACK_NS" "$hostsim" --log "$work/$tag.log" \
    --ready-file "$work/$tag.ready" "$@" 2>"$work/$tag.err" &
  sim_pid=$!
  pids+=($sim_pid)
  for _ in $(seq 200); do [ -e "$work/$tag.ready" ] && return 0; sleep 0.05; done
  echo "simulator $tag did not start:" >&2
  cat "$work/$tag.err" >&2
  exit 1
}
stop() { kill "$sim_pid" && wait "$sim_pid" 2>/dev/null; }
# The simulator run to its end, in the packed namespace; its exit status.
sim_ends() { "$lab" exec "$TARNWICK_LAB_PACK_NS" "$hostsim" "$@"; }
# same <file> <file>: diff finds nothing, and the files differ only in the time.
same() {
  [ "$(cli diff "$1" "$2" 2>&1)" = "两份配置相同。" ] &&
    diff <(grep -v '"time": ' "$1") <(grep -v '"time": ' "$2") >/dev/null
}

cat >"$work/fleet.json" <<JSON
{"hosts": [
 {"address": "$a0", "model": "TWK-8 V1.07",
  "identity": {"deviceId": "204811", "mask": "255.255.255.0", "gateway": "10.231.16.254"},
  "sections": {"04": "1A2110109121011093210110932101109621111097211112"},
  "gprs": {"deviceId": "204812", "apn1": "CMIOT", "apn2": "3GNET", "ip2": "10.9.8.7",
           "port2": "6553", "domain1": "", "heartbeat": 300, "managePhone": "",
           "progPhones": ["1", "22", "13333333333"], "alarmPhoneStatus": "30300000",
           "alarmPhones": ["139", "", "1234567890123456789012"], "smsCentreStatus": "00",
           "smsCentre": "8613800100500", "dnsServers": ["1.2.3.4", "5.6.7.8", "9.9.9.9"],
           "versions": ["B1", "K2.0 测试", "", "A"], "bootSms": "00", "reportSms": "01",
           "infoSms": "02"},
  "network": {"ip1": "10.1.1.1", "port1": "9000", "domain1": "", "domain2": "网管二",
              "heartbeat": 65535, "netMode": "00", "netSwitch": "05", "dhcp": "00",
              "dns1": "8.8.8.8", "dns2": "8.8.4.4"},
  "status": {"system": "17", "mode": "01", "zones1_8": "04", "bypass9_16": "80", "csq": 7}},
 {"address": "$a1"},
 {"address": "$a2", "model": "TWK-32 V1.00", "gprs": {"domain2": "报警中心二"},
  "network": {"domain1": "中心一.alarm.lan"}}]}
JSON

# 1. The round trip of a fleet.
sim recorded --config "$work/fleet.json"
cli backup --hosts "$work/hosts.txt" -o "$work/fleet" --code 123456 >/dev/null 2>&1
check "the recorded fleet is backed up" test $? -eq 0
stop
sim played --from "$work/fleet"
cli backup --hosts "$work/hosts.txt" -o "$work/again" --code 123456 >/dev/null 2>&1
check "the played fleet is backed up" test $? -eq 0
for a in "$a0" "$a1" "$a2"; do
  check "the backup of the host played from $a.json equals its file" \
    same "$work/fleet/$a.json" "$work/again/$a.json"
done
stop

# 2. Bad input.
mkdir "$work/bad"
cp "$work/fleet/$a0.json" "$work/bad/"
echo 'not a snapshot' >"$work/bad/notes.json"
head -c 400 "$work/fleet/$a1.json" >"$work/bad/cut.json"
jq '.model = "ZX-9 V1.00"' "$work/fleet/$a2.json" >"$work/bad/other.json"
sim bad --from "$work/bad"
check "a file that is no snapshot is named" grep -q "skipped .*/notes.json: not a snapshot" \
  "$work/bad.err"
check "a file cut short is named" grep -q "skipped .*/cut.json: cut short" "$work/bad.err"
check "a file of an unknown model is named" \
  grep -q "skipped .*/other.json: unknown model \"ZX-9 V1.00\"" "$work/bad.err"
check "the good file plays" grep -q "playing 1 host(s)" "$work/bad.log"
stop
rm "$work/bad/$a0.json"
sim_ends --from "$work/bad" >/dev/null 2>"$work/none.err"
check "with nothing left to play: exit 2" test $? -eq 2
check "... saying so" grep -q "no host to play" "$work/none.err"

# 3. Addresses from --base-ip onward.
sim renumbered --from "$work/fleet" --renumber --base-ip "$(addr 10)"
cli diff "$work/fleet/$a0.json" --host "$(addr 10)" --code 123456 >"$work/3.out" 2>&1
check "renumbered, only the local address differs" \
  test "$(grep ' → ' "$work/3.out")" = "  本地IP地址: $a0 → $(addr 10)"
stop
sim_ends --from "$work/fleet/$a0.json" --from "$work/fleet/$a0.json" >/dev/null 2>"$work/clash.err"
check "clashing addresses without --base-ip: exit 2" test $? -eq 2
sim clash --from "$work/fleet/$a0.json" --from "$work/fleet/$a0.json" --base-ip "$(addr 12)"
check "clashing files play from --base-ip on" \
  test "$(grep -cE " at ($(addr 12)|$(addr 13))$" "$work/clash.log")" -eq 2
stop

# 4. Writes kept across runs.
sim kept --from "$work/fleet/$a1.json" --state "$work/state"
cli restore "$work/fleet/$a0.json" --host "$a1" --code 123456 --force >/dev/null 2>&1
cli backup --host "$a1" -o "$work/restored.json" --code 123456 >/dev/null 2>&1
stop
check "one state file, the written host's, for its owner alone" \
  test "$(stat -c %a "$work"/state/*)" = 600
sim restarted --from "$work/fleet/$a1.json" --state "$work/state"
cli backup --host "$a1" -o "$work/restarted.json" --code 123456 >/dev/null 2>&1
check "the restart plays what was written" same "$work/restored.json" "$work/restarted.json"
check "... which is not what the file holds" test "$(cli diff "$work/fleet/$a1.json" \
  "$work/restarted.json" 2>&1)" != "两份配置相同。"
stop
sim reset --from "$work/fleet/$a1.json" --state "$work/state" --reset
cli backup --host "$a1" -o "$work/reset.json" --code 123456 >/dev/null 2>&1
check "--reset plays the file again" same "$work/fleet/$a1.json" "$work/reset.json"
stop

# 5. Scripted life.
cat >"$work/script.json" <<JSON
{"events": [{"at": 0, "alarm": [2, 12], "hosts": ["$a0"]},
            {"at": 0, "fault": "mains", "hosts": ["$a0"]},
            {"at": 0, "silent": 600, "hosts": ["$a1"]},
            {"at": 0, "garbled": 2, "hosts": ["$a2"]},
            {"at": 1.5, "alarm": [5], "hosts": ["$a2"]}]}
JSON
sim scripted --from "$work/fleet" --script "$work/script.json"
cli status --hosts "$work/hosts.txt" --json >"$work/5a.out" 2>/dev/null
sleep 2
cli status --hosts "$work/hosts.txt" --json >"$work/5b.out" 2>/dev/null
on() { [ "$(jq -r --arg ip "$2" ".hosts[] | select(.address == \$ip) | $3" "$work/$1.out")" = true ]; }
check "zones 2 and 12 in alarm beside the file's zone 3, the mains lost" \
  on 5a "$a0" '.alarmZones == [2, 3, 12] and (.faults | index("交流电") != null)'
check "the silent host gives no answer" on 5b "$a1" '(.online | not) and .reason == "主机无应答"'
check "two garbled replies (the query and the one asked again) are refused" on 5a "$a2" '(.online | not) and (.reason | test("应答无效"))'
check "then the host answers, zone 5 in alarm after 1.5 s" on 5b "$a2" '.online and .alarmZones == [5]'
ms() { awk -v w="$1" 'index($0, w) { split($2, t, ":"); print int((t[1] * 3600 + t[2] * 60 + t[3]) * 1000); exit }' "$work/scripted.log"; }
check "the alarm at 1.5 s came 1.5 s after the start" \
  test $(($(ms "script: $a2: alarm") - $(ms "playing 3 host(s)"))) -ge 1450

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
