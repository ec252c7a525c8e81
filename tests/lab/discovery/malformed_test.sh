#!/usr/bin/env bash
# Datagrams on the reply port that are not usable replies are ignored, while the
# valid ones around them become records; a reply with an empty disk model needs
# only 14 apostrophes and gets disk values "0".
source "$(dirname "$0")/labtest.sh"
new_lab
id=00:80:87:00:00:9
full="'192.168.1.9','255.255.255.0','192.168.1.1','H','A','','M','1','100','50'"
long=$(printf 'x%.0s' {1..300})
junk=(
    --raw-text "0C01S"
    --raw-text "0C02R${id}0" # a setup answer, not a discovery reply
    --raw-text "0C01R${id}1'10.0.0.1','255.0.0.0'"                      # too few apostrophes
    --raw-text "0C01R${id}2'192.168.1.92'\\0${full}"                    # cut short by a zero byte
    --raw-text "0c01R${id}3${full}"                                     # wrong prefix
    --raw-text "0C01R${id}4'192.168.1.94','','','','','${long}','M','1','2','3'" # ends past 320 bytes
    --raw-text "0C01R${id}5$(printf 'A%.0s' {1..400})"
    --raw "ff00fe01fd02fc03"
    --raw-text ""
)
unit junk 192.168.1.90/24 -- "${junk[@]}" --raw-and-reply --identity "${id}9" --delay 100
unit nodisk 192.168.1.91/24 -- --delay 300 \
    --raw-text "0C01R00:80:87:00:00:91'192.168.1.91','255.255.255.0','192.168.1.1','ND','A','',''"
scan
[[ $SCAN_RC == 0 ]] || fail "exit status $SCAN_RC"
assert_scan '
assert j["DeviceCount"] == 2, j["DeviceCount"]
good, nodisk = recs
assert good["MacAddress"] == "00:80:87:00:00:99" and good["HostName"] == "MRV7K2", good
assert nodisk["MacAddress"] == "00:80:87:00:00:91" and nodisk["HostName"] == "ND", nodisk
assert nodisk["DiskModel"] == "", nodisk
assert [nodisk[f] for f in ("DiskAux", "DiskCapacity", "DiskFree")] == ["0", "0", "0"], nodisk
sent = sum(1 for n in ("junk", "nodisk") for l in logs(n) if l["dir"] == "out")
print("datagrams sent", sent, "counted by the scan", j["datagrams"])
assert j["datagrams"] >= sent - 1, (sent, j["datagrams"])
'
echo "PASS: malformed datagrams ignored"
