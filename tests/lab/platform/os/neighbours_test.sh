#!/usr/bin/env bash
# The neighbour-table lookup against entries set by hand in a lab namespace:
# every entry that holds a resolved hardware address counts (reachable,
# permanent, stale); entries without one (no-ARP, failed) and unknown
# addresses do not. No packet is sent.
# Usage: neighbours_test.sh PATH/TO/neighbour-lookup
set -u
lookup=$1
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
lab_check || exit 77
P=$(lab_prefix) || exit 1
trap 'lab_down "$P"' EXIT
lab_up "$P" --no-gw-host || exit 1

set_entry() { lab_exec "$P" pc ip neigh replace "$1" lladdr "$2" dev eth0 nud "$3"; }
set_entry 192.168.1.60 02:00:00:00:00:60 permanent || exit 1
set_entry 192.168.1.61 02:00:00:00:00:61 reachable || exit 1
set_entry 192.168.1.62 02:00:00:00:00:62 stale || exit 1
set_entry 192.168.1.63 02:00:00:00:00:63 noarp || exit 1
lab_exec "$P" pc ip neigh replace 192.168.1.65 dev eth0 nud failed || exit 1

got=$(lab_exec "$P" pc "$lookup" \
    192.168.1.60 192.168.1.61 192.168.1.62 192.168.1.63 192.168.1.64 192.168.1.65 \
    not-an-address)
expected="192.168.1.60 yes
192.168.1.61 yes
192.168.1.62 yes
192.168.1.63 no
192.168.1.64 no
192.168.1.65 no
not-an-address no"
[[ $got == "$expected" ]] || fail "lookup gave"$'\n'"$got"$'\n'"expected"$'\n'"$expected"
echo "PASS: resolved entries only"
