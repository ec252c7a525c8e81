#!/usr/bin/env bash
# The Windows OS layer under wine against the Linux one, in the lab's PC
# namespace: both builds of mrv7k2-netinfo list the same adapters and make the
# same choice, for the usual PC and for one whose first adapter is down and
# whose third is down with an address (Windows shows those as 0.0.0.0). And
# both builds of sockets-check pass the same checks of the UDP socket (the
# adapter a datagram came in by, and a send through that adapter alone
# included) and the single-instance channel on the namespace's loopback.
# Usage: netinfo_wine_test.sh LINUX-NETINFO LINUX-SOCKETS-CHECK
set -u
linux=$1
windows_tools=${MRV_WINDOWS_BUILD_DIR:-$MRV_SOURCE_DIR/build-windows}/tools/netinfo
exe=$windows_tools/mrv7k2-netinfo.exe
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tools/lab/wine.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
wine_check || exit 77
[[ -f $exe ]] || { echo "SKIP: no Windows build at $exe (bash scripts/build windows)"; exit 77; }
lab_check || exit 77
P=$(lab_prefix) || exit 1
work=$(mktemp -d /tmp/netinfo-wine.XXXXXX) || exit 1
trap 'wine_prefix_down; lab_down "$P"; rm -rf "$work"' EXIT
WINE_TIMEOUT=60

# compare CASE EXPECTED-LINE...: both outputs equal and holding each line.
compare() {
    local name=$1 native windows start
    shift
    native=$(lab_exec "$P" pc "$linux") || count_fail "$name: Linux build exit $?"
    start=$(date +%s%N)
    windows=$(wine_exec "$P" "$exe" 2>/dev/null) || count_fail "$name: Windows build exit $?"
    windows=${windows//$'\r'/}
    echo "$name: wine run $(( ($(date +%s%N) - start) / 1000000 )) ms"
    [[ $native == "$windows" ]] || count_fail "$name: outputs differ"$'\n'"Linux:"$'\n'"$native"$'\n'"wine:"$'\n'"$windows"
    for line in "$@"; do
        grep -qxF "$line" <<<"$windows" || count_fail "$name: no line '$line' in"$'\n'"$windows"
    done
}

lab_up "$P" || exit 1
wine_prefix_up "$P" "$work/prefix" || exit 1
compare "usual PC" "adapter 192.168.1.37 255.255.255.0 192.168.1.1" "NetworkState 0"

lab_host "$P" pc 10.20.30.37/24 10.20.30.1 --segment 2 || exit 1
lab_host "$P" pc 172.16.5.37/16 none || exit 1
lab_exec "$P" pc ip link set eth0 down || exit 1
lab_exec "$P" pc ip link set eth2 down || exit 1
compare "first adapter down" "adapter 0.0.0.0 0.0.0.0 0.0.0.0" \
    "adapter 10.20.30.37 255.255.255.0 10.20.30.1" "PcIpAddress 10.20.30.37" "NetworkState 0"

linux=$2 exe=$windows_tools/sockets-check.exe
compare "sockets" "ok udp held port refused" "ok udp long datagram cut to the buffer" \
    "ok udp arrival adapter reported" "ok udp loopback adapter sends nothing" \
    "ok channel taken" "ok channel request read, then its end" \
    "ok channel holder checked and named" "ok channel unanswered request" \
    "ok channel serves past its peer bound"

checks_done "PASS: Windows and Linux builds agree on the lab PC's network and sockets"
