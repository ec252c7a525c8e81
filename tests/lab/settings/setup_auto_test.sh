#!/usr/bin/env bash
# Automatic mode for a unit outside the PC's subnet: .1 (the gateway) answers
# ping, .2 drops ping but answers ARP, .3 is free. The unit gets .3 with the
# PC's mask and gateway, and a new scan finds it inside the subnet.
source "$(dirname "$0")/common.sh"
lab_up "$P" || exit 1
lab_host "$P" mute 192.168.1.2/24 192.168.1.1 || exit 1
lab_mute "$P" mute || exit 1
lab_host "$P" u1 10.0.0.5/24 || exit 1
start_unit u1 --identity 00:11:22:33:44:66 --ip 10.0.0.5 --gateway 10.0.0.1 \
    --user admin --password secret --on-setup address

drive "$WORK/auto.json" --identity 00:11:22:33:44:66 --auto --user admin --password secret
check "unit seen outside the subnet" 'd["unitOutsideSubnet"] and d["automatic"]' "$WORK/auto.json"
check "probed .1 (answers), .2 (ARP only), then .3" \
    'd["probed"] == ["192.168.1.1", "192.168.1.2", "192.168.1.3"]' "$WORK/auto.json"
check "the PC's mask and gateway with the free address" \
    'd["NewAddress"] == "192.168.1.3" and d["NewMask"] == "255.255.255.0" and d["NewGateway"] == "192.168.1.1"' \
    "$WORK/auto.json"
check "success, dialog closed with OK" \
    'd["accepted"] and d["boxes"] == [{"title": "OK", "text": "NASセットアップ成功"}]' \
    "$WORK/auto.json"

setup_requests u1 >"$WORK/requests.json"
expected=$(printf '0C02S00:11:22:33:44:66192.168.1.3;255.255.255.0;192.168.1.1;MRV7K2;WORKGROUP;;admin;secret' | xxd -p | tr -d '\n')
check "one request, carrying the free address" "d == ['$expected']" "$WORK/requests.json"

lab_exec "$P" pc "$FIND" --json >"$WORK/rescan.json"
check "rescan finds the unit at .3, inside the subnet" \
    'd["records"][0]["IpAddress"] == "192.168.1.3" and d["records"][0]["OtherSubnet"] == 0' \
    "$WORK/rescan.json"
checks_done
