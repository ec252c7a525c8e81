#!/usr/bin/env bash
# A unit that takes the request but never answers: after the full 30 s wait
# the failure message, and the dialog stays open and idle.
source "$(dirname "$0")/common.sh"
lab_up "$P" || exit 1
lab_host "$P" u1 192.168.1.50/24 192.168.1.1 || exit 1
start_unit u1 --identity 00:11:22:33:44:88 --ip 192.168.1.50 --no-setup-reply

drive "$WORK/silent.json" --identity 00:11:22:33:44:88 \
    --manual 192.168.1.61 255.255.255.0 192.168.1.1 --user admin --password password
check "failure after 30 s" \
    'd["boxes"] == [{"title": "Error", "text": "NASセットアップ失敗"}] and 30000 <= d["resultMs"] <= 36000' \
    "$WORK/silent.json"
check "dialog open and idle" 'd["dialogOpen"] and d["buttonsEnabled"] and not d["accepted"]' \
    "$WORK/silent.json"
setup_requests u1 >"$WORK/requests.json"
check "the request went out once" 'len(d) == 1' "$WORK/requests.json"
checks_done
