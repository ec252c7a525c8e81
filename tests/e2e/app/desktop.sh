#!/usr/bin/env bash
# Runs one command on a private desktop: Xvfb, a session bus on a file socket
# and the accessibility bus, all started here and ended here. Meant to run
# inside the lab's pc namespace, so that the program under test, its display
# and its buses share one network namespace.
#
# usage: [MRV_WM=openbox] desktop.sh WORKDIR CMD...
# MRV_SCREEN: the screen, WIDTHxHEIGHTxDEPTH (default 1024x768x24);
# MRV_XFT_DPI: the desktop's font resolution (Xft.dpi; 192 for a 2x screen).
# Exports DISPLAY, DBUS_SESSION_BUS_ADDRESS, XDG_RUNTIME_DIR (private to this
# run) for CMD; exit status is CMD's. The program's single-instance name is
# this run's own because it lives in the lab's network namespace.
set -u
work=$1
shift
mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
pids=()
cleanup() {
    local p
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        p=${pids[i]}
        kill -TERM "$p" 2>/dev/null
    done
    for p in "${pids[@]}"; do
        for _ in $(seq 30); do
            kill -0 "$p" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$p" 2>/dev/null
    done
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to fd 3.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 "${MRV_SCREEN:-1024x768x24}" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
if [[ ! -s $work/display ]]; then
    echo "desktop: Xvfb did not start (see $work/xvfb.log)" >&2
    exit 77
fi
export DISPLAY=:$(head -n1 "$work/display")
[[ -n ${MRV_XFT_DPI:-} ]] && echo "Xft.dpi: $MRV_XFT_DPI" | xrdb -merge

export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/session-bus
dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS" \
    >"$work/dbus.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    [[ -S $work/session-bus ]] && break
    sleep 0.1
done
# Qt waits for the accessibility bus but does not start it.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
done
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# MRV_WM names a window manager (openbox, metacity, xfwm4) to run on the
# display, up before CMD starts; without it the display has none.
if [[ -n ${MRV_WM:-} ]]; then
    case $MRV_WM in
    openbox)
        # Its own configuration without the iconify animation, so that a
        # restored window is whole on screen once the manager says so.
        [[ -r /etc/xdg/openbox/rc.xml ]] || { echo "desktop: openbox is not installed" >&2; exit 77; }
        sed 's|<animateIconify>yes</animateIconify>|<animateIconify>no</animateIconify>|' \
            /etc/xdg/openbox/rc.xml >"$work/openbox-rc.xml" || exit 1
        wm=(openbox --sm-disable --config-file "$work/openbox-rc.xml") ;;
    metacity) wm=(metacity --no-composite) ;;
    xfwm4) wm=(xfwm4 --compositor=off) ;;
    *) echo "desktop: unknown window manager $MRV_WM" >&2; exit 1 ;;
    esac
    command -v "${wm[0]}" >/dev/null || { echo "desktop: $MRV_WM is not installed" >&2; exit 77; }
    "${wm[@]}" >"$work/wm.log" 2>&1 &
    pids+=($!)
    # A manager announces itself on the root window once it manages the screen.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
        { echo "desktop: $MRV_WM did not start (see $work/wm.log)" >&2; exit 1; }
fi
# Under the sanitizers: the X keyboard library hands strndup() an atom name
# that is bounded by its length but not terminated, which is legal; strict
# string checks misreport it as an overflow at start-up.
if [[ -n ${ASAN_OPTIONS:-} ]]; then
    export ASAN_OPTIONS=$ASAN_OPTIONS:strict_string_checks=0
fi

"$@"
