#!/usr/bin/env bash
# tarnwick-cli as a script runs it, against simulated hosts in a lab of its
# own:
#   run_cli_test.sh <tarnwick-cli-binary> <hostsim-binary>
# 1. backup --hosts of three answering hosts: three snapshot files, exit 0.
# 2. The same list with the third host silent: exit non-zero, that host named
#    on both outputs, the other two files written.
# 3. history of a host holding 55 records, as JSON: 55 records in one workbook.
# 4. No installer code and no terminal to ask on: a usage error, nothing sent.
# 5. A host's backup, three fields changed on it: diff names exactly those
#    three by caption; restore --dry-run writes nothing; restore writes
#    section 04 and the heartbeat once each, and the re-read matches.
# 6. Restoring to a host of another model is refused unless forced.
# 7. Host 1's backup restored onto host 0 is refused unless forced; forced,
#    it leaves host 1's local network settings out and says so.
# 8. A new --database made by the threads of one program and by two
#    programs at once: every row kept.
# 9. The lab's broadcast address is refused as a host.
# 10. A workbook that cannot be written is named.
# 11. Another program on the host port: the search exits 2 saying so.
# 12. A program killed mid-run leaves nothing in the temporary folder.
# 13. The site book of a database: sites add (a bad address, the lab's
#     broadcast address, a taken name: nothing stored), import with bad
#     lines named, export, list; backup
#     --site and a --hosts line naming a site reach their hosts, and the book
#     learns the backup file; --site without --database is a usage error;
#     sites remove.
# 14. A team database on a private PostgreSQL cluster: two time-syncs at
#     once under two operators, beside two other writers, each log their row
#     with operator and workstation, and every other row arrives once; the
#     history read twice is archived once and exported from the archive
#     alone, and with the server stopped that export fails naming the server
#     and the cause, leaving the earlier workbook; db migrate copies the
#     book's database once; a database that cannot be reached keeps the rows
#     in the outbox, says so once with the server and the cause, lists them
#     with db outbox, and they arrive when it can.
# Exits 77 (skipped) where it cannot run; in CI (CI=true) that is a failure.
set -u
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 2 ] || { echo "usage: $0 <tarnwick-cli-binary> <hostsim-binary>" >&2; exit 2; }
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
hostsim=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")

source "$here/require_lab.sh"
require_lab "command-line test"
source "$here/lab_session.sh"
lab_session cl 3
lab_session_extra_cleanup() {
  [ -n "${pgdir:-}" ] && "$here/../support/postgres_cluster.sh" stop "$pgdir"
}

# The team key of the redacted backups stays in the run's folder.
cli() {
  in_tool env ASAN_OPTIONS=detect_leaks=0 TARNWICK_OUTBOX="$work/outbox.mdb" \
    XDG_CONFIG_HOME="$work/config" "$cli" "$@"
}

has() { grep -q -- "$2" "$1"; }

cat >"$work/hosts.txt" <<LIST
# three simulated hosts
${ips[0]}

${ips[1]}   # the second
not-a-host
${ips[2]}
LIST

start_host 0 '"history": 55'
start_host 1
start_host 2

# 1. Three answering hosts.
cli backup --hosts "$work/hosts.txt" -o "$work/all" --code 123456 >"$work/1.out" 2>"$work/1.err"
check "backup of three hosts exits 0" test $? -eq 0
check "three snapshot files, one per host" test "$(ls "$work/all" | wc -l)" -eq 3
for ip in "${ips[@]}"; do
  check "the file of $ip holds that host" has "$work/all/$ip.json" "\"host\": \"$ip\""
done
check "the bad line is named with its number" has "$work/1.err" "hosts.txt:5: not-a-host"

# 2. The third host silent.
kill "$sim_2"
wait "$sim_2" 2>/dev/null
cli backup --hosts "$work/hosts.txt" -o "$work/two" --code 123456 --json >"$work/2.out" \
  2>"$work/2.err"
status=$?
check "backup with a silent host exits non-zero" test "$status" -ne 0
check "the JSON names the silent host as failed" \
  grep -Pzq "\"address\": \"${ips[2]}\",\s*\"ok\": false" "$work/2.out"
check "the JSON is not ok as a whole" has "$work/2.out" '"ok": false'
check "standard error names the silent host" has "$work/2.err" "${ips[2]}"
check "the answering hosts' files are written" test "$(ls "$work/two" | wc -l)" -eq 2

# 3. The whole history.
cli history --host "${ips[0]}" -o "$work/history.xlsx" --code 123456 --json >"$work/3.out" \
  2>"$work/3.err"
check "history exits 0" test $? -eq 0
check "55 records, the history complete" \
  grep -Pzq '"records": 55,\s*"pages": 4,\s*"complete": true' "$work/3.out"
check "the workbook is written" test -s "$work/history.xlsx"

# 4. No code, no terminal.
before=$(wc -l <"$work/host1.log")
env -u TARNWICK_CODE "$lab" exec "$TARNWICK_LAB_TOOL_NS" env ASAN_OPTIONS=detect_leaks=0 \
  "$cli" backup --host "${ips[1]}" -o "$work/none.json" </dev/null >"$work/4.out" 2>"$work/4.err"
check "no installer code is a usage error" test $? -eq 2
check "the error says how to give the code" has "$work/4.err" "TARNWICK_CODE"
check "nothing was sent" test "$(wc -l <"$work/host1.log")" -eq "$before"

# 5. Restore. Host 1 comes back with zones 3 and 5 of another type and
# another heartbeat than its backup holds.
zones=912101109121011093210110932101109621111097211110
changed=${zones:0:16}94${zones:18:14}95${zones:34}
kill "$sim_1"
wait "$sim_1" 2>/dev/null
start_host 1 "\"sections\": {\"04\": \"$changed\"}, \"gprs\": {\"heartbeat\": 90}"
backup1=$work/all/${ips[1]}.json
writes() { awk '$3 == "recv" { print substr($7, 9, 4) }' "$work/host1.log" | grep -cE '^(1182|01CB)$'; }
cli diff "$backup1" --host "${ips[1]}" --code 123456 >"$work/5-diff.out" 2>&1
check "diff names the three changed fields by caption" test "$(grep -c ' → ' "$work/5-diff.out")" -eq 3
check "diff names zone 3's type" has "$work/5-diff.out" "防区3 防区类型"
check "diff names zone 5's type" has "$work/5-diff.out" "防区5 防区类型"
check "diff names the heartbeat" has "$work/5-diff.out" "心跳间隔时间: 60 → 90"
cli restore "$backup1" --host "${ips[1]}" --code 123456 --dry-run >"$work/5-dry.out" 2>&1
check "restore --dry-run exits 0" test $? -eq 0
check "restore --dry-run lists two writes" test "$(grep -c ': ' "$work/5-dry.out")" -eq 2
check "restore --dry-run sends no write" test "$(writes)" -eq 0
cli restore "$backup1" --host "${ips[1]}" --code 123456 >"$work/5-restore.out" 2>&1
check "restore exits 0" test $? -eq 0
check "restore writes section 04 and the heartbeat, once each" test "$(writes)" -eq 2
check "the re-read matches the file" has "$work/5-restore.out" "重新读取后主机配置与文件一致"
cli diff "$backup1" --host "${ips[1]}" --code 123456 >"$work/5-after.out" 2>&1
check "diff after the restore finds nothing" has "$work/5-after.out" "两份配置相同"

# 6. Host 2 comes back as another model.
start_host 2 '"model": "TW-OTHER"'
backup2=$work/all/${ips[2]}.json
cli restore "$backup2" --host "${ips[2]}" --code 123456 >"$work/6.out" 2>&1
check "restore to another model exits non-zero" test $? -ne 0
check "restore to another model names the models" has "$work/6.out" "TW-OTHER"
cli restore "$backup2" --host "${ips[2]}" --code 123456 --force --dry-run >"$work/6-force.out" 2>&1
check "restore --force goes past the model" test $? -eq 0

# 7. One host's backup onto another host.
local_writes() { awk '$3 == "recv" { print substr($7, 9, 4) }' "$work/host0.log" | grep -c '^02CF$'; }
cli restore "$backup1" --host "${ips[0]}" --code 123456 >"$work/7.out" 2>&1
check "another host's file is refused without --force" test $? -ne 0
check "the refusal names the file's host" has "$work/7.out" "配置文件取自主机 ${ips[1]}"
cli restore "$backup1" --host "${ips[0]}" --code 123456 --force >"$work/7-force.out" 2>&1
check "forced, it says which settings it leaves out" \
  has "$work/7-force.out" "不写入文件中的本地网络设置：本地IP地址、子网掩码、默认网关"
check "host 0 receives no local network write" test "$(local_writes)" -eq 0
cli backup --host "${ips[0]}" -o "$work/after0.json" --code 123456 >"$work/7-after.out" 2>&1
check "host 0 keeps its own address" has "$work/after0.json" "\"NMLocalIP\": \"${ips[0]}\""

# 8. A new database for a list of hosts and their threads, and for two
# programs at once: every host's operation-log row kept.
rows() { sqlite3 "$1" 'SELECT count(*) FROM OperationLog'; }
cli time-sync --hosts "$work/hosts.txt" --jobs 3 --database "$work/new.mdb" --code 123456 \
  >"$work/8.out" 2>&1
check "time-sync into a new database exits 0" test $? -eq 0
check "one log row per host" test "$(rows "$work/new.mdb")" -eq 3
cli time-sync --hosts "$work/hosts.txt" --database "$work/shared.mdb" --code 123456 \
  >"$work/8a.out" 2>&1 &
first=$!
cli time-sync --hosts "$work/hosts.txt" --database "$work/shared.mdb" --code 123456 \
  >"$work/8b.out" 2>&1
second=$?
wait "$first"
check "two programs making one database both succeed" test "$?$second" = 00
check "both programs' rows are kept" test "$(rows "$work/shared.mdb")" -eq 6

# 9. The lab's broadcast address is no host.
cli backup --host 10.231.255.255 -o "$work/all" --code 123456 >"$work/9.out" 2>&1
check "--host with the lab's broadcast address is a usage error" test $? -eq 2
printf '10.231.255.255\n%s\n' "${ips[0]}" >"$work/broadcast.txt"
cli time-sync --hosts "$work/broadcast.txt" --code 123456 >"$work/9a.out" 2>"$work/9a.err"
check "a list with the broadcast address reaches only its host" test $? -eq 0
check "the broadcast line is named" has "$work/9a.err" "broadcast.txt:1: 10.231.255.255: 不是单一主机的地址"

# 10. A workbook that cannot be written is named.
cli history --host "${ips[0]}" -o "$work/none/history.xlsx" --code 123456 >"$work/10.out" 2>&1
check "history into a missing folder exits non-zero" test $? -ne 0
check "the file is named" has "$work/10.out" "$work/none/history.xlsx: 写入失败"

# 11. Another program holds the host port: the search says so and exits 2.
"$lab" exec "$TARNWICK_LAB_TOOL_NS" "$hostsim" --hosts 1 --base-ip 10.231.0.99 \
  --log "$work/holder.log" --ready-file "$work/holder.ready" &
pids+=($!)
holder=$!
for _ in $(seq 100); do [ -e "$work/holder.ready" ] && break; sleep 0.05; done
cli search >"$work/11.out" 2>"$work/11.err"
check "a search on a port another program holds exits 2" test $? -eq 2
check "the search names the port" has "$work/11.err" "本机端口5200已被其他程序占用"
check "the holder got no broadcast" test "$(grep -c ' search' "$work/holder.log")" -eq 0
kill "$holder"
wait "$holder" 2>/dev/null

# 12. Killed in the middle of its work (a silent host keeps it waiting), the
# program leaves nothing in the temporary folder: it keeps no scratch files.
"$lab" exec "$TARNWICK_LAB_TOOL_NS" unshare -m sh -c '
  mount -t tmpfs scratch /tmp || exit 1
  env ASAN_OPTIONS=detect_leaks=0 "$1" backup --host 10.231.1.250 -o /tmp/out.json \
    --code 123456 >/dev/null 2>&1 &
  sleep 1
  kill -9 $!
  wait $! 2>/dev/null
  ls -A /tmp' sh "$cli" >"$work/12.out" 2>&1
check "nothing is left in the temporary folder" test ! -s "$work/12.out"

# 13. The site book.
db=$work/sites.mdb
cli sites add 二号店 "${ips[1]}" --notes 后门 --database "$db" >"$work/13-add.out" 2>&1
check "sites add exits 0" test $? -eq 0
cli sites add 坏店 10.231.1.256 --database "$db" >"$work/13-bad.out" 2>&1
check "a bad address is a usage error" test $? -eq 2
check "the bad address is named" has "$work/13-bad.out" "IP地址“10.231.1.256”不是IPv4地址"
cli sites add 广播 10.231.255.255 --database "$db" >"$work/13-broadcast.out" 2>&1
check "the lab's broadcast address is no site" test $? -eq 2
check "the broadcast address is named" has "$work/13-broadcast.out" "“10.231.255.255”不是单一主机的地址"
cli sites add 二号店 "${ips[2]}" --database "$db" >"$work/13-taken.out" 2>&1
check "a taken name is a usage error" test $? -eq 2
check "the taken name is named" has "$work/13-taken.out" "站点名称“二号店”已存在"
printf '站点名称,IP地址,端口\n三号店,%s,\n四号店,10.231.1.9,0\n二号店,10.231.1.8,\n' "${ips[2]}" \
  >"$work/sites.csv"
cli sites import "$work/sites.csv" --database "$db" >"$work/13-import.out" 2>"$work/13-import.err"
check "an import with bad lines exits 1" test $? -eq 1
check "the bad port's line is named" has "$work/13-import.err" "sites.csv:3: 端口“0”不是1到65535之间的数，已跳过"
check "the taken name's line is named" has "$work/13-import.err" "sites.csv:4: 站点名称“二号店”已存在"
check "the good line is imported" has "$work/13-import.out" "已导入 1 个站点"
cli sites export -o "$work/export.csv" --database "$db" >/dev/null 2>&1
check "the export holds both sites" test "$(grep -cE '^(二号店|三号店),' "$work/export.csv")" -eq 2
cli backup --site 二号店 --database "$db" -o "$work/site.json" --code 123456 >"$work/13-site.out" 2>&1
check "backup --site exits 0" test $? -eq 0
check "backup --site reaches the site's host" has "$work/site.json" "\"host\": \"${ips[1]}\""
check "the result names the site" has "$work/13-site.out" "${ips[1]}（二号店）  成功"
printf '三号店\n%s\n' "${ips[0]}" >"$work/site-hosts.txt"
cli backup --hosts "$work/site-hosts.txt" --database "$db" -o "$work/by-name" --code 123456 \
  >"$work/13-hosts.out" 2>&1
check "a host list naming a site exits 0" test $? -eq 0
check "the named site's host is backed up" test -s "$work/by-name/${ips[2]}.json"
cli sites list --json --database "$db" >"$work/13-list.out" 2>&1
check "the book learned the backup file" has "$work/13-list.out" "\"lastBackup\": \"$work/site.json\""
cli backup --site 二号店 -o "$work/none.json" --code 123456 >"$work/13-nodb.out" 2>&1
check "--site without --database is a usage error" test $? -eq 2
cli sites remove 二号店 --database "$db" >/dev/null 2>&1
check "sites remove exits 0" test $? -eq 0
cli sites list --database "$db" >"$work/13-after.out" 2>/dev/null
check "the removed site is gone, the other stays" \
  test "$(grep -c 二号店 "$work/13-after.out")-$(grep -c 三号店 "$work/13-after.out")" = 0-1

# 14. The team database.
pgdir=$(mktemp -d /tmp/tarnwick-cli-pg.XXXXXX)
"$here/../support/postgres_cluster.sh" start "$pgdir" || exit 1
team="postgresql:///team?host=$pgdir&user=tarnwick"
sql() { psql -qAt -h "$pgdir" -U tarnwick -d "${2:-team}" -c "$1"; }
sql "CREATE DATABASE team" postgres
# The schema is made by the first program that opens the database; two
# writers beside the two programs then add rows of their own meanwhile.
cli sites list --database "$team" >/dev/null 2>&1
writers=()
for w in 1 2; do
  for i in $(seq 40); do
    sql "INSERT INTO operationlog (dtime, operationip, operationinfo, operationresult, operator)
         VALUES ('', 'writer', '$w-$i', '', 'writer')"
  done &
  writers+=($!)
done
cli time-sync --host "${ips[0]}" --database "$team" --operator 王工 --code 123456 \
  >"$work/14-a.out" 2>&1 &
first=$!
cli time-sync --host "${ips[1]}" --database "$team" --operator 赵工 --code 123456 \
  >"$work/14-b.out" 2>&1
second=$?
wait "$first"
first=$?
wait "${writers[@]}"
check "two time-syncs at once exit 0" test "$first-$second" = 0-0
check "each logged one row under its operator" \
  test "$(sql "SELECT string_agg(operator || '@' || operationip, ',' ORDER BY operator) \
    FROM operationlog WHERE operator <> 'writer'")" = "王工@${ips[0]},赵工@${ips[1]}"
check "the other writers' 80 rows arrived once each" \
  test "$(sql "SELECT count(DISTINCT operationinfo) || '/' || count(*) FROM operationlog \
    WHERE operator = 'writer'")" = 80/80
check "the rows name the workstation" \
  test "$(sql "SELECT count(*) FROM operationlog WHERE workstation = '$(hostname)'")" -eq 2
for round in 1 2; do
  cli history --host "${ips[0]}" -o "$work/14-history.xlsx" --database "$team" --code 123456 \
    >"$work/14-history$round.out" 2>&1
done
# The simulated history leaves every sixteenth record empty: 52 are records.
check "the history read twice is archived once, without its empty records" \
  test "$(sql "SELECT count(*) FROM alarmarchive")" -eq 52
cli history --from-archive --host "${ips[0]}" -o "$work/14-archive.xlsx" --database "$team" \
  --json >"$work/14-archive.out" 2>&1
check "history --from-archive exports the 52 records" has "$work/14-archive.out" '"records": 52'
check "its workbook is written" test -s "$work/14-archive.xlsx"
cp "$work/14-archive.xlsx" "$work/14-archive-before.xlsx"
"$here/../support/postgres_cluster.sh" pause "$pgdir"
cli history --from-archive --host "${ips[0]}" -o "$work/14-archive.xlsx" --database "$team" \
  >"$work/14-stopped.out" 2>"$work/14-stopped.err"
check "an archive read with the server stopped exits 1" test $? -eq 1
check "it names the server and the cause" \
  grep -q "团队数据库 $pgdir/team 无法连接：服务器未运行" "$work/14-stopped.out"
check "it reports no records" test "$(grep -c "存档中" "$work/14-stopped.out")" -eq 0
check "the earlier workbook stays" cmp -s "$work/14-archive.xlsx" "$work/14-archive-before.xlsx"
"$here/../support/postgres_cluster.sh" start "$pgdir" || exit 1
cli db migrate --from "$db" --to "$team" >"$work/14-migrate1.out" 2>&1
check "db migrate copies the laptop's site" has "$work/14-migrate1.out" "站点 1 个"
cli db migrate --from "$db" --to "$team" >"$work/14-migrate2.out" 2>&1
check "db migrate run twice copies nothing new" \
  has "$work/14-migrate2.out" "操作日志 0 条，站点 0 个，备份 0 份，警情记录 0 条"
later="postgresql:///later?host=$pgdir&user=tarnwick"
printf '%s\n%s\n' "${ips[2]}" "${ips[0]}" >"$work/away-hosts.txt"
cli time-sync --hosts "$work/away-hosts.txt" --database "$later" --jobs 1 --code 123456 \
  >"$work/14-away.out" 2>"$work/14-away.err"
check "with the server away the tool runs on" test $? -eq 0
check "it says once that the rows wait on this computer" \
  test "$(grep -c "记录暂存本机" "$work/14-away.err")" -eq 1
check "and once which server and why, in words" \
  test "$(grep -c "团队数据库 $pgdir/later 无法连接：数据库不存在" "$work/14-away.err")" -eq 1
cli db outbox --database "$later" >"$work/14-outbox.out" 2>&1
check "db outbox lists the two rows waiting for that database" \
  test "$(grep -c "等待发送" "$work/14-outbox.out")" -eq 2
sql "CREATE DATABASE later" postgres
cli time-sync --host "${ips[1]}" --database "$later" --code 123456 >"$work/14-back.out" 2>&1
check "once it answers the waiting rows arrive first, in order" \
  test "$(sql "SELECT string_agg(operationip, ',' ORDER BY id) FROM operationlog" later)" \
  = "${ips[2]},${ips[0]},${ips[1]}"

if [ "$failures" -ne 0 ]; then
  for f in "$work"/*.out "$work"/*.err; do
    echo "--- $(basename "$f")"
    cat "$f"
  done
  exit 1
fi
echo "command-line test passed"
