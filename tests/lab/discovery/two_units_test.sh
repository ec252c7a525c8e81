#!/usr/bin/env bash
# Two units: records in the order their replies arrived, texts decoded from CP932,
# and exactly the five request bytes on the wire, once for each of the ten
# moments of a scan.
source "$(dirname "$0")/labtest.sh"
new_lab
# The first to answer is the second to start: the table must follow arrival, not start order.
unit late 192.168.1.60/24 -- --identity 00:80:87:00:00:60 --ip 192.168.1.60 --delay 400 \
    --host "ナス１" --host-aux "ワークグループ" --disk-model "ディスク～"
unit early 192.168.1.61/24 -- --identity 00:80:87:00:00:61 --ip 192.168.1.61 --free ""
scan
[[ $SCAN_RC == 0 ]] || fail "exit status $SCAN_RC: $(cat "$WORK/scan.err")"
assert_scan '
assert j["DeviceCount"] == 2, j["DeviceCount"]
assert field("number") == [1, 2]
assert field("MacAddress") == ["00:80:87:00:00:61", "00:80:87:00:00:60"], field("MacAddress")
late = recs[1]
assert late["HostName"] == "ナス１", late["HostName"]
assert late["HostAux"] == "ワークグループ", late["HostAux"]
assert late["DiskModel"] == "ディスク～", late["DiskModel"]
assert late["IpAddress"] == "192.168.1.60" and late["OtherSubnet"] == 0
assert late["FreeSpaceMissing"] == 0
assert recs[0]["DiskFree"] == "" and recs[0]["FreeSpaceMissing"] == 1, recs[0]
for name in ("late", "early"):
    got = [l for l in logs(name) if l["dir"] == "in"]
    assert len(got) == 10, (name, got)
    assert all(l["hex"] == "3043303153" for l in got), got
    assert all(l["peer"].startswith("192.168.1.37:") for l in got), got
'
echo "PASS: two units in reply order (${SCAN_MS} ms)"
