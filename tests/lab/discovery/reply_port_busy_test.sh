#!/usr/bin/env bash
# Another user's program holds UDP 12310 on the PC: the scan still runs its
# 3000 ms, then says so, naming that program and its user (exit 3, the message
# on stderr, JSON still printed) instead of presenting an empty network;
# nothing crashes.
source "$(dirname "$0")/labtest.sh"
new_lab
unit u 192.168.1.50/24 -- --identity 00:80:87:00:00:50
shared_dir
lab_exec_nobody "$P" pc "$PY" "$HERE/udp_peer.py" hold 12310 60 "$SHARED/held" &
wait_file "$SHARED/held" || fail "could not occupy the reply port"
scan
[[ $SCAN_RC == 3 ]] || fail "exit status $SCAN_RC, expected 3; stderr: $(cat "$WORK/scan.err")"
assert_scan '
assert j["replyPortFailed"] is True, j
assert j["DeviceCount"] == 0 and recs == [], j
msg = "UDPポート12310を使用できません。\n他のプログラムが使用していないか確認してください。"
assert msg + "\n使用中のプログラム: python3\n使用中のユーザー: nobody" in err, err
'
((SCAN_MS >= MIN_SCAN_MS)) || fail "the scan ended early (${SCAN_MS} ms)"
echo "PASS: busy reply port reported (${SCAN_MS} ms)"
