#!/usr/bin/env bash
# The window program on a Wayland session, under a headless compositor inside
# the lab: sway (wlroots) or weston, with XWayland offered or not. Without
# QT_QPA_PLATFORM the program must take X11 where XWayland is offered and
# Wayland otherwise. Under sway the compositor's tree is read: the window's
# shell, size and place; a second start exits 0 and leaves one window (and
# on X11 asks for the focus another window holds); the compositor's close
# on the main window asks 警告 (Escape keeps the program), on the idle
# settings dialog it is Cancel, and 警告's OK ends the program with 0.
# Under weston (no tree to read) the platform, the window's size on X11, the
# second start and a screenshot. Compositor and program run as nobody: sway
# refuses to run as root, and the program is not meant to.
# Screenshots: $MRV_BUILD_DIR/e2e-artifacts/wayland-COMPOSITOR-MODE/.
# usage: wayland_session_test.sh sway|weston xwayland|native
set -u
compositor=$1
mode=$2
: "${MRV_BUILD_DIR:?run through ctest}" "${MRV_SOURCE_DIR:?run through ctest}"
program=$MRV_BUILD_DIR/app/mrv7k2-setup
sim=$MRV_BUILD_DIR/tools/nas-sim/nas-sim
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
lab_check || exit 77
tools=(python3 setpriv)
case $compositor in
sway) tools+=(sway swaymsg grim wtype weston-simple-shm) ;;
weston) tools+=(weston weston-screenshooter xwininfo) ;;
*) echo "usage: $0 sway|weston xwayland|native" >&2; exit 2 ;;
esac
[[ $mode == xwayland ]] && tools+=(Xwayland)
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

artifacts=$MRV_BUILD_DIR/e2e-artifacts/wayland-$compositor-$mode
rm -rf "$artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d /tmp/mrv-wayland.XXXXXX)
P=$(lab_prefix) || exit 1
trap 'lab_down "$P"; cp -f "$work"/*.log "$artifacts"/ 2>/dev/null; rm -rf "$work"' EXIT
# A failure leaves a picture of the screen once there is one to take.
on_fail() { declare -F shot >/dev/null && shot failure; }
lab_up "$P" || exit 1
lab_host "$P" u1 192.168.1.50/24 || exit 1
lab_exec "$P" u1 "$sim" --lifetime 200 --ready-file "$work/ready" --identity 00:11:22:33:44:50 \
    --ip 192.168.1.50 --host NAS-ALPHA >"$work/sim.log" 2>&1 &
disown

# The session: a private runtime folder for the user nobody, as a login
# would make it.
chmod 755 "$work"
mkdir -m 700 "$work/runtime"
chown nobody:nogroup "$work/runtime"
chown nobody:nogroup "$work"
as_user=(lab_exec "$P" pc setpriv --reuid=65534 --regid=65534 --clear-groups env -i
    PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8)
# A sanitizer build's settings go along, but for two checks that here find
# only system libraries: Qt's Wayland plugins leak and are unloaded before the
# leak check can name them, and libxkbcommon-x11 bounds its strndup() of
# XWayland's key names past their end. Every other test keeps both checks.
[[ -n ${ASAN_OPTIONS:-} ]] && as_user+=("ASAN_OPTIONS=$ASAN_OPTIONS:detect_leaks=0:strict_string_checks=0")
[[ -n ${UBSAN_OPTIONS:-} ]] && as_user+=("UBSAN_OPTIONS=$UBSAN_OPTIONS")

if [[ $compositor == sway ]]; then
    printf 'xwayland %s\noutput HEADLESS-1 resolution 1024x768\n' \
        "$([[ $mode == xwayland ]] && echo force || echo disable)" >"$work/sway.conf"
    "${as_user[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$work/sway.conf" >"$work/compositor.log" 2>&1 &
else
    "${as_user[@]}" weston --backend=headless-backend.so --use-pixman --socket=wayland-1 \
        --width=1024 --height=768 --idle-time=0 --debug \
        $([[ $mode == xwayland ]] && echo --xwayland) >"$work/compositor.log" 2>&1 &
fi
disown
for _ in $(seq 100); do
    [[ -S $work/runtime/wayland-1 ]] && break
    sleep 0.1
done
[[ -S $work/runtime/wayland-1 ]] || { cat "$work/compositor.log"; fail "$compositor did not start"; }
session=("${as_user[@]}" WAYLAND_DISPLAY=wayland-1)
if [[ $compositor == sway ]]; then
    for _ in $(seq 50); do
        ipc=$(ls "$work/runtime" | grep -m1 '^sway-ipc') && break
        sleep 0.1
    done
    session+=(SWAYSOCK="$work/runtime/$ipc")
fi
x11=
if [[ $compositor == weston && $mode == xwayland ]]; then
    # XWayland starts slowly on a busy machine: up to 20 s.
    for _ in $(seq 200); do
        x11=$(grep -o 'xserver listening on display :[0-9]*' "$work/compositor.log" | grep -o ':[0-9]*$')
        [[ -n $x11 ]] && break
        sleep 0.1
    done
    [[ -n $x11 ]] || fail "weston offered no X server"
fi
for _ in $(seq 50); do
    [[ -e $work/ready ]] && break
    sleep 0.1
done

shot() { # NAME
    if [[ $compositor == sway ]]; then
        "${session[@]}" timeout 10 grim "$work/shot.png" 2>/dev/null
    else
        (cd "$work" && rm -f wayland-screenshot-*.png &&
            "${session[@]}" timeout 10 weston-screenshooter >/dev/null 2>&1 &&
            mv wayland-screenshot-*.png shot.png) 2>/dev/null
    fi
    [[ -f $work/shot.png ]] && mv "$work/shot.png" "$artifacts/$1.png"
}
# start NAME: the program as the session's launcher starts it (sway: its own
# exec, so that it has the session's DISPLAY); its status lands in NAME.status.
printf '#!/bin/sh\n"%s" >"%s/$1.log" 2>&1\necho $? >"%s/$1.status"\n' "$program" "$work" "$work" \
    >"$work/launch"
chmod 755 "$work/launch"
start() {
    if [[ $compositor == sway ]]; then
        "${session[@]}" swaymsg -q exec "$work/launch" "$1"
    else
        "${session[@]}" ${x11:+DISPLAY=$x11} "$work/launch" "$1" &
        disown
    fi
}
wait_status() { # NAME SECONDS
    for _ in $(seq $(($2 * 10))); do
        [[ -s $work/$1.status ]] && { cat "$work/$1.status"; return 0; }
        sleep 0.1
    done
    echo "still running"
}
# The windows in sway's tree: title, shell, width, height, x, y (of the
# content, on the output), focused, urgent; one line each.
windows() {
    "${session[@]}" swaymsg -t get_tree -r | python3 -c '
import json, sys
def walk(n):
    if n.get("pid"):
        r = n["rect"]; w = n["window_rect"]
        print("\t".join(str(v) for v in (n.get("name"), n.get("shell"), w["width"], w["height"],
              r["x"] + w["x"], r["y"] + w["y"], n.get("focused"), n.get("urgent"))))
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))'
}
window() { windows | awk -F'\t' -v t="$1" '$1 == t'; }
wait_window() { # TITLE SECONDS
    for _ in $(seq $(($2 * 10))); do
        [[ -n $(window "$1") ]] && return 0
        sleep 0.1
    done
    return 1
}
wait_gone() { # TITLE SECONDS
    for _ in $(seq $(($2 * 10))); do
        [[ -z $(window "$1") ]] && return 0
        sleep 0.1
    done
    return 1
}
key() { "${session[@]}" wtype -s 300 -k "$1"; sleep 0.3; }
close_window() { "${session[@]}" swaymsg -q "[title=\"^$1\$\"] kill"; }

start first
if [[ $compositor == weston ]]; then
    sleep 8 # the start-up search: 3 s, and the main window after it
    [[ -s $work/first.status ]] && fail "the program ended: $(cat "$work/first.log")"
    if [[ $mode == xwayland ]]; then
        geometry=$("${session[@]}" DISPLAY="$x11" xwininfo -root -tree | grep '"MRV-7K2": ("mrv7k2-setup"')
        [[ $geometry == *" 652x538+"* ]] || fail "no 652x538 X11 window MRV-7K2: $geometry"
    fi
    shot 10-main-window
    start second
    [[ $(wait_status second 10) == 0 ]] || fail "the second start did not end with 0"
    [[ -s $work/first.status ]] && fail "the second start ended the first"
    echo "PASS: weston ($mode)"
    exit 0
fi

wait_window MRV-7K2 15 || fail "no main window: $(windows)"
IFS=$'\t' read -r _ shell width height x y _ _ <<<"$(window MRV-7K2)"
expected_shell=$([[ $mode == xwayland ]] && echo xwayland || echo xdg_shell)
[[ $shell == "$expected_shell" ]] || fail "the program runs on $shell, not $expected_shell"
[[ $width == 652 && $height == 538 ]] || fail "the main window is ${width}x$height"
((x >= 184 - 3 && x <= 186 + 3 && y >= 115 - 3 && y <= 115 + 3)) ||
    fail "the main window stands at $x,$y, not in the middle of the screen"
shot 10-main-window

# A second start while another window has the focus.
"${session[@]}" weston-simple-shm >/dev/null 2>&1 &
disown
sleep 1
start second
[[ $(wait_status second 10) == 0 ]] || fail "the second start did not end with 0: $(cat "$work/second.log")"
[[ $(windows | grep -c $'^MRV-7K2\t') == 1 ]] || fail "not one main window after the second start: $(windows)"
IFS=$'\t' read -r _ _ _ _ _ _ focused urgent <<<"$(window MRV-7K2)"
echo "after the second start: focused=$focused urgent=$urgent"
if [[ $mode == xwayland && $focused != True && $urgent != True ]]; then
    fail "the second start did not ask for the main window's focus"
fi
shot 11-after-second-start
"${session[@]}" swaymsg -q '[title="^MRV-7K2$"] focus'
sleep 0.5

# The compositor's close: on the main window the question, kept by Escape.
close_window MRV-7K2
wait_window 警告 5 || fail "the compositor's close did not ask 警告"
shot 20-close-question
key Escape
wait_gone 警告 5 || fail "Escape did not answer the question"
[[ -s $work/first.status ]] && fail "Escape on the question ended the program"

# On the idle settings dialog it is Cancel, and nothing is asked.
"${session[@]}" swaymsg -q '[title="^MRV-7K2$"] focus'
key Tab
key space
wait_window 設定 5 || fail "Tab and Space from the list did not open the settings dialog"
IFS=$'\t' read -r _ _ width height _ _ _ _ <<<"$(window 設定)"
[[ $width == 328 && $height == 278 ]] || fail "the settings dialog is ${width}x$height"
shot 30-settings-dialog
close_window 設定
wait_gone 設定 5 || fail "the compositor's close did not close the idle dialog"
sleep 0.5
[[ -z $(window 警告) ]] || fail "closing the dialog asked 警告"

close_window MRV-7K2
wait_window 警告 5 || fail "the second close did not ask 警告"
key Return
[[ $(wait_status first 10) == 0 ]] || fail "OK on 警告 did not end the program with 0"
echo "PASS: sway ($mode)"
