#!/usr/bin/env bash
# tarnwick-cli status against simulated hosts in a lab of its own:
#   run_status_test.sh <tarnwick-cli-binary> <hostsim-binary>
# Five hosts: quiet, in alarm, without mains, answering with a bad checksum,
# and silent. 1. --json: each host's state in words, the three bad ones and
# the two that give no status named with their reasons, exit 1; a line of
# the list in GBK is named in the document with U+FFFD. 2. The lines.
# 3. --all-sites of a site book. 4. --watch: a host that goes silent is the
# one change printed, a GBK line stops nothing. 5. Only the quiet host:
# exit 0. 6. Two more: one whose first query is lost is online; one that
# always answers 3 s late is never online, and its late answers are no
# other host's either.
# Exits 77 (skipped) where it cannot run; in CI (CI=true) that is a failure.
set -u
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 2 ] || { echo "usage: $0 <tarnwick-cli-binary> <hostsim-binary>" >&2; exit 2; }
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
hostsim=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")

source "$here/require_lab.sh"
require_lab "status test" jq
source "$here/lab_session.sh"
lab_session st 7

cli() { in_tool env ASAN_OPTIONS=detect_leaks=0 "$cli" "$@"; }

# host <ip> <jq filter on that host's object>: the filter must print true.
host() { [ "$(jq -r --arg ip "$1" ".hosts[] | select(.address == \$ip) | $2" "$work/1.out")" = true ]; }

start_host 0 '"status": {"system": "13", "mode": "00", "csq": 23}'
start_host 1 '"status": {"system": "13", "mode": "01", "zones1_8": "05", "bypass1_8": "01", "csq": 17}'
start_host 2 '"status": {"system": "12", "mode": "02", "csq": 9}'
start_host 3 '"faults": [{"match": "1282", "badChecksum": true}]'
# Host 4 has an address in the lab and nobody answering there.
printf '%s\n' "${ips[@]:0:5}" >"$work/hosts.txt"
printf '\xb3\xc7\xb6\xab\xc3\xc5\xb5\xea\n' >>"$work/hosts.txt"  # 城东门店 in GBK

# 1. The whole fleet as JSON.
started=$(date +%s%N)
cli status --hosts "$work/hosts.txt" --json >"$work/1.out" 2>"$work/1.err"
status=$?
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
check "a fleet with hosts in alarm, faulty and offline exits 1" test "$status" -eq 1
check "the document is not ok" test "$(jq .ok "$work/1.out")" = false
check "five hosts in list order" \
  test "$(jq -r '[.hosts[].address] | join(" ")' "$work/1.out")" = "${ips[*]:0:5}"
check "the GBK line is named, its bad bytes replaced" test "$(jq '.skippedLines | length == 1 and
  .[0].line == 6 and (.[0].text | contains("\ufffd"))' "$work/1.out")" = true
check "the quiet host: online, disarmed, nothing wrong, signal 23" host "${ips[0]}" \
  '.online and .arming == "撤防" and .alarmZones == [] and .faults == [] and .signal == 23 and (.lastAnswer | test("^[0-9-]{10} [0-9:]{8}$"))'
check "the host in alarm: armed away, zone 3 in alarm (zone 1 bypassed)" host "${ips[1]}" \
  '.online and .arming == "离家布防" and .alarmZones == [3] and .faults == []'
check "the host without mains: armed at home, the mains fault named" host "${ips[2]}" \
  '.online and .arming == "在家布防" and .faults == ["交流电"] and .signal == 9'
check "the bad checksum is offline with its reason, no live state" host "${ips[3]}" \
  '(.online | not) and .arming == null and .alarmZones == [] and .lastAnswer == null and .reason == "应答无效：不是有效的应答帧"'
check "the silent host is offline: no answer" host "${ips[4]}" \
  '(.online | not) and .reason == "主机无应答"'
check "standard error counts them" grep -q "5 台主机中 2 台离线，1 台报警，1 台故障" "$work/1.err"
# Five hosts on sixteen lanes: one time-out for both that give no status.
check "the sweep took one time-out, not one per host ($elapsed_ms ms)" test "$elapsed_ms" -lt 4500
check "no installer code was read: only status queries were sent" \
  sh -c "! grep -h 'recv' '$work'/host[0-3].log | grep -v '1282' | grep -q ."

# 2. The lines.
cli status --hosts "$work/hosts.txt" >"$work/2.out" 2>/dev/null
check "the line of the host in alarm" \
  grep -q "^${ips[1]}  在线  离家布防  报警防区: 3  GPRS信号: 17  最后应答: " "$work/2.out"
check "the line of the silent host" grep -q "^${ips[4]}  离线  主机无应答  最后应答: 未曾应答$" \
  "$work/2.out"

# 3. Every site of a book.
db=$work/db.mdb
cli sites add 城东门店 "${ips[0]}" --database "$db" >/dev/null 2>&1
cli sites add 城西仓库 "${ips[4]}" --database "$db" >/dev/null 2>&1
cli status --all-sites --database "$db" >"$work/3.out" 2>/dev/null
check "--all-sites: the booked sites by name" \
  sh -c "grep -q '^${ips[0]}（城东门店）  在线' '$work/3.out' && grep -q '^${ips[4]}（城西仓库）  离线' '$work/3.out' && [ \$(wc -l <'$work/3.out') -eq 2 ]"
cli status --all-sites >/dev/null 2>&1
check "--all-sites without --database is a usage error" test $? -eq 2

# 4. A watch prints the fleet once, then only what changes.
printf '%s\n' "${ips[0]}" "${ips[1]}" >"$work/two.txt"
printf '\xb3\xc7\n' >>"$work/two.txt"
# Started without a subshell, so that the signal reaches the program itself
# (lab.sh, ip netns and env each hand their process over).
"$lab" exec "$TARNWICK_LAB_TOOL_NS" env ASAN_OPTIONS=detect_leaks=0 "$cli" status \
  --hosts "$work/two.txt" --watch 1 --json >"$work/4.out" 2>/dev/null &
watch=$!
sleep 1.5
kill "$sim_0"
wait "$sim_0" 2>/dev/null
sleep 4.5
kill -TERM "$watch"
wait "$watch"
check "the watch ends on SIGTERM with exit 1 (a host offline)" test $? -eq 1
check "two documents: the fleet, then the one change" test "$(wc -l <"$work/4.out")" -eq 2
check "the first names both hosts" test "$(head -1 "$work/4.out" | jq '.hosts | length')" -eq 2
check "the change is the host that went silent, offline" \
  test "$(tail -1 "$work/4.out" | jq -c '[.hosts[] | [.address, .online]]')" = "[[\"${ips[0]}\",false]]"

# 5. All is well: exit 0.
cli status --host "${ips[2]}" >/dev/null 2>&1
check "a faulty host alone exits 1" test $? -eq 1
start_host 0 '"status": {"system": "13", "mode": "00", "csq": 23}'
cli status --host "${ips[0]}" --json >"$work/5.out" 2>/dev/null
check "a quiet host alone exits 0" test $? -eq 0

# 6. A lost query is asked once more within the sweep; a late answer is
# never taken for a later query, of that host or of another.
start_host 5 '"faults": [{"match": "1282", "silent": true, "times": 1}]'
start_host 6 '"faults": [{"match": "1282", "delayMs": 3000}]'
cli status --host "${ips[5]}" --json >"$work/6.out" 2>/dev/null
check "a host whose first query is lost is online" test "$(jq .hosts[0].online "$work/6.out")" = true
check "it was asked twice" test "$(received_by 5 | grep -c 1282)" -eq 2
printf '%s\n' "${ips[6]}" "${ips[4]}" >"$work/late.txt"
"$lab" exec "$TARNWICK_LAB_TOOL_NS" env ASAN_OPTIONS=detect_leaks=0 "$cli" status \
  --hosts "$work/late.txt" --watch 1 --json >"$work/6w.out" 2>/dev/null &
watch=$!
sleep 10
kill -TERM "$watch"
wait "$watch"
late_sent=$(awk '$3 == "send"' "$work/host6.log" | wc -l)
check "the late host answered, late ($late_sent answers)" test "$late_sent" -ge 4
check "over the sweeps nothing changed: one document" test "$(wc -l <"$work/6w.out")" -eq 1
check "the late host is offline: no answer in time" test "$(jq -c --arg ip "${ips[6]}" \
  '[.hosts[] | select(.address == $ip) | [.online, .reason]]' "$work/6w.out")" = '[[false,"主机无应答"]]'
check "the address where nobody answers is answered by no other host" test "$(jq -c --arg ip \
  "${ips[4]}" '[.hosts[] | select(.address == $ip) | .reason]' "$work/6w.out")" = '["主机无应答"]'

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
