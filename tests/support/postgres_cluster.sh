#!/usr/bin/env bash
# A private PostgreSQL cluster for the tests: made with initdb in DIR, started
# with pg_ctl on a Unix socket in DIR alone (no TCP), stopped and removed
# again. PostgreSQL refuses to run as root: as root the server runs as
# `nobody`. Role tarnwick logs in without a password, role tarnwick_pw only
# with the password "right" (and owns database tarnwick_pw).
#   postgres_cluster.sh start DIR    made when missing, then started
#   postgres_cluster.sh stop DIR     stopped and DIR removed
set -euo pipefail
command=${1:?start or stop} dir=${2:?folder}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "PostgreSQL is not installed (tools/packages.sh installs it)" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}

case $command in
start)
  mkdir -p "$dir"
  chmod 0700 "$dir"
  [ "$(id -u)" -eq 0 ] && chown nobody: "$dir"
  if [ ! -f "$dir/data/PG_VERSION" ]; then
    as_owner "$bin/initdb" -D "$dir/data" -U tarnwick --auth=trust -E UTF8 --no-locale \
      >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    printf 'local all tarnwick_pw scram-sha-256\nlocal all all trust\n' |
      as_owner tee "$dir/data/pg_hba.conf" >/dev/null
    fresh=1
  fi
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off -c max_connections=60" \
    start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
  if [ "${fresh:-0}" = 1 ]; then
    "$bin/psql" -q -h "$dir" -U tarnwick -d postgres \
      -c "CREATE ROLE tarnwick_pw LOGIN PASSWORD 'right'" \
      -c "CREATE DATABASE tarnwick_pw OWNER tarnwick_pw" >/dev/null
  fi
  ;;
stop)
  if [ -f "$dir/data/PG_VERSION" ]; then
    as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  ;;
pause)
  as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1
  ;;
*)
  echo "unknown command $command" >&2
  exit 2
  ;;
esac
