#!/usr/bin/env bash
# A unit that answers three times, the copies differing only after the first:
# one record, holding the first reply's values.
source "$(dirname "$0")/labtest.sh"
new_lab
first="0C01R00:80:87:00:00:70'192.168.1.70','255.255.255.0','192.168.1.1','FIRST','A','','M','1','100','50'"
again="0C01R00:80:87:00:00:70'192.168.1.71','255.255.255.0','192.168.1.1','SECOND','B','','M','1','100','50'"
unit u 192.168.1.70/24 -- --raw-text "$first" --raw-text "$again" --raw-text "$again"
scan
[[ $SCAN_RC == 0 ]] || fail "exit status $SCAN_RC"
assert_scan '
assert j["DeviceCount"] == 1, j["DeviceCount"]
assert recs[0]["HostName"] == "FIRST" and recs[0]["IpAddress"] == "192.168.1.70", recs[0]
assert j["datagrams"] >= 3, j["datagrams"]
'
echo "PASS: a unit answering three times gives one record"
