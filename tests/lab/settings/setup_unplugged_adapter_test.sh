#!/usr/bin/env bash
# A PC whose first adapter lost its link (NO-CARRIER, still UP, keeping its
# address and the default route) and whose second adapter works: the working
# adapter is the PC's, the units behind it are listed inside its subnet, and a
# unit outside the subnet gets a free address through it.
source "$(dirname "$0")/common.sh"
lab_up "$P" --pc 10.9.9.9/24 --gateway 10.9.9.1 || exit 1
lab_host "$P" pc 192.168.1.37/24 192.168.1.1 --segment 2 || exit 1
lab_host "$P" gw2 192.168.1.1/24 none --segment 2 || exit 1
lab_host "$P" inside 192.168.1.50/24 --segment 2 || exit 1
lab_host "$P" remote 10.0.0.5/24 --segment 2 || exit 1
start_unit inside --identity 00:11:22:33:44:50 --ip 192.168.1.50
start_unit remote --identity 00:11:22:33:44:66 --ip 10.0.0.5 --gateway 10.0.0.1 \
    --user admin --password secret --on-setup address
lab_unplug "$P" pc eth0 || exit 1

lab_exec "$P" pc "$FIND" --json >"$WORK/scan.json"
check "the working adapter is the PC's" \
    'd["NetworkState"] == 0 and (d["PcIpAddress"], d["PcGateway"]) == ("192.168.1.37", "192.168.1.1")' \
    "$WORK/scan.json"
check "both units listed, the one in the subnet inside it" \
    'sorted((r["MacAddress"], r["OtherSubnet"]) for r in d["records"]) == [("00:11:22:33:44:50", 0), ("00:11:22:33:44:66", 1)]' \
    "$WORK/scan.json"

drive "$WORK/auto.json" --identity 00:11:22:33:44:66 --auto --user admin --password secret
check "automatic change through the working adapter succeeds" \
    'd["NewAddress"] == "192.168.1.2" and d["accepted"] and d["boxes"] == [{"title": "OK", "text": "NASセットアップ成功"}]' \
    "$WORK/auto.json"
python3 - "$WORK/remote.log" >"$WORK/sources.json" <<'PY'
import json, sys
print(json.dumps(sorted({e["peer"].split(":")[0] for e in map(json.loads, open(sys.argv[1]))
                         if e.get("dir") == "in"})))
PY
check "every request reached the unit from the working adapter" 'd == ["192.168.1.37"]' \
    "$WORK/sources.json"
checks_done
