#!/usr/bin/env bash
# A PC on two LANs with a unit on each: the setup request, which carries the
# password in clear, goes out only through the adapter the chosen unit's reply
# came in by. The unit on the other LAN hears every discovery request and no
# setup request, in both directions (the default route's LAN and the other).
# A record that does not know its adapter sends nothing, not even by the
# default route: the dialog times out.
# A unit outside every subnet heard on the second LAN is offered an address,
# mask and gateway of that LAN.
source "$(dirname "$0")/common.sh"
lab_up "$P" || exit 1
lab_host "$P" pc 192.168.2.37/24 192.168.2.1 --segment 2 || exit 1
lab_host "$P" u1 192.168.1.50/24 192.168.1.1 || exit 1
lab_host "$P" u2 192.168.2.50/24 --segment 2 || exit 1
lab_host "$P" gw2 192.168.2.1/24 none --segment 2 || exit 1
lab_host "$P" u3 10.0.0.7/24 --segment 2 || exit 1
start_unit u1 --identity 00:11:22:33:44:01 --ip 192.168.1.50 --password one
# Broadcast replies: the arrival is read from a broadcast, not a unicast.
start_unit u2 --identity 00:11:22:33:44:02 --ip 192.168.2.50 --password two \
    --broadcast --setup-broadcast

heard() { # heard NAME PREFIX: how many datagrams beginning PREFIX the unit received
    python3 - "$WORK/$1.log" "$2" <<'PY'
import json, sys
n = sum(1 for line in open(sys.argv[1])
        if (e := json.loads(line)).get("dir") == "in"
        and bytes.fromhex(e["hex"]).startswith(sys.argv[2].encode()))
print(json.dumps(n))
PY
}

# The unit on the default route's LAN.
drive "$WORK/one.json" --identity 00:11:22:33:44:01 \
    --manual 192.168.1.60 255.255.255.0 192.168.1.1 --user admin --password one
check "LAN 1 unit: accepted" 'd["accepted"]' "$WORK/one.json"
heard u1 0C02S >"$WORK/u1-setup.json"
heard u2 0C02S >"$WORK/u2-setup.json"
heard u2 0C01S >"$WORK/u2-scan.json"
check "LAN 1 unit: one setup request" 'd == 1' "$WORK/u1-setup.json"
check "LAN 2 unit: heard the scan" 'd >= 1' "$WORK/u2-scan.json"
check "LAN 2 unit: heard no setup request" 'd == 0' "$WORK/u2-setup.json"

# The unit behind the second adapter, which the default route does not use.
drive "$WORK/two.json" --identity 00:11:22:33:44:02 \
    --manual 192.168.2.60 255.255.255.0 192.168.2.1 --user admin --password two
check "LAN 2 unit: accepted" 'd["accepted"]' "$WORK/two.json"
heard u1 0C02S >"$WORK/u1-setup.json"
heard u2 0C02S >"$WORK/u2-setup.json"
check "LAN 2 unit: one setup request" 'd == 1' "$WORK/u2-setup.json"
check "LAN 1 unit: no second setup request" 'd == 1' "$WORK/u1-setup.json"

drive "$WORK/unknown.json" --identity 00:11:22:33:44:02 --forget-arrival --reply-wait 2000 \
    --manual 192.168.2.61 255.255.255.0 192.168.2.1 --user admin --password two
check "adapter unknown: times out" \
    'd["boxes"] == [{"title": "Error", "text": "NASセットアップ失敗"}]' "$WORK/unknown.json"
heard u1 0C02S >"$WORK/u1-setup.json"
heard u2 0C02S >"$WORK/u2-setup.json"
check "adapter unknown: no request on either LAN" 'd == 1' "$WORK/u1-setup.json"
check "adapter unknown: no request on either LAN" 'd == 1' "$WORK/u2-setup.json"
start_unit u3 --identity 00:11:22:33:44:03 --ip 10.0.0.7 --gateway 10.0.0.1 --password three
drive "$WORK/three.json" --identity 00:11:22:33:44:03 --auto --user admin --password three
check "LAN 2 stray unit: a free address, mask and gateway of LAN 2" \
    'd["unitOutsideSubnet"] and d["probed"][0] == "192.168.2.1" and d["NewAddress"].startswith("192.168.2.") and d["NewMask"] == "255.255.255.0" and d["NewGateway"] == "192.168.2.1"' \
    "$WORK/three.json"
checks_done
