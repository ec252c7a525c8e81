#!/usr/bin/env bash
# One end-to-end scenario: a private lab network, the units UNITS.sh starts
# (with unit NAME ADDR/LEN nas-sim-options...), a private desktop in the lab's
# pc namespace, and the real mrv7k2-setup driven by SCENARIO.py. Screenshots
# and logs go to $MRV_BUILD_DIR/e2e-artifacts/SCENARIO.
# usage: run_scenario.sh PATH/TO/SCENARIO.py PATH/TO/UNITS.sh
# Exit 77 (skipped) when namespaces or the desktop tools are not available.
set -u
scenario=$1
units_file=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${MRV_BUILD_DIR:?run through ctest}" "${MRV_SOURCE_DIR:?run through ctest}"
program=$MRV_BUILD_DIR/app/mrv7k2-setup
sim=$MRV_BUILD_DIR/tools/nas-sim/nas-sim

source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
lab_check || exit 77
for tool in Xvfb xdotool xev xprop import dbus-daemon dbus-send ${MRV_WM:+$MRV_WM wmctrl} \
    ${MRV_XFT_DPI:+xrdb}; do
    if ! command -v "$tool" >/dev/null; then
        echo "e2e skipped: $tool is not installed" >&2
        exit 77
    fi
done
if [[ ! -x /usr/libexec/at-spi-bus-launcher ]] || ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "e2e skipped: at-spi2-core or python3-pyatspi is not installed" >&2
    exit 77
fi
for f in "$program" "$sim"; do
    [[ -x $f ]] || fail "$f is not built"
done

# MRV_WM: the window manager to run the scenario under (none by default).
artifacts=$MRV_BUILD_DIR/e2e-artifacts/$(basename "$scenario" .py)${MRV_WM:+-$MRV_WM}
rm -rf "$artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d /tmp/mrv-e2e.XXXXXX)
P=$(lab_prefix) || exit 1
trap 'lab_down "$P"; cp -f "$work"/*.log "$work"/*.out "$artifacts"/ 2>/dev/null; rm -rf "$work"' EXIT
lab_up "$P" || exit 1

# Every request the program broadcasts reaches the gateway host too.
lab_exec "$P" gw /usr/bin/python3 "$here/udp_log.py" 12311 "$work/requests.log" 200 \
    "$work/ready-logger" &
disown # lab_down ends it; no job notice

# A unit: NAME ADDR/LEN, then nas-sim arguments.
unit() {
    local name=$1 addr=$2
    shift 2
    lab_host "$P" "$name" "$addr" || exit 1
    lab_exec "$P" "$name" "$sim" --lifetime 240 --ready-file "$work/ready-$name" \
        --log "$work/sim-$name.log" "$@" >"$work/sim-$name.out" 2>&1 &
    disown
    units+=("$name")
}
units=(logger)
source "$units_file"
for name in "${units[@]}"; do
    for _ in $(seq 50); do
        [[ -e $work/ready-$name ]] && break
        sleep 0.1
    done
    [[ -e $work/ready-$name ]] || { cat "$work/sim-$name.out" >&2 2>/dev/null; fail "$name did not start"; }
done

# The desktop's opener, standing in for the file browser and the web browser.
mkdir -p "$work/bin"
cat >"$work/bin/xdg-open" <<'OPENER'
#!/bin/sh
printf '%s\n' "$*" >>"$MRV_OPENER_LOG"
OPENER
chmod +x "$work/bin/xdg-open"
: >"$work/opener.log"

lab_exec "$P" pc env PATH="$work/bin:$PATH" MRV_PROGRAM="$program" MRV_ARTIFACTS="$artifacts" \
    MRV_REQUEST_LOG="$work/requests.log" MRV_OPENER_LOG="$work/opener.log" \
    MRV_SIM_LOGS="$work" MRV_WM="${MRV_WM:-}" \
    PYTHONPATH="$here" PYTHONDONTWRITEBYTECODE=1 \
    timeout -k 5 240 "$here/desktop.sh" "$work/desktop" /usr/bin/python3 "$scenario"
