#!/usr/bin/env bash
# A private lab network with two units, a private desktop in the lab's pc
# namespace, and the real mrv7k2-setup driven by the scenario SCENARIO.py
# through the accessibility tree and the X pointer. Screenshots and logs go to
# $MRV_BUILD_DIR/e2e-artifacts/SCENARIO. Exit 77 (skipped) when namespaces or
# the desktop tools are not available. Uses the desktop and helpers of the
# start-up scenarios.
# usage: run_settings_e2e.sh PATH/TO/SCENARIO.py
set -u
scenario=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${MRV_BUILD_DIR:?run through ctest}" "${MRV_SOURCE_DIR:?run through ctest}"
common=$MRV_SOURCE_DIR/tests/e2e/app
program=$MRV_BUILD_DIR/app/mrv7k2-setup
sim=$MRV_BUILD_DIR/tools/nas-sim/nas-sim

source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
lab_check || exit 77
for tool in Xvfb xdotool xev xprop import dbus-daemon dbus-send; do
    command -v "$tool" >/dev/null || { echo "e2e skipped: $tool is not installed" >&2; exit 77; }
done
if [[ ! -x /usr/libexec/at-spi-bus-launcher ]] || ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "e2e skipped: at-spi2-core or python3-pyatspi is not installed" >&2
    exit 77
fi
for f in "$program" "$sim" "$common/desktop.sh" "$common/mrv_e2e.py"; do
    [[ -e $f ]] || fail "$f is missing"
done

artifacts=$MRV_BUILD_DIR/e2e-artifacts/$(basename "$scenario" .py)
rm -rf "$artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d /tmp/mrv-e2e-settings.XXXXXX)
P=$(lab_prefix) || exit 1
trap 'lab_down "$P"; cp -f "$work"/*.log "$work"/*.out "$artifacts"/ 2>/dev/null; rm -rf "$work"' EXIT
lab_up "$P" || exit 1

lab_exec "$P" gw /usr/bin/python3 "$common/udp_log.py" 12311 "$work/requests.log" 180 \
    "$work/ready-log" &
# A unit inside the PC's subnet and one outside it; both really take the
# address they are given.
lab_host "$P" office 192.168.1.50/24 192.168.1.1 || exit 1
lab_exec "$P" office "$sim" --lifetime 180 --ready-file "$work/ready-office" \
    --log "$work/sim-office.log" --identity 00:0D:0B:7A:10:50 --ip 192.168.1.50 \
    --host NAS-OFFICE --user admin --password secret --on-setup address \
    >"$work/sim-office.out" 2>&1 &
lab_host "$P" remote 10.10.0.20/24 || exit 1
lab_exec "$P" remote "$sim" --lifetime 180 --ready-file "$work/ready-remote" \
    --log "$work/sim-remote.log" --identity 00:0D:0B:7A:10:20 --ip 10.10.0.20 \
    --gateway 10.10.0.1 --host NAS-REMOTE --user admin --password secret --broadcast \
    --delay 200 --on-setup address >"$work/sim-remote.out" 2>&1 &
for name in log office remote; do
    for _ in $(seq 50); do
        [[ -e $work/ready-$name ]] && break
        sleep 0.1
    done
    [[ -e $work/ready-$name ]] || fail "$name did not start"
done

lab_exec "$P" pc env MRV_PROGRAM="$program" MRV_ARTIFACTS="$artifacts" \
    MRV_REQUEST_LOG="$work/requests.log" MRV_SIM_LOGS="$work" \
    PYTHONPATH="$here:$common" PYTHONDONTWRITEBYTECODE=1 \
    timeout -k 5 180 "$common/desktop.sh" "$work/desktop" /usr/bin/python3 \
    "$scenario"
