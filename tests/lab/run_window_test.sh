#!/usr/bin/env bash
# The tool under Xvfb with a real window manager (openbox), driven from the
# keyboard beside one simulated host in a lab of its own; checks what the host
# receives, since activation and focus arrive there as an operator sees them:
#   run_window_test.sh <tarnwick-binary> <hostsim-binary>
# 1. Start: one search. Enter on the host, Enter in the password dialog: the
#    section 00 read, then exactly page 0's nine reads, and no second search.
# 2. Another application's window and back to the host window: nothing.
# 3. Escape: the host list searches once.
# 4. Enter, a wrong password, Enter on the box: only the section 00 read, and
#    the keyboard still reaches the list: Enter reads again; Escape in the
#    dialog sends nothing.
# 5. Logged in again, Alt+C opens the configuration menu; its first item,
#    backup, with a path typed into the file dialog writes the snapshot.
# 6. Ctrl+Tab reads the wired zone page; a zone type changed from the
#    keyboard, Ctrl+Tab asks whether to give the change up, and Enter (the
#    question's default, 否) keeps the page and its edit: nothing is read,
#    and F8 then writes section 04 with the new type.
# 7. The screenshot tour against the same host sends it only reads.
# 8. Back at the list, Alt+S opens the site book and Escape closes it without
#    a search. Alt+L, the address of a second host that ignores the search
#    frame, Enter, Enter in the password dialog: that host receives the search
#    at its own address, the section 00 read and page 0's nine reads.
# 9. Alt+A on the list opens the board of every host's state, which asks the
#    listed host for its status; Enter on its row opens it through the login
#    (section 00 read, the password dialog); closing the board stops its
#    queries: none comes in the next period.
# Exits 77 (skipped) where it cannot run; in CI (CI=true) that is a failure.
set -u
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 2 ] || { echo "usage: $0 <tarnwick-binary> <hostsim-binary>" >&2; exit 2; }
tool=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
hostsim=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
lab=$here/lab.sh

source "$here/require_lab.sh"
require_lab "window test" Xvfb openbox xdotool xlogo

name="wm$$"
work=$(mktemp -d /tmp/tarnwick-window-test.XXXXXX)
pids=()
cleanup() {
  set +e
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[$i]}" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  "$lab" down "$name" >/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$lab" up "$name" 2 >/dev/null || { echo "the lab did not come up" >&2; exit 1; }
source <("$lab" env "$name")
read -r host_ip far_ip <<<"$TARNWICK_LAB_HOST_IPS"
read -r host_ns far_ns <<<"$TARNWICK_LAB_HOST_NS"
in_tool() { "$lab" exec "$TARNWICK_LAB_TOOL_NS" "$@"; }

# Starts a simulated host: <namespace> <address> <log name> [hostsim arguments...].
start_host() {
  local ns=$1 ip=$2 log=$3
  shift 3
  echo "{\"hosts\": [{\"address\": \"$ip\", \"installerCode\": \"246810\"}]}" >"$work/$log.json"
  "$lab" exec "$ns" "$hostsim" --config "$work/$log.json" --log "$work/$log.log" \
    --ready-file "$work/$log.ready" "$@" &
  pids+=($!)
  for _ in $(seq 100); do [ -e "$work/$log.ready" ] && return 0; sleep 0.05; done
  echo "the simulated host $ip did not start" >&2
  exit 1
}
start_host "$host_ns" "$host_ip" host
# A host beyond the broadcast: it never answers the search frame.
start_host "$far_ns" "$far_ip" far --fault '{"match": "02D7", "silent": true}'

# Background programs are started through lab.sh itself, which becomes the
# program, so that their pids are theirs. Xvfb picks a free display and
# writes its number to fd 3.
cd "$work"
"$lab" exec "$TARNWICK_LAB_TOOL_NS" Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display" | tr -d '[:space:]')
"$lab" exec "$TARNWICK_LAB_TOOL_NS" openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

QT_QPA_PLATFORM=xcb TARNWICK_LOCK_FILE="$work/tarnwick.lock" ASAN_OPTIONS=detect_leaks=0 \
  "$lab" exec "$TARNWICK_LAB_TOOL_NS" "$tool" >"$work/tool.log" 2>&1 &
pids+=($!)

received() { awk '$3 == "recv" { print $7 }' "$work/host.log"; }
count() { received | wc -l; }
# Waits until the host has received `n` datagrams and nothing more comes for
# `quiet` seconds; gives up after 30 seconds.
settle() {
  local n=$1 quiet=${2:-3} last=-1 still=0
  for _ in $(seq 300); do
    local now
    now=$(count)
    if [ "$now" -eq "$last" ]; then still=$((still + 1)); else still=0; fi
    last=$now
    [ "$now" -ge "$n" ] && [ "$still" -ge $((quiet * 10)) ] && return 0
    sleep 0.1
  done
  return 0
}
key() { in_tool xdotool key --clearmodifiers "$@"; sleep 0.5; }
window() { in_tool timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n1; }

search=7EB7820102D75A7E
section00=7E398201118108001B7E
page0=(7E1F8201128206F20E7E 7E45820112830B00217E 7E45820111810806217E 7E218201028C0F7E
  7EA3820102CD507E 7EA5820102CE517E 7EB3820102D5587E 7EBB820102D9005C7E 7E31820101860F177E)
failures=0
expect() {  # expect <what> <payload...>: the host received exactly these so far
  local what=$1
  shift
  local got
  got=$(received | tr '\n' ' ' | sed 's/ $//')
  if [ "$got" = "$*" ]; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    echo "  expected: $*"
    echo "  received: $got"
    failures=$((failures + 1))
  fi
}

settle 1
window '^Tarnwick软件 Ver1.0.8$' >/dev/null
expect "start searches once" $search

key Return  # the host in row 1
window '^密码验证$' >/dev/null
key Return  # the installer code is the dialog's default text
settle 11
expect "login reads section 00, then page 0's nine reads, and no second search" \
  $search $section00 "${page0[@]}"

host_window=$(window '^Tarnwick Ver1.0.8$')
"$lab" exec "$TARNWICK_LAB_TOOL_NS" xlogo >/dev/null 2>&1 &
pids+=($!)
other=$(window '^xlogo$')
in_tool xdotool windowactivate --sync "$other"
sleep 1
in_tool xdotool windowactivate --sync "$host_window"
settle 11
expect "another application and back sends nothing" $search $section00 "${page0[@]}"

key Escape
settle 12
expect "escape returns to the list, which searches once" \
  $search $section00 "${page0[@]}" $search

key Return
window '^密码验证$' >/dev/null
key ctrl+a 1 Return  # a wrong password: its box
sleep 1
key Return  # closes the box
settle 13
expect "a wrong password and its box send nothing more" \
  $search $section00 "${page0[@]}" $search $section00

key Return  # the keyboard reaches the list again
window '^密码验证$' >/dev/null
key Escape
settle 14
expect "the keyboard reaches the list after the box; cancelling sends nothing" \
  $search $section00 "${page0[@]}" $search $section00 $section00

key Return  # the host again, and the installer code
window '^密码验证$' >/dev/null
key ctrl+a
in_tool xdotool type --delay 20 246810
key Return
settle 25
window '^Tarnwick Ver1.0.8$' >/dev/null
key alt+c Down Return  # the menu's first item: backup
dialog=$(window '^将主机配置备份到文件$')
backup="$work/keyboard-backup.json"
if [ -n "$dialog" ]; then
  in_tool xdotool windowactivate --sync "$dialog"
  key ctrl+a
  in_tool xdotool type --delay 20 "$backup"
  key Return
fi
for _ in $(seq 100); do [ -s "$backup" ] && break; sleep 0.1; done
if [ -s "$backup" ] && grep -q '"format": 1' "$backup"; then
  echo "ok: Alt+C, backup and a typed path write the snapshot"
else
  echo "FAILED: Alt+C, backup and a typed path write the snapshot (dialog: ${dialog:-none})"
  failures=$((failures + 1))
fi

# 6. An unsaved change is kept when the operator answers 否.
key Return  # closes the backup's box
settle "$(count)"
n=$(count)
key ctrl+Tab  # the wired zone page, read
settle $((n + 2))
key Tab Down  # zone 1's type: from 1 to 2 (section 04 begins 9121, then 9221)
key ctrl+Tab  # leaving the page with the change: the question
question=$(window '^确认$')
key Return  # the default answer, 否
settle $((n + 2))
if [ -n "$question" ] && [ "$(count)" -eq $((n + 2)) ]; then
  echo "ok: Ctrl+Tab with a changed zone type asks, and 否 reads nothing"
else
  echo "FAILED: Ctrl+Tab with a changed zone type asks, and 否 reads nothing (question: ${question:-none})"
  failures=$((failures + 1))
fi
key F8  # the edit was kept: the save writes it
settle $((n + 5))
if received | tail -n +$((n + 3)) | grep -q '^7E..8201118209049221'; then
  echo "ok: F8 writes the kept zone type"
else
  echo "FAILED: F8 writes the kept zone type"
  received | tail -n +$((n + 3))
  failures=$((failures + 1))
fi
key Return  # closes the save's report

# 7. The tour only reads.
n=$(count)
QT_QPA_PLATFORM=offscreen TARNWICK_LOCK_FILE="$work/tour.lock" ASAN_OPTIONS=detect_leaks=0 \
  "$lab" exec "$TARNWICK_LAB_TOOL_NS" timeout 120 "$tool" --tour "$work/shots" 246810 \
  >"$work/tour.log" 2>&1
reads=" 02D7 1181 1282 1283 1286 028C 02CD 02CE 02D5 02D9 0186 018C 01CD 01CE 0185 0187 01D4 01D1 01D3 "
sent=$(received | tail -n +$((n + 1)) | cut -c 9-12 | sort -u | tr '\n' ' ')
others=""
for code in $sent; do [[ "$reads" == *" $code "* ]] || others="$others $code"; done
if [ -z "$others" ] && [ -s "$work/shots/TFormCompare.png" ]; then
  echo "ok: the tour renders the comparison and sends the host only reads"
else
  echo "FAILED: the tour renders the comparison and sends the host only reads (also:${others:- none})"
  cat "$work/tour.log"
  failures=$((failures + 1))
fi

# 8. The site book and a host reached by its address.
n=$(count)
key ctrl+shift+Tab  # back to page 0, which the next host window shows first
settle $((n + 9))
before=$(count)
key Escape  # the host window closes; back at the list, which searches
for _ in $(seq 100); do [ "$(count)" -gt "$before" ] && break; sleep 0.1; done
sleep 2
before=$(count)
key alt+s
sites=$(window '^站点簿$')
key Escape
sleep 2
if [ -n "$sites" ] && [ "$(count)" -eq "$before" ]; then
  echo "ok: Alt+S opens the site book; closing it starts no search"
else
  echo "FAILED: Alt+S opens the site book; closing it starts no search (window: ${sites:-none})"
  failures=$((failures + 1))
fi
key alt+l
connect=$(window '^连接指定地址$')
[ -n "$connect" ] && in_tool xdotool windowactivate --sync "$connect"
key ctrl+a
in_tool xdotool type --delay 20 "$far_ip"
key Return
window '^密码验证$' >/dev/null
key Return  # the dialog keeps the installer code typed last
far_received() { awk '$3 == "recv" && $6 !~ /^255\./ { print $6, $7 }' "$work/far.log"; }
for _ in $(seq 200); do [ "$(far_received | wc -l)" -ge 11 ] && break; sleep 0.1; done
sleep 3
got=$(far_received | tr '\n' ' ' | sed 's/ $//')
want="$far_ip:5200 $search $far_ip:5200 $section00"
for read in "${page0[@]}"; do want="$want $far_ip:5200 $read"; done
if [ "$got" = "$want" ]; then
  echo "ok: Alt+L reaches a host that ignores the search: its own search, section 00, page 0"
else
  echo "FAILED: Alt+L reaches a host that ignores the search: its own search, section 00, page 0"
  echo "  expected: $want"
  echo "  received: $got"
  failures=$((failures + 1))
fi

# 9. The board of every host's state.
key Escape  # the far host's window closes; back at the list, which searches
sleep 3
n=$(count)
key alt+a
board=$(window '^全部主机状态$')
for _ in $(seq 50); do received | tail -n +$((n + 1)) | grep -qx "${page0[0]}" && break; sleep 0.1; done
if [ -n "$board" ] && received | tail -n +$((n + 1)) | grep -qx "${page0[0]}"; then
  echo "ok: Alt+A opens the board, which sends the host the status query"
else
  echo "FAILED: Alt+A opens the board, which sends the host the status query (window: ${board:-none})"
  failures=$((failures + 1))
fi
n=$(count)
[ -n "$board" ] && in_tool xdotool windowactivate --sync "$board"
key Return  # the host's row
login=$(window '^密码验证$')
key Escape  # the login cancelled
if [ -n "$login" ] && received | tail -n +$((n + 1)) | grep -qx "$section00"; then
  echo "ok: Enter on the board's row opens the host through the login"
else
  echo "FAILED: Enter on the board's row opens the host through the login (dialog: ${login:-none})"
  failures=$((failures + 1))
fi
[ -n "$board" ] && in_tool xdotool windowactivate --sync "$board"
key Escape  # closes the board
sleep 1
n=$(count)
sleep 11  # longer than the board's period
shown=$(in_tool xdotool search --onlyvisible --name '^全部主机状态$' 2>/dev/null)
if ! received | tail -n +$((n + 1)) | grep -qx "${page0[0]}" && [ -z "$shown" ]; then
  echo "ok: closing the board stops its queries"
else
  echo "FAILED: closing the board stops its queries"
  failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
  echo "--- tool output"
  cat "$work/tool.log"
  echo "--- host log"
  cat "$work/host.log"
  echo "--- far host log"
  cat "$work/far.log"
  exit 1
fi
echo "window test passed"
