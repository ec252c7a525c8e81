#!/usr/bin/env bash
# Found-rate of a scan through a lossy link: a simulated unit behind nftables
# rules that drop a share of the requests it receives and of the replies it
# sends, at random; mrv7k2-find scans it again and again. Prints, per loss
# level, in how many scans the unit was found. Runs in a lab of its own
# (network namespaces); needs root.
#
# Usage: bench/loss/run.sh [BUILD_DIR]       (default: build/ of this tree)
#   MRV_BENCH_SCANS=50         scans per loss level
#   MRV_BENCH_LOSSES="0 30 50" loss levels, percent of datagrams lost each way
#   MRV_BENCH_UNITS=1          units per scan, each behind its own lossy link;
#                              more units give more samples per scan
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd) || exit 1
scans=${MRV_BENCH_SCANS:-50}
losses=${MRV_BENCH_LOSSES:-0 30 50}
units=${MRV_BENCH_UNITS:-1}
find=$build/app/mrv7k2-find
sim=$build/tools/nas-sim/nas-sim
source "$root/tools/lab/lab.sh"

if ! lab_check; then
    echo "SKIP: the loss bench needs a lab of network namespaces (run it as root)"
    exit 77
fi
command -v nft >/dev/null || { echo "SKIP: nft is not installed (package nftables)"; exit 77; }
for exe in "$find" "$sim"; do
    [[ -x $exe ]] || { echo "FAIL: $exe is not built"; exit 1; }
done
((scans >= 1 && scans <= 10000 && units >= 1 && units <= 50)) ||
    { echo "FAIL: MRV_BENCH_SCANS 1..10000, MRV_BENCH_UNITS 1..50"; exit 1; }

work=$(mktemp -d /tmp/mrv-lossbench.XXXXXX)
P=$(lab_prefix) || exit 1
trap 'lab_down "$P"; rm -rf "$work"' EXIT
lab_up "$P" || exit 1
for ((u = 1; u <= units; u++)); do
    lab_host "$P" "u$u" "192.168.1.$((100 + u))/24" || exit 1
    lab_exec "$P" "u$u" "$sim" --identity "$(printf '00:80:87:00:10:%02X' "$u")" \
        --ip "192.168.1.$((100 + u))" --ready-file "$work/u$u.ready" --lifetime 36000 \
        >"$work/u$u.out" 2>&1 &
done
for ((i = 0; i < 100; i++)); do
    [[ $(ls "$work"/*.ready 2>/dev/null | wc -l) == "$units" ]] && break
    sleep 0.05
done

echo "loss bench: $scans scans per level, $units unit(s) per scan, $(git -C "$root" log -1 --format=%h 2>/dev/null)"
for loss in $losses; do
    for ((u = 1; u <= units; u++)); do
        lab_loss "$P" "u$u" "$loss" || exit 1
    done
    found=0
    for ((s = 1; s <= scans; s++)); do
        lab_exec "$P" pc timeout 20 "$find" --json >"$work/scan.json" 2>/dev/null
        n=$(grep -c '"MacAddress": "00:80:87:00:10:' "$work/scan.json")
        found=$((found + n))
    done
    total=$((scans * units))
    awk -v l="$loss" -v k="$found" -v n="$total" \
        'BEGIN { printf "loss %3d%% each way: found %d of %d (%.1f %%)\n", l, k, n, 100 * k / n }'
done
