#!/usr/bin/env bash
# Manual mode against a unit in the PC's subnet: a wrong password is refused
# and the dialog stays open; the right one (a Japanese user name, in CP932)
# is accepted, the request carries exactly the typed values, and a new scan
# finds the unit at its new address.
source "$(dirname "$0")/common.sh"
lab_up "$P" || exit 1
lab_host "$P" u1 192.168.1.50/24 192.168.1.1 || exit 1
start_unit u1 --identity 00:11:22:33:44:55 --ip 192.168.1.50 --host "ナス１" \
    --host-aux "" --user "管理者" --password secret --on-setup address

drive "$WORK/wrong.json" --identity 00:11:22:33:44:55 \
    --manual 192.168.1.60 255.255.255.0 192.168.1.1 --user "管理者" --password nope
check "wrong password: failure shown" \
    'd["boxes"] == [{"title": "Error", "text": "NASセットアップ失敗"}]' "$WORK/wrong.json"
check "wrong password: dialog open and idle" \
    'd["dialogOpen"] and not d["accepted"] and d["buttonsEnabled"] and d["probed"] == []' \
    "$WORK/wrong.json"

drive "$WORK/right.json" --identity 00:11:22:33:44:55 \
    --manual 192.168.1.60 255.255.255.0 192.168.1.1 --user "管理者" --password secret
check "right password: success, dialog closed with OK" \
    'd["accepted"] and d["boxes"] == [{"title": "OK", "text": "NASセットアップ成功"}]' \
    "$WORK/right.json"

setup_requests u1 >"$WORK/requests.json"
# host name "ナス１" and user "管理者" in CP932; empty second host value.
expected=$(printf '0C02S00:11:22:33:44:55192.168.1.60;255.255.255.0;192.168.1.1;\x83\x69\x83\x58\x82\x50;;;\x8a\xc7\x97\x9d\x8e\xd2;secret' | xxd -p | tr -d '\n')
check "request bytes as typed, in CP932" "d[-1] == '$expected' and len(d) == 2" \
    "$WORK/requests.json"

lab_exec "$P" pc "$FIND" --json >"$WORK/rescan.json"
check "rescan shows the new address" \
    'd["DeviceCount"] == 1 and d["records"][0]["IpAddress"] == "192.168.1.60"' \
    "$WORK/rescan.json"
checks_done
