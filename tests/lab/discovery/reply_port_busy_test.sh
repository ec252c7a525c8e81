#!/usr/bin/env bash
# Another program holds UDP 12310 on the PC: the scan still runs its 3000 ms, then
# says so (exit 3, the message on stderr, JSON still printed) instead of presenting
# an empty network; nothing crashes.
source "$(dirname "$0")/labtest.sh"
new_lab
unit u 192.168.1.50/24 -- --identity 00:80:87:00:00:50
lab_exec "$P" pc "$PY" "$HERE/udp_peer.py" hold 12310 60 "$WORK/held" &
for ((i = 0; i < 100; i++)); do
    [[ -e $WORK/held ]] && break
    sleep 0.05
done
[[ -e $WORK/held ]] || fail "could not occupy the reply port"
scan
[[ $SCAN_RC == 3 ]] || fail "exit status $SCAN_RC, expected 3; stderr: $(cat "$WORK/scan.err")"
check '
assert j["replyPortFailed"] is True, j
assert j["DeviceCount"] == 0 and recs == [], j
msg = "UDPポート12310を使用できません。\n他のプログラムが使用していないか確認してください。"
assert msg in err, err
'
((SCAN_MS >= MIN_SCAN_MS)) || fail "the scan ended early (${SCAN_MS} ms)"
echo "PASS: busy reply port reported (${SCAN_MS} ms)"
