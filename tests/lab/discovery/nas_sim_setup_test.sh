#!/usr/bin/env bash
# nas-sim as the setup peer the settings tests rely on: it answers only requests
# naming its identity, refuses wrong credentials and malformed requests, and on an
# accepted request answers "2" and really takes the new address.
source "$(dirname "$0")/labtest.sh"
new_lab
id=00:80:87:00:00:55
unit u 192.168.1.55/24 192.168.1.1 -- --identity "$id" --ip 192.168.1.55 --user admin \
    --password "pa;ss" --on-setup address

# exchange NAME TEXT: broadcasts TEXT (CP932) from the PC, answers in $WORK/NAME.replies.
# Returns once the unit has answered a discovery request sent after TEXT, so it
# has dealt with TEXT (answered it, taken a new address) by then.
exchange() {
    local hex
    hex=$("$PY" -c 'import sys; print(sys.argv[1].encode("cp932").hex())' "$2")
    lab_exec "$P" pc "$PY" "$HERE/udp_peer.py" exchange "$hex" 5000 >"$WORK/$1.replies" ||
        fail "exchange $1"
}
exchange other "0C02S00:80:87:00:00:56192.168.1.78;255.255.255.0;192.168.1.1;H;A;;admin;pa;ss"
exchange badpw "0C02S${id}192.168.1.78;255.255.255.0;192.168.1.1;H;A;;admin;pass"
exchange short "0C02S${id}192.168.1.78;255.255.255.0"
exchange badmask "0C02S${id}192.168.1.78;255.0.255.0;192.168.1.1;H;A;;admin;pa;ss"
exchange good "0C02S${id}192.168.1.77;255.255.255.0;192.168.1.1;ナス;A;;admin;pa;ss"
scan
[[ $SCAN_RC == 0 ]] || fail "exit status $SCAN_RC"
addrs=$(lab_exec "$P" u ip -4 -o addr show dev eth0)
assert_scan '
def replies(name):
    return [json.loads(l) for l in open(os.path.join(work, name + ".replies"))]
def status(name):
    r = [bytes.fromhex(x["hex"]) for x in replies(name)]
    assert len(r) == 1, (name, r)
    assert r[0][:22] == b"0C02R00:80:87:00:00:55" and len(r[0]) == 23, r[0]
    return r[0][22:23]
assert replies("other") == [], replies("other")
assert status("badpw") == b"0" and status("short") == b"0" and status("badmask") == b"0"
assert status("good") == b"2"
assert j["DeviceCount"] == 1 and recs[0]["IpAddress"] == "192.168.1.77", recs
setups = [bytes.fromhex(l["hex"]) for l in logs("u") if l["dir"] == "in" and l["hex"].startswith("3043303253")]
assert setups[-1] == "0C02S00:80:87:00:00:55192.168.1.77;255.255.255.0;192.168.1.1;ナス;A;;admin;pa;ss".encode("cp932"), setups[-1]
taken = [l for l in logs("u") if "address_taken" in l]
assert [l["address_taken"] for l in taken] == ["192.168.1.77"], taken
'
[[ $addrs == *"192.168.1.77/24"* && $addrs != *"192.168.1.55"* ]] ||
    fail "the unit did not take the new address: $addrs"
echo "PASS: nas-sim setup peer"
