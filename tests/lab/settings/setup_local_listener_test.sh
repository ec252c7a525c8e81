#!/usr/bin/env bash
# The system hands every broadcast to the PC's own listeners as well: another
# user's program listening on the units' request port 12311 on the PC gets no
# setup request (nothing is sent), and the error box names it and its user.
# With the port free, the unit gets exactly one request, and its answer
# counts, not the refusal the same program keeps sending to the PC's reply
# port from inside the PC.
source "$(dirname "$0")/common.sh"
lab_up "$P" || exit 1
lab_host "$P" u1 192.168.1.50/24 192.168.1.1 || exit 1
# The unit answers late, so that the refusal sent from inside the PC comes first.
start_unit u1 --identity 00:11:22:33:44:55 --ip 192.168.1.50 --user admin --password secret \
    --setup-delay 300
chmod 711 "$WORK"
mkdir -m 1777 "$WORK/shared"
lab_exec_nobody "$P" pc /usr/bin/python3 "$MRV_SOURCE_DIR/tests/lab/discovery/udp_peer.py" hold 12311 60 \
    "$WORK/shared/ready" "$WORK/shared/heard" &
listener=$!
for _ in $(seq 50); do
    [[ -e $WORK/shared/ready ]] && break
    sleep 0.1
done
[[ -e $WORK/shared/ready ]] || fail "the listener did not start"

setup() { # setup OUT: the manual change of the unit's address
    drive "$1" --identity 00:11:22:33:44:55 --manual 192.168.1.60 255.255.255.0 192.168.1.1 \
        --user admin --password secret
}
setup "$WORK/held.json"
text="UDPポート12311をこのPCの他のプログラムが使用しています。\\n設定要求にはパスワードが含まれるため、送信しませんでした。\\n使用中のプログラム: python3\\n使用中のユーザー: nobody"
check "port held: the box names the listener" \
    "d['boxes'] == [{'title': 'エラー', 'text': '$text'}] and d['dialogOpen']" "$WORK/held.json"
setup_requests u1 >"$WORK/requests.json"
check "port held: the unit got no request" 'd == []' "$WORK/requests.json"
python3 -c 'import json, sys; print(json.dumps([l.strip() for l in open(sys.argv[1])]))' \
    "$WORK/shared/heard" >"$WORK/heard.json"
check "port held: the listener heard the scan but no setup request" \
    'd and not [h for h in d if bytes.fromhex(h).startswith(b"0C02S")]' "$WORK/heard.json"

kill "$(cat "$WORK/shared/ready")"
wait "$listener" 2>/dev/null
refusal=$(printf '0C02R00:11:22:33:44:550' | xxd -p)
for to in 127.0.0.1 192.168.1.37; do
    lab_exec_nobody "$P" pc /usr/bin/python3 "$MRV_SOURCE_DIR/tests/lab/discovery/udp_peer.py" \
        send "$refusal" "$to" 12310 15 &
done
setup "$WORK/free.json"
check "port free: accepted" 'd["accepted"]' "$WORK/free.json"
setup_requests u1 >"$WORK/requests.json"
check "port free: exactly one request" 'len(d) == 1' "$WORK/requests.json"
checks_done
