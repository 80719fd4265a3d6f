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
#    backup, with a path typed into the file dialog and a passphrase typed
#    when asked for one, writes the snapshot with its codes sealed.
# 6. Ctrl+Tab reads the wired zone page; a zone type changed from the
#    keyboard, Ctrl+Tab asks whether to give the change up, and Enter (the
#    question's default, 否) keeps the page and its edit: nothing is read,
#    and F8 then writes section 04 with the new type.
# 7. The screenshot tour against the same host sends it only reads.
# Read as a screen reader reads it, through the accessibility bus (AT-SPI):
# 8. The wrong password's box offers 确定. F5 gives the focus back to the
#    control that had it. Ctrl+Tab and Ctrl+Shift+Tab change pages from
#    anywhere; the system program page's first Tab stop is its top-left box.
#    Tab through the host control and alarm pages stops only on named
#    inputs, buttons and tabs (never inside a table or on something unseen).
# 9. Every page visited, the whole tree is walked (atspi_walk.py check): no
#    input without its caption, none read out twice on a page, no list named
#    by its entry, the radio buttons are radio buttons, the tooltips of save
#    and refresh name F8 and F5.
# 10. Back at the host list: Menu and Shift+F10 open its menu on the selected
#    row, whose third item opens the network configuration.
# 11. Tab leaves the host list for 站点... and 连接指定地址.... Alt+S opens the
#    site book, Tab leaves its grid for 添加..., which opens the site dialog;
#    both are walked like the pages; Escape twice closes them without a
#    search. Alt+L, the connect dialog walked too, the address of a second
#    host that ignores the search frame, Enter, Enter in the password dialog:
#    that host receives the search at its own address, the section 00 read
#    and page 0's nine reads.
# 12. That host paused for two poll periods: the status group says "无应答"
#    (the tool's trace, copied to a file, records what the group shows), and
#    says the host is back once it answers again.
# 13. Alt+A on the list opens the board of every host's state, which asks the
#    listed host for its status; it is walked like the pages; Enter on its row
#    opens the host through the login (section 00 read, the password dialog);
#    closing the board stops its queries: none comes in the next period.
# 14. Two more hosts answer each search after a random delay: the highest
#    address that answers stays selected through three searches, and Enter
#    logs in to that host, not to another.
# Exits 77 (skipped) where it cannot run; in CI (CI=true) that is a failure.
set -u
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 2 ] || { echo "usage: $0 <tarnwick-binary> <hostsim-binary>" >&2; exit 2; }
tool=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
hostsim=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")

source "$here/require_lab.sh"
require_lab "window test" Xvfb openbox xdotool xlogo dbus-daemon
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || {
  [ "${CI:-}" = "true" ] && { echo "window test cannot run: python3-pyatspi is missing" >&2; exit 1; }
  echo "window test skipped: python3-pyatspi is not installed (tools/packages.sh)"
  exit 77
}

source "$here/lab_session.sh"
lab_session wm 4
host_ip=${ips[0]}
far_ip=${ips[1]}
host_fields='"installerCode": "246810"'
start_host 0 "$host_fields"
# A host beyond the broadcast: it never answers the search frame.
start_host 1 "$host_fields" --fault '{"match": "02D7", "silent": true}'

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
# A session bus of the test's own, on which the accessibility bus starts;
# the tool keeps its habits in the test's folder. The runtime folder is set
# before the bus starts: the accessibility bus it launches puts its socket
# there, not in a folder that window tests running at the same time share.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus" XDG_RUNTIME_DIR="$work/run"
export XDG_CONFIG_HOME="$work/config"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
"$lab" exec "$TARNWICK_LAB_TOOL_NS" dbus-daemon --session --nofork --nopidfile \
  --address="unix:path=$work/bus" >"$work/dbus.log" 2>&1 &
pids+=($!)
sleep 1

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 TARNWICK_LOCK_FILE="$work/tarnwick.lock" \
  ASAN_OPTIONS=detect_leaks=0 TARNWICK_TRACE_FILE="$work/trace.log" \
  "$lab" exec "$TARNWICK_LAB_TOOL_NS" "$tool" >"$work/tool.log" 2>&1 &
pids+=($!)
atspi() { in_tool /usr/bin/python3 "$here/atspi_walk.py" "$@"; }
# Every object that takes the focus, as "role<TAB>name", from here on.
"$lab" exec "$TARNWICK_LAB_TOOL_NS" /usr/bin/python3 "$here/atspi_walk.py" focus-log \
  "$work/focus.log" 2>"$work/focus.err" &
pids+=($!)

received() { received_by 0; }
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
box_buttons=$(atspi buttons | tr '\n' ' ')
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
asked=$(window '^配置中密码的口令$')
if [ -n "$asked" ]; then
  in_tool xdotool windowactivate --sync "$asked"
  in_tool xdotool type --delay 20 window-test-passphrase
  key Return
fi
for _ in $(seq 100); do [ -s "$backup" ] && break; sleep 0.1; done
if [ -s "$backup" ] && grep -q '"form": "sealed"' "$backup" && ! grep -q 246810 "$backup"; then
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

focus_marks=0
mark_focus() { focus_marks=$(wc -l <"$work/focus.log"); }
# The focus lines since the last mark.
focus_since() { tail -n +$((focus_marks + 1)) "$work/focus.log"; }
last_focus() { sleep 0.7; tail -n1 "$work/focus.log"; }
focus_is() {  # focus_is <role> <name>: the last object to take the focus
  local got
  got=$(last_focus)
  [ "$got" = "$1"$'\t'"$2" ] || { echo "  focus: '$got', expected '$1: $2'"; return 1; }
}
# Every stop since the mark is a named input, button or tab, or the current
# cell or entry of a table or list, which Tab leaves at once.
stops_named() {
  local bad
  bad=$(focus_since | awk -F'\t' '
    $1 ~ /^(table cell|list item)$/ { if (cell) print "two cells in a row: " $0; cell = 1; next }
    { cell = 0 }
    $2 == "" || $1 !~ /^(push button|check box|radio button|combo box|text|password text|list|table|page tab|page tab list|toggle button)$/')
  [ -z "$bad" ] || { echo "  stops that are no named input:"; echo "$bad" | sed 's/^/    /'; return 1; }
  [ "$(focus_since | sort -u | wc -l)" -ge "${1:-2}" ] || { echo "  only: $(focus_since | sort -u)"; return 1; }
}
check "the wrong password's box reads 确定" grep -q "确定" <<<"$box_buttons"

# 8. The host window again, on the wired zone page.
window '^Tarnwick Ver1.0.8$' >/dev/null
key Tab Tab Tab
before_f5=$(last_focus)
key F5
sleep 4
check "F5 gives the focus back to the control that had it ($before_f5)" \
  test "$(last_focus)" = "$before_f5"
# A page change reads the page; keys that come while it reads are dropped.
page() { key "$1"; sleep 2.5; }
page ctrl+Tab
check "Ctrl+Tab from inside a page opens the next page at its first input" \
  focus_is "combo box" "防区7 接收报警号码组"
page ctrl+Tab
page ctrl+Tab
check "the system program page's first stop is its top-left box" \
  focus_is "check box" "可编程继电器输出对应事件 系统布防时"
page ctrl+shift+Tab
check "Ctrl+Shift+Tab opens the page before" focus_is "combo box" "1#用户 布防类型"
page ctrl+Tab
page ctrl+Tab
page ctrl+Tab  # the alarm page
mark_focus
in_tool xdotool key --clearmodifiers --delay 60 --repeat 20 Tab
sleep 1
check "Tab through the alarm page leaves its table and stops only on named inputs" stops_named 4
page ctrl+Tab
page ctrl+Tab  # the debug page, then the host control page
mark_focus
in_tool xdotool key --clearmodifiers --delay 60 --repeat 90 Tab
sleep 1
check "Tab through the host control page stops only on named inputs" stops_named 20
# 9. The whole tree, every page read.
walk=$(atspi check --radio 自动获取IP地址 --radio 使用下面的IP地址 \
  --radio GPRS网络与PSTN网络都上报警情 --radio "可编程输出方式 单稳态输出" \
  --hint 保存=F8 --hint 刷新=F5)
walked=$?
echo "$walk"
check "every page read through AT-SPI: each input by its own caption" test "$walked" -eq 0

# 10. The host list's menu from the keyboard.
key Escape  # back at the host list, which searches
sleep 5
window '^Tarnwick软件 Ver1.0.8$' >/dev/null
sleep 2
key Menu
check "the Menu key opens the host list's menu" focus_is "menu item" "刷新列表"
key Escape
key shift+F10
check "Shift+F10 opens it too" focus_is "menu item" "刷新列表"
key Down Down Return
check "its third item opens the network configuration" test -n "$(window '^网络配置$')"
key Escape

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

# 11. The site book and a host reached by its address, from the host list
# (the host window closed on page 0, which the next one shows first).
window '^Tarnwick软件 Ver1.0.8$' >/dev/null
key Tab
check "Tab leaves the host list for the site book's button" focus_is "push button" "站点..."
key Tab
check "the next stop is connecting by address" focus_is "push button" "连接指定地址..."
before=$(count)
key alt+s
sites=$(window '^站点簿$')
check "Alt+S opens the site book at its grid" focus_is "table" "站点簿"
key Tab
check "Tab leaves the site book's grid for 添加..." focus_is "push button" "添加..."
key space
site=$(window '^添加站点$')
walk=$(atspi check)
walked=$?
echo "$walk"
check "the site book and the site dialog read through AT-SPI (site dialog: ${site:-none})" \
  test "$walked" -eq 0 -a -n "$site"
key Escape  # the site dialog
key Escape  # the site book
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
walk=$(atspi check)
walked=$?
echo "$walk"
check "the connect dialog read through AT-SPI" test "$walked" -eq 0 -a -n "$connect"
key ctrl+a
in_tool xdotool type --delay 20 "$far_ip"
key Return
window '^密码验证$' >/dev/null
key Return  # the dialog keeps the installer code typed last
far_received() { awk '$3 == "recv" && $6 !~ /^255\./ { print $6, $7 }' "$work/host1.log"; }
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

# 12. The far host's window is active on page 0: its status is polled.
far_pid=$sim_1
traced() { grep -c -F "$1" "$work/trace.log" 2>/dev/null; }
kill -STOP "$far_pid"
for _ in $(seq 450); do [ "$(traced '[状态]: 主机无应答')" -ge 1 ] && break; sleep 0.1; done
silent=$(traced '[状态]: 主机无应答')
kill -CONT "$far_pid"
for _ in $(seq 250); do [ "$(traced '[状态]: 最后更新')" -ge 1 ] && break; sleep 0.1; done
if [ "$silent" -ge 1 ] && [ "$(traced '[状态]: 最后更新')" -ge 1 ]; then
  echo "ok: a host paused for two poll periods is shown 无应答, and live when it answers again"
else
  echo "FAILED: a host paused for two poll periods is shown 无应答, and live when it answers again"
  grep -F '[状态]' "$work/trace.log"
  failures=$((failures + 1))
fi

# 13. The board of every host's state.
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
walk=$(atspi check)
walked=$?
echo "$walk"
check "the board read through AT-SPI" test "$walked" -eq 0 -a -n "$board"
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

# 14. The list's order and selection through searches answered in a new
# order each time.
jitter='{"match": "02D7", "jitterMs": 400}'
start_host 2 "$host_fields" --fault "$jitter"
start_host 3 "$host_fields" --fault "$jitter"
in_tool xdotool windowactivate --sync "$(window '^Tarnwick软件 Ver1.0.8$')"
key F5
sleep 5
key Down Down  # the fourth host: row 3 of the answers in address order
for _ in 1 2 3; do
  key F5
  sleep 5
done
n=$(count)
key Return
login=$(window '^密码验证$')
key Escape  # the login cancelled
if [ -n "$login" ] && received_by 3 | grep -qx "$section00" &&
  ! received | tail -n +$((n + 1)) | grep -qx "$section00"; then
  echo "ok: the selected host stays selected through three searches; Enter logs in to it"
else
  echo "FAILED: the selected host stays selected through three searches; Enter logs in to it (dialog: ${login:-none})"
  failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
  echo "--- tool output"
  cat "$work/tool.log"
  echo "--- host log"
  cat "$work/host0.log"
  echo "--- focus log"
  cat "$work/focus.log" "$work/focus.err"
  echo "--- far host log"
  cat "$work/host1.log"
  echo "--- fourth host log"
  cat "$work/host3.log" 2>/dev/null
  exit 1
fi
echo "window test passed"
