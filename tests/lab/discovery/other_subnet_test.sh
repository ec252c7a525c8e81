#!/usr/bin/env bash
# Units outside the PC's subnet: one answering by limited broadcast, one by unicast
# through its on-link default route. Both found and flagged as in another subnet.
source "$(dirname "$0")/labtest.sh"
new_lab
unit bc 10.0.0.5/24 -- --identity 00:80:87:00:10:05 --ip 10.0.0.5 --gateway 10.0.0.1 --broadcast
unit uc 172.16.9.9/16 -- --identity 00:80:87:00:10:09 --ip 172.16.9.9 --mask 255.255.0.0 \
    --gateway 172.16.0.1 --delay 200
scan
[[ $SCAN_RC == 0 ]] || fail "exit status $SCAN_RC"
assert_scan '
assert j["DeviceCount"] == 2, j["DeviceCount"]
bc, uc = recs
assert bc["MacAddress"] == "00:80:87:00:10:05" and bc["IpAddress"] == "10.0.0.5", bc
assert bc["OtherSubnet"] == 1 and uc["OtherSubnet"] == 1, (bc, uc)
# Masked with the PC mask (255.255.255.0), not the unit mask.
assert bc["NetworkAddress"] == "10.0.0.0" and uc["NetworkAddress"] == "172.16.9.0", (bc, uc)
out = [l for l in logs("bc") if l["dir"] == "out"]
assert out and out[0]["peer"] == "255.255.255.255:12310", out
'
echo "PASS: out-of-subnet units found (broadcast and unicast replies)"
