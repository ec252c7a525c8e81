#!/usr/bin/env bash
# The Windows window program under wine, on a private X display in the lab's
# pc namespace, driven with mouse and keyboard (xdotool): the search window,
# then the device list; a second start that leaves one window; a settings
# change whose request reaches the unit byte for byte as the Linux program
# sends it for the same input (tests/e2e/settings), with the unit's answer
# shown; and 閉じる, its 警告 question and OK ending with status 0.
# With "guide": no unit answers, so the three guide pages are walked instead.
# Screenshots go to $MRV_BUILD_DIR/e2e-artifacts/wine_desktop-SCENARIO[-WM].
# Usage: wine_desktop.sh NAS-SIM units|guide   (MRV_WM=openbox: under openbox)
set -u
sim=$1
scenario=$2
windows=${MRV_WINDOWS_BUILD_DIR:-$MRV_SOURCE_DIR/build-windows}
program=$windows/app/mrv7k2-setup.exe
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tools/lab/wine.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
wine_check || exit 77
[[ -f $program ]] || { echo "SKIP: no Windows build at $windows (bash scripts/build windows)"; exit 77; }
for tool in Xvfb xdotool import ${MRV_WM:-}; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
lab_check || exit 77
export LC_ALL=C.UTF-8
artifacts=$MRV_BUILD_DIR/e2e-artifacts/wine_desktop-$scenario${MRV_WM:+-$MRV_WM}
rm -rf "$artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d /tmp/mrv-wine-e2e.XXXXXX)
P=$(lab_prefix) || exit 1
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wine_prefix_down
    lab_down "$P"
    cp -f "$work"/*.log "$artifacts"/ 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# A failure leaves a picture of the screen beside the others.
on_fail() { # the screenshot and what the program said
    shot "failure"
    tail -n 20 "$work/program.log" >&2 2>/dev/null
}

lab_up "$P" || exit 1
unit() { # NAME ADDR/LEN nas-sim options...
    local name=$1 addr=$2
    shift 2
    lab_host "$P" "$name" "$addr" || exit 1
    lab_exec "$P" "$name" "$sim" --lifetime 300 --ready-file "$work/ready-$name" \
        --log "$work/sim-$name.log" "$@" >"$work/sim-$name.out" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do
        [[ -e $work/ready-$name ]] && return 0
        sleep 0.1
    done
    fail "unit $name did not start"
}
[[ $scenario == units ]] && unit office 192.168.1.50/24 --identity 00:0D:0B:7A:10:50 --ip 192.168.1.50 \
    --host NAS-OFFICE --user admin --password secret --on-setup address
[[ $scenario == units ]] && unit remote 10.10.0.20/24 --identity 00:0D:0B:7A:10:20 --ip 10.10.0.20 --gateway 10.10.0.1 \
    --host 経理部NAS --broadcast --delay 200

# The display, in the pc namespace with everything that talks to it.
wine_display "$P" "$work" || fail "no display"
x() { lab_exec "$P" pc "$@"; }
if [[ -n ${MRV_WM:-} ]]; then
    x "$MRV_WM" >"$work/wm.log" 2>&1 &
    pids+=($!)
    sleep 1
fi

shots=0
shot() {
    shots=$((shots + 1))
    x import -window root "$artifacts/$(printf '%02d' "$shots")-$1.png" 2>/dev/null
}
window() { wine_window "$P" "$@"; } # TITLE S
gone() { # TITLE S
    for _ in $(seq $(($2 * 10))); do
        x xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}
# Clicks at X,Y of the window's client area (the forms' own coordinates).
click() { # WINDOW X Y
    x xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}
type_text() { # TEXT: replaces the focused field's text
    x xdotool key ctrl+a BackSpace
    x xdotool type --delay 30 "$1"
}
requests() { # UNIT: the setup requests it received, one hex line each
    /usr/bin/python3 - "$work/sim-$1.log" <<'PY'
import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    e = json.loads(line)
    if e.get("dir") == "in" and bytes.fromhex(e.get("hex", "")).startswith(b"0C02S"):
        print(e["hex"])
PY
}

start=$(date +%s)
wine_prefix_up "$P" "$windows/wine/desktop" || exit 1
echo "fresh wine prefix: $(($(date +%s) - start)) s"

wine_exec "$P" "$program" >"$work/program.log" 2>&1 &
program_pid=$!
start=$(date +%s%N)
search=$(window "NAS検索..." 30) || fail "no search window"
echo "search window after $((($(date +%s%N) - start) / 1000000)) ms"
shot search-window
main=$(window "MRV-7K2" 20) || fail "no main window after the search"
gone "NAS検索..." 5 || fail "the search window stayed after the search"
echo "main window after $((($(date +%s%N) - start) / 1000000)) ms"
sleep 1

if [[ $scenario == guide ]]; then
    # Nothing found: the welcome page; 次へ (where 設定 stands on the list)
    # leads through the power and network pages, 先に back.
    shot welcome-page
    click "$main" 485 484
    sleep 0.5
    shot power-page
    click "$main" 485 484
    sleep 0.5
    shot network-page
    click "$main" 397 484
    sleep 0.5
    shot back-to-power-page
else
    shot device-list

    # A second start hands over and leaves: status 0, still one main window.
    wine_exec "$P" "$program" >"$work/second.log" 2>&1 &
    second_pid=$!
    for _ in $(seq 600); do kill -0 "$second_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$second_pid" 2>/dev/null && { kill "$second_pid"; fail "the second start did not end in 60 s"; }
    wait "$second_pid"
    second=$?
    ((second == 0)) || fail "second start: exit $second"
    count=$(x xdotool search --onlyvisible --name '^MRV-7K2$' 2>/dev/null | wc -l)
    ((count == 1)) || fail "$count main windows after a second start"

    # Settings of the first unit (NAS-OFFICE, in the subnet): manual mode; the
    # last octet typed; a wrong password first, then the right one.
    click "$main" 485 484
    dialog=$(window "設定" 10) || fail "no settings dialog"
    sleep 0.5
    shot settings-dialog
    click "$dialog" 297 73
    type_text 70
    click "$dialog" 220 190
    type_text admin
    click "$dialog" 220 212
    type_text wrong
    shot settings-typed
    click "$dialog" 217 245
    box=$(window "Error" 15) || fail "no Error box for a wrong password"
    shot wrong-password
    x xdotool key Return
    gone "Error" 5 || fail "the Error box stayed"
    click "$dialog" 220 212
    type_text secret
    click "$dialog" 217 245
    box=$(window "OK" 15) || fail "no OK box for the right password"
    shot setup-accepted
    expected=$(printf '0C02S00:0D:0B:7A:10:50192.168.1.70;255.255.255.0;192.168.1.1;NAS-OFFICE;WORKGROUP;;admin;' | od -An -tx1 | tr -d ' \n')
    got=$(requests office)
    want=$(printf '%s\n%s' "$expected$(printf wrong | od -An -tx1 | tr -d ' \n')" "$expected$(printf secret | od -An -tx1 | tr -d ' \n')")
    [[ $got == "$want" ]] || fail "setup requests differ:"$'\n'"got:"$'\n'"$got"$'\n'"want:"$'\n'"$want"
    x xdotool key Return
    gone "設定" 10 || fail "the dialog stayed after a success"
    sleep 5 # the new search
    shot after-setup
fi

# 閉じる asks; OK ends the program with status 0.
main=$(window "MRV-7K2" 10) || fail "no main window"
click "$main" 581 484
question=$(window "警告" 10) || fail "no 警告 question on 閉じる"
shot close-question
x xdotool key Return
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "the program still runs after OK"
wait "$program_pid"
status=$?
((status == 0)) || fail "exit status $status after OK"
echo "PASS: the Windows window program works under wine (screenshots in $artifacts)"
