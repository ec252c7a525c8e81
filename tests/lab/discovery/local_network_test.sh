#!/usr/bin/env bash
# The local network check as the lab's PC sees it: the usual PC; a PC whose only
# adapter has no gateway (NetworkState 1: exit 2, the LAN message, JSON still
# printed, after a full scan); a PC whose first adapter has no address.
source "$(dirname "$0")/labtest.sh"

new_lab
scan
[[ $SCAN_RC == 0 ]] || fail "usual PC: exit status $SCAN_RC"
assert_scan '
assert (j["NetworkState"], j["PcIpAddress"], j["PcSubnetMask"], j["PcGateway"], j["PcNetwork"]) \
    == (0, "192.168.1.37", "255.255.255.0", "192.168.1.1", "192.168.1.0"), j
'

new_lab --gateway none
scan
[[ $SCAN_RC == 2 ]] || fail "PC without gateway: exit status $SCAN_RC, expected 2"
assert_scan '
assert j["NetworkState"] == 1, j
assert (j["PcIpAddress"], j["PcSubnetMask"], j["PcGateway"]) == ("", "", ""), j
assert "このPCは、LANに接続されていません。\nLANに接続後、もう一度お試しください。" in err, err
'
((SCAN_MS >= MIN_SCAN_MS)) || fail "no-gateway scan ended early (${SCAN_MS} ms)"

new_lab --gateway none --no-gw-host
lab_host "$P" pc 10.20.30.37/24 10.20.30.1 --segment 2 || fail "second adapter"
lab_exec "$P" pc ip addr flush dev eth0 || fail "flush"
scan
[[ $SCAN_RC == 0 ]] || fail "first adapter without address: exit status $SCAN_RC"
assert_scan '
assert (j["NetworkState"], j["PcIpAddress"], j["PcNetwork"]) == (0, "10.20.30.37", "10.20.30.0"), j
'
echo "PASS: local network check in the lab"
