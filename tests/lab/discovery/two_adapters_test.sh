#!/usr/bin/env bash
# A PC with two adapters on two segments, the default route on the second: the
# request leaves through both, so units of both segments are found. The local
# network check passes over the first adapter (no gateway) and picks the second.
# Once the first adapter has a gateway too, the PC's values are the first's, and
# each unit is judged by the adapter its reply came in by: both inside.
source "$(dirname "$0")/labtest.sh"
new_lab --gateway none
lab_host "$P" pc 192.168.2.37/24 192.168.2.1 --segment 2 || fail "second adapter"
lab_host "$P" gw2 192.168.2.1/24 none --segment 2 || fail "second gateway"
unit one 192.168.1.50/24 -- --identity 00:80:87:00:01:50 --ip 192.168.1.50
unit two 192.168.2.50/24 --segment 2 -- --identity 00:80:87:00:02:50 --ip 192.168.2.50 \
    --gateway 192.168.2.1 --delay 200
scan
[[ $SCAN_RC == 0 ]] || fail "exit status $SCAN_RC: $(cat "$WORK/scan.err")"
assert_scan '
assert j["NetworkState"] == 0, j
assert j["PcIpAddress"] == "192.168.2.37" and j["PcGateway"] == "192.168.2.1", j
assert sorted(field("MacAddress")) == ["00:80:87:00:01:50", "00:80:87:00:02:50"], field("MacAddress")
by = {r["MacAddress"]: r for r in recs}
assert by["00:80:87:00:01:50"]["OtherSubnet"] == 1 and by["00:80:87:00:02:50"]["OtherSubnet"] == 0
# Each segment got the request from the PC address on that segment.
for name, src in (("one", "192.168.1.37:"), ("two", "192.168.2.37:")):
    got = [l for l in logs(name) if l["dir"] == "in"]
    assert got and all(l["hex"] == "3043303153" for l in got), got
    assert any(l["peer"].startswith(src) for l in got), (name, got)
'
echo "PASS: units on both segments found"

ip -n "$P-pc" route add default via 192.168.1.1 dev eth0 metric 50 || fail "first gateway"
scan
[[ $SCAN_RC == 0 ]] || fail "exit status $SCAN_RC: $(cat "$WORK/scan.err")"
assert_scan '
assert j["PcIpAddress"] == "192.168.1.37" and j["PcGateway"] == "192.168.1.1", j
assert [r["OtherSubnet"] for r in recs] == [0, 0], recs
assert sorted(field("NetworkAddress")) == ["192.168.1.0", "192.168.2.0"], recs
'
echo "PASS: each unit judged by its own adapter's network"
