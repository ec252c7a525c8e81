#!/usr/bin/env bash
# Automatic mode where every candidate of the PC's /29 answers: the
# no-free-address message, nothing sent, the dialog idle again. Prints the
# search's duration per candidate.
source "$(dirname "$0")/common.sh"
lab_up "$P" --pc 192.168.1.2/29 || exit 1
for a in 3 4 5 6; do
    lab_addr "$P" gw 192.168.1.$a/29 || exit 1
done
lab_host "$P" u1 10.0.0.5/24 || exit 1
start_unit u1 --identity 00:11:22:33:44:77 --ip 10.0.0.5 --gateway 10.0.0.1 --on-setup report

drive "$WORK/taken.json" --identity 00:11:22:33:44:77 --auto --user admin --password password
check "all six candidates probed" \
    'd["probed"] == ["192.168.1.%d" % n for n in range(1, 7)]' "$WORK/taken.json"
check "the no-free-address message" \
    'd["boxes"] == [{"title": "エラー", "text": "使用している範囲のIPを検出できません。"}]' \
    "$WORK/taken.json"
check "dialog open, buttons back" 'd["dialogOpen"] and d["buttonsEnabled"]' "$WORK/taken.json"
setup_requests u1 >"$WORK/requests.json"
check "nothing sent" 'd == []' "$WORK/requests.json"
python3 -c "import json; d=json.load(open('$WORK/taken.json')); print('search over %d taken candidates: %d ms (%.0f ms each)' % (len(d['probed']), d['resultMs'], d['resultMs'] / len(d['probed'])))"
checks_done
