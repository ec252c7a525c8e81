#!/usr/bin/env bash
# A unit that answers the moment the request arrives is found in every one of 20
# scans: the reply socket must be listening before the request goes out.
source "$(dirname "$0")/labtest.sh"
new_lab
unit quick 192.168.1.80/24 -- --identity 00:80:87:00:00:80 --ip 192.168.1.80
found=0
for ((i = 1; i <= 20; i++)); do
    scan
    [[ $SCAN_RC == 0 ]] || fail "scan $i: exit status $SCAN_RC"
    n=$("$PY" -c 'import json,sys; print(json.load(open(sys.argv[1]))["DeviceCount"])' "$WORK/scan.json")
    ((n == 1)) && found=$((found + 1))
done
echo "found in $found of 20 scans"
((found == 20)) || fail "the unit was missed in $((20 - found)) of 20 scans"
echo "PASS: found in 20 scans of 20"
