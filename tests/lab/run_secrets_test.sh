#!/usr/bin/env bash
# Codes never at rest in clear, against simulated hosts whose codes are known:
#   run_secrets_test.sh <tarnwick-cli-binary> <hostsim-binary>
# Two hosts, one installer code and four user codes each. On db.mdb and on
# PostgreSQL: backup --hosts redacted (no passphrase) and sealed, one backup
# --with-codes, seal of old files, diff, restore (a wrong passphrase writes
# nothing, a file without codes leaves them and says so, the sealed file
# gives them back), history and its export from the archive, db migrate both
# ways (a clear archive row of an older version is sealed as it is copied).
# Then every file the tool wrote, every row of both databases and every
# workbook is searched for each code as digits and as the hex of its text:
# no hit but in the files made with --with-codes.
# Exits 77 (skipped) where it cannot run; in CI (CI=true) that is a failure.
set -u
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 2 ] || { echo "usage: $0 <tarnwick-cli-binary> <hostsim-binary>" >&2; exit 2; }
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
hostsim=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")

source "$here/require_lab.sh"
require_lab "codes test" sqlite3 unzip jq
source "$here/lab_session.sh"
lab_session sc 2
lab_session_extra_cleanup() {
  [ -n "${pgdir:-}" ] && "$here/../support/postgres_cluster.sh" stop "$pgdir"
}

# Everything the tool writes goes under $out, and nothing else does.
out=$work/out
mkdir -p "$out/config" "$out/clear" "$out/old"
cli() {
  in_tool env ASAN_OPTIONS=detect_leaks=0 XDG_CONFIG_HOME="$out/config" \
    TARNWICK_OUTBOX="$out/outbox.mdb" "$cli" "$@"
}
sealing() { TARNWICK_PASSPHRASE=lab-passphrase-7 cli "$@"; }
has() { grep -q -- "$2" "$1"; }
echo lab-passphrase-7 >"$work/right.pass"
echo not-the-passphrase >"$work/wrong.pass"

installer=731946
users0=(8524 9163 7305 6081)
users1=(5172 3948 6630 2057)
moved=1357  # user 1 of host 0 after a change on the host
section00() { echo "${installer}01${1}02${2}03${3}04${4}"; }
host_fields() {
  echo "\"installerCode\": \"$installer\", \"sections\": {\"00\": \"$(section00 "$@")\"}, \"history\": 30"
}
start_host 0 "$(host_fields "${users0[@]}")"
start_host 1 "$(host_fields "${users1[@]}")"
printf '%s\n' "${ips[@]}" >"$work/hosts.txt"

pgdir=$(mktemp -d /tmp/tarnwick-codes-pg.XXXXXX)
"$here/../support/postgres_cluster.sh" start "$pgdir" || exit 1
sql() { psql -qAt -h "$pgdir" -U tarnwick -d "${2:-team}" -c "$1"; }
for db in team copy; do sql "CREATE DATABASE $db" postgres; done
team="postgresql:///team?host=$pgdir&user=tarnwick"
lite=$out/team.mdb

# 1. Backups: redacted into db.mdb's archive, sealed into PostgreSQL's, one in clear.
cli backup --hosts "$work/hosts.txt" -o "$out/redacted" --code $installer --database "$lite" \
  >"$out/1a.out" 2>&1
check "backup --hosts without a passphrase exits 0" test $? -eq 0
sealing backup --hosts "$work/hosts.txt" -o "$out/sealed" --code $installer --database "$team" \
  >"$out/1b.out" 2>&1
check "backup --hosts with a passphrase exits 0" test $? -eq 0
form() { jq -r .codes.form "$1"; }
for ip in "${ips[@]}"; do
  check "$ip: redacted without a passphrase" test "$(form "$out/redacted/$ip.json")" = redacted
  check "$ip: sealed with one" test "$(form "$out/sealed/$ip.json")" = sealed
done
cli backup --host "${ips[0]}" -o "$out/clear/host0.json" --with-codes --code $installer \
  --database "$lite" >"$out/1c.out" 2>"$out/1c.err"
check "--with-codes writes the codes in clear" has "$out/clear/host0.json" "\"00\": \"$(section00 "${users0[@]}")\""
check "--with-codes says so" has "$out/1c.err" "警告：备份文件中含有明文"

# 2. Old files with codes in clear: seal rewrites them, each whole.
jq 'del(.codes) | .format = 1' "$out/clear/host0.json" >"$out/old/version1.json"
cp "$out/clear/host0.json" "$out/old/full.json"
cp "$out/clear/host0.json" "$out/old-sealed.json"
cli seal "$out/old" >"$out/2a.out" 2>&1
check "seal of a folder exits 0" test $? -eq 0
check "both old files are rewritten without codes" test "$(grep -c '已去除密码' "$out/2a.out")" -eq 2
cli seal "$out/old" >"$out/2b.out" 2>&1
check "sealed again, nothing changes" test "$(grep -c '未改动' "$out/2b.out")" -eq 2
cli seal "$out/old-sealed.json" --passphrase-file "$work/right.pass" >"$out/2c.out" 2>&1
check "with a passphrase the file is sealed" test "$(form "$out/old-sealed.json")" = sealed

# 3. User 1's code changed on host 0: diff says so without a value.
kill "$sim_0"
wait "$sim_0" 2>/dev/null
start_host 0 "$(host_fields $moved "${users0[@]:1}")"
cli diff "$out/redacted/${ips[0]}.json" --host "${ips[0]}" --code $installer >"$out/3a.out" 2>&1
check "diff of a redacted file names the changed code" has "$out/3a.out" "1#用户 用户码: 已更改"
check "and nothing else" test "$(grep -c '已更改\| → ' "$out/3a.out")" -eq 1
cli diff "$out/sealed/${ips[0]}.json" --host "${ips[0]}" --code $installer \
  --passphrase-file "$work/right.pass" --json >"$out/3b.out" 2>&1
check "diff of a sealed file names it too" \
  test "$(jq -r '.hosts[0].differences[0].after' "$out/3b.out")" = 已更改
cli diff "$out/redacted/${ips[0]}.json" "$out/redacted/${ips[1]}.json" >"$out/3c.out" 2>&1
check "two hosts' files differ in their four user codes" test "$(grep -c ': 已更改' "$out/3c.out")" -eq 4

# 4. Restore.
writes() { received_by 0 | cut -c9-12 | grep -c '^1182$'; }
sealing restore "$out/sealed/${ips[0]}.json" --host "${ips[0]}" --code $installer \
  --passphrase-file "$work/wrong.pass" --database "$lite" >"$out/4a.out" 2>&1
check "a wrong passphrase fails" test $? -ne 0
check "it says so" has "$out/4a.out" "口令不对"
check "and nothing is written" test "$(writes)" -eq 0
cli restore "$out/redacted/${ips[0]}.json" --host "${ips[0]}" --code $installer \
  --database "$lite" >"$out/4b.out" 2>&1
check "a file without codes restores the rest" test $? -eq 0
check "and names the codes it left" has "$out/4b.out" "未恢复：用户密码（备份中不含密码）"
check "the host keeps its code" test "$(writes)" -eq 0
cli restore "$out/sealed/${ips[0]}.json" --host "${ips[0]}" --code $installer \
  --passphrase-file "$work/right.pass" --database "$team" >"$out/4c.out" 2>&1
check "the sealed file restores with its passphrase" test $? -eq 0
check "section 00 is written once" test "$(writes)" -eq 1
check "the re-read matches the file" has "$out/4c.out" "重新读取后主机配置与文件一致"
cli backup --host "${ips[0]}" -o "$out/clear/host0-after.json" --with-codes --code $installer \
  >/dev/null 2>&1
check "the host holds user 1's code again" has "$out/clear/host0-after.json" "$(section00 "${users0[@]}")"

# 5. History into both archives, its workbooks, the export from the archive.
cli history --host "${ips[0]}" -o "$out/history-lite.xlsx" --code $installer --database "$lite" \
  >"$out/5a.out" 2>&1 &&
  cli history --host "${ips[1]}" -o "$out/history-team.xlsx" --code $installer \
    --database "$team" >"$out/5b.out" 2>&1 &&
  cli history --from-archive --host "${ips[1]}" -o "$out/archive.xlsx" --database "$team" \
    >"$out/5c.out" 2>&1
check "history into both archives and from one exits 0" test $? -eq 0

# 6. db migrate both ways; an archive row an older version kept in clear is
# sealed or redacted on the way.
old=$work/old.mdb
cli sites list --database "$old" >/dev/null 2>&1
sqlite3 "$old" "INSERT INTO BackupArchive (Host, TakenAt, Operator, Workstation, Model, Snapshot)
  VALUES ('${ips[0]}', '2026-01-01 00:00:00', 'old', 'old', 'TWK-16 V2.30',
  CAST(readfile('$out/clear/host0.json') AS TEXT))"
check "the old database holds the codes in clear" test "$(sqlite3 "$old" \
  "SELECT count(*) FROM BackupArchive WHERE Snapshot LIKE '%$(section00 "${users0[@]}")%'")" -eq 1
sealing db migrate --from "$old" --to "$team" >"$out/6a.out" 2>&1
check "db migrate of the old database exits 0" test $? -eq 0
check "its row arrives sealed" test "$(sql "SELECT count(*) FROM backuparchive \
  WHERE operator = 'old' AND snapshot LIKE '%\"form\": \"sealed\"%'")" -eq 1
cli db migrate --from "$lite" --to "$team" >"$out/6b.out" 2>&1
check "db migrate from db.mdb exits 0" test $? -eq 0
cli db migrate --from "$team" --to "$out/copy.mdb" >"$out/6c.out" 2>&1
check "db migrate from PostgreSQL exits 0" test $? -eq 0
check "every backup arrives in the copy" \
  test "$(sqlite3 "$out/copy.mdb" 'SELECT count(*) FROM BackupArchive')" -eq \
  "$(sql 'SELECT count(*) FROM backuparchive')"

# 7. The search: each code as digits and as the hex of its text, in every
# file under $out (workbooks unpacked, databases dumped as well as read raw)
# and in every row of the PostgreSQL databases.
codes=($installer "${users0[@]}" "${users1[@]}" $moved)
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
for db in team copy; do
  pg_dump -h "$pgdir" -U tarnwick --data-only "$db" >"$work/dump-$db.sql"
done
searched=$work/searched
mkdir -p "$searched"
files=()
while IFS= read -r -d '' file; do
  files+=("$file")
  case $file in
  *.xlsx) unzip -p "$file" >"$searched/${#files[@]}.xml" ;;
  *.mdb) sqlite3 "$file" .dump >"$searched/${#files[@]}.sql" ;;
  esac
done < <(find "$out" -type f ! -path "$out/clear/*" -print0)
n=${#files[@]}
hits=0
for code in "${codes[@]}"; do
  for pattern in "$code" "$(hex "$code")"; do
    found=$(grep -lai -- "$pattern" "${files[@]}" "$searched"/* "$work"/dump-*.sql)
    if [ -n "$found" ]; then
      echo "code $code as $pattern found in:" $found
      hits=$((hits + 1))
    fi
  done
done
check "no code in any file, row or workbook the tool wrote ($n files)" test "$hits" -eq 0
check "but in the files made with --with-codes" \
  test "$(grep -l "$installer" "$out"/clear/*.json | wc -l)" -eq 2

if [ "$failures" -ne 0 ]; then
  for f in "$out"/*.out; do
    echo "--- $(basename "$f")"
    cat "$f"
  done
  exit 1
fi
echo "codes test passed: $n files, two databases, ${#codes[@]} codes, no hit"
