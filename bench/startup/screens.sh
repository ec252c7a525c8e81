#!/usr/bin/env bash
# Screenshots of the real program at one scale factor, for comparing pictures
# before and after a change: the search window, the three guide pages (no unit
# on the network) and the device list (three units: in the PC's subnet, outside
# it, without a free-space value). Runs in a private lab network; needs root.
#
# usage: screens.sh BUILD_DIR OUT_DIR [SCALE]   (SCALE: QT_SCALE_FACTOR, default 1)
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:?usage: screens.sh BUILD_DIR OUT_DIR [SCALE]}" && pwd)
out=${2:?usage: screens.sh BUILD_DIR OUT_DIR [SCALE]}
scale=${3:-1}
program=$build/app/mrv7k2-setup
sim=$build/tools/nas-sim/nas-sim

source "$here/../../tools/lab/lab.sh"
lab_check || exit 77
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "screens: $tool is not installed" >&2; exit 77; }
done
mkdir -p "$out"
work=$(mktemp -d /tmp/mrv-screens.XXXXXX)
P=$(lab_prefix) || exit 1
xvfb=
runs=0
cleanup() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
    lab_down "$P"
    rm -rf "$work"
}
trap cleanup EXIT
lab_up "$P" || exit 1

# The display lives in the pc namespace, reached by its abstract socket there
# (see run.sh); every X client below runs in that namespace too.
pc=$(lab_ns "$P" pc)
inpc() { ip netns exec "$pc" "$@"; }
exec 3>"$work/display"
inpc Xvfb -displayfd 3 -screen 0 2048x1536x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "screens: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")

# One run of the program; the caller's commands run while it is up.
start_program() {
    rm -rf "$work/runtime"
    mkdir -m 700 "$work/runtime"
    # ip and env both exec, so $! is the program itself; lab_down ends
    # whatever is left.
    ip netns exec "$pc" env XDG_RUNTIME_DIR="$work/runtime" \
        QT_SCALE_FACTOR="$scale" "$program" >"$work/program.log" 2>&1 &
    app=$!
}
stop_program() {
    cp -f "$work/program.log" "$out/program-$((++runs)).log" 2>/dev/null
    kill "$app" 2>/dev/null
    wait "$app" 2>/dev/null
}
shot() { # NAME TITLE
    local id
    id=$(inpc xdotool search --onlyvisible --name "^$2\$" | head -n1)
    [[ -n $id ]] || { echo "screens: no window $2 for $1" >&2; return 1; }
    inpc import -window "$id" "$out/$1.png"
}
click_next() { # But_Next at 448,472 75x25 in the form
    local id
    id=$(inpc xdotool search --onlyvisible --name '^MRV-7K2$' | head -n1)
    inpc xdotool mousemove --window "$id" "$(((448 + 37) * scale))" "$(((472 + 12) * scale))" click 1
    sleep 0.5
}

start_program
sleep 1
shot search 'NAS検索\.\.\.'
sleep 3.5
shot guide-welcome 'MRV-7K2'
click_next
shot guide-power 'MRV-7K2'
click_next
shot guide-network 'MRV-7K2'
stop_program

unit() { # NAME ADDR/LEN, then nas-sim arguments
    local name=$1 addr=$2
    shift 2
    lab_host "$P" "$name" "$addr" || exit 1
    lab_exec "$P" "$name" "$sim" --lifetime 60 --ready-file "$work/ready-$name" "$@" \
        >/dev/null 2>&1 &
    for _ in $(seq 50); do [[ -e $work/ready-$name ]] && break; sleep 0.1; done
}
unit office 192.168.1.50/24 --identity 00:0D:0B:7A:10:50 --ip 192.168.1.50 \
    --host NAS-OFFICE --disk-model ST3250310AS --capacity 244198584 --free 97679433
unit remote 10.10.0.20/24 --identity 00:0D:0B:7A:10:20 --ip 10.10.0.20 --mask 255.255.255.0 \
    --gateway 10.10.0.1 --host NAS-REMOTE --disk-model ST380815AS --capacity 78150744 \
    --free 7000000 --broadcast --delay 300
unit keiri 192.168.1.60/24 --identity 00:0D:0B:7A:10:60 --ip 192.168.1.60 \
    --host 経理部NAS --disk-model "" --free "" --delay 600

start_program
sleep 6
shot device-list 'MRV-7K2'
stop_program
ls "$out"
