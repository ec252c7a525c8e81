#!/usr/bin/env bash
# The echo client against real hosts in a lab of network namespaces: as root
# (raw socket) and as an unprivileged user (ICMP datagram socket), answers,
# silence, router errors, localhost, the measured wait for a silent address,
# and a flood of foreign ICMP that outlasts what one wait may read, which
# must not make a silent address pass for free.
# Usage: icmp_echo_test.sh PATH/TO/icmp-echo-tool
set -u
tool=$1
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
lab_check || exit 77
P=$(lab_prefix) || exit 1
# The unprivileged user may not be able to reach the build tree: give it a
# copy of the tool where anyone can run it.
userdir=$(mktemp -d /tmp/probe-tool.XXXXXX) || exit 1
trap 'lab_down "$P"; rm -rf "$userdir"' EXIT
chmod 755 "$userdir" && cp "$tool" "$userdir/" && chmod 755 "$userdir/${tool##*/}" || exit 1
usertool=$userdir/${tool##*/}
# No unprivileged ICMP sockets at first, root's neither: root takes the raw one.
lab_up "$P" || exit 1

source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"

as_root() { lab_exec "$P" pc timeout 20 "$tool" "$@"; }
as_user() {
    lab_exec "$P" pc timeout 20 setpriv --reuid=65534 --regid=65534 --clear-groups "$usertool" "$@"
}

# A host that answers ARP but never echo: a free address for the probe, and
# unlike an absent one no "host unreachable" comes back seconds later.
lab_host "$P" quiet 192.168.1.60/24 || exit 1
lab_mute "$P" quiet || exit 1
# The gateway routes 192.0.2.0/24 nowhere (destination unreachable), and
# 198.51.100.0/24 in a loop with r2 until the time-to-live runs out.
lab_host "$P" r2 192.168.1.2/24 192.168.1.1 || exit 1
for h in gw r2; do
    lab_exec "$P" $h sysctl -qw net.ipv4.ip_forward=1 || exit 1
done
lab_exec "$P" gw ip route add unreachable 192.0.2.0/24 || exit 1
lab_exec "$P" gw ip route add 198.51.100.0/24 via 192.168.1.2 || exit 1
lab_exec "$P" r2 ip route add 198.51.100.0/24 via 192.168.1.1 || exit 1
# 203.0.113.0/24 goes from the gateway back out to r2: the gateway tells the PC
# so with a redirect (type 5), which is no answer the client accepts.
lab_exec "$P" gw ip route add 203.0.113.0/24 via 192.168.1.2 || exit 1
lab_exec "$P" r2 ip route add unreachable 203.0.113.0/24 || exit 1
# The PC hears redirects but must not follow them, or the second run would go
# straight to r2.
for c in all eth0; do
    lab_exec "$P" pc sysctl -qw net.ipv4.conf.$c.accept_redirects=0 || exit 1
done

redirects() {
    for h in gw r2; do
        for c in all eth0; do
            lab_exec "$P" $h sysctl -qw net.ipv4.conf.$c.send_redirects=$1
        done
    done
}

# Prints, as JSON, the first echo request from the PC that the gateway sees.
sniff_request() {
    lab_exec "$P" gw timeout 10 python3 -c '
import json, socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_ICMP)
s.settimeout(8)
open(sys.argv[1], "w").close()
while True:
    d, a = s.recvfrom(2048)
    h = (d[0] & 15) * 4
    if a[0] == "192.168.1.37" and d[h] == 8:
        m = d[h:]
        total = sum(m[i] << 8 | m[i + 1] for i in range(0, len(m) - 1, 2))
        while total > 0xFFFF:
            total = (total & 0xFFFF) + (total >> 16)
        print(json.dumps({"ttl": d[8], "size": len(m), "id": m[4] | m[5] << 8,
                          "seq": m[6] | m[7] << 8, "sumOk": total == 0xFFFF,
                          "tail": m[12:20] == bytes(8) and m[20:] == b"E" * 32}))
        break
' "$1"
}

run_cases() { # who socket-kind
    local who=$1 kind=$2 out ready sniffed
    echo "== $who ($kind socket)"

    # Two echoes to the gateway: answered, numbered 0 and 1; the first request
    # as the gateway saw it.
    ready=$(mktemp -u)
    sniffed=$(mktemp)
    sniff_request "$ready" >"$sniffed" &
    for ((i = 0; i < 100; i++)); do
        [[ -e $ready ]] && break
        sleep 0.05
    done
    out=$($who --host 192.168.1.1 --timeout 1000 --count 2)
    wait
    local pid
    pid=$(python3 -c 'import json,sys; print(json.loads(sys.argv[1])["pid"])' "$(sed -n 1p <<<"$out")")
    check_json "$who request on the wire" "d['ttl']==128 and d['size']==52 and
        d['id']==($pid & 0xFFFF) and d['seq']==0 and d['sumOk'] and d['tail']" "$(<$sniffed)"
    rm -f "$ready" "$sniffed"
    local first second
    first=$(sed -n 1p <<<"$out")
    second=$(sed -n 2p <<<"$out")
    check_json "$who gateway" "d['Status']==0 and d['ByteCount']==72 and
        d['FromAddress']=='192.168.1.1' and d['MessageType']==0 and d['TimeToLive']==64 and
        d['SequenceNumber']==0 and d['sent']==0 and d['replies']==1 and d['socket']=='$kind' and
        0 <= d['ReplyTimeMs'] < 1000" "$first"
    check_json "$who gateway again" "d['Status']==0 and d['SequenceNumber']==1 and
        d['replies']==2" "$second"

    # A silent address: timed out after about the wait, the next number.
    out=$($who --host 192.168.1.60 --timeout 100)
    check_json "$who silent" "d['Status']==2 and d['ByteCount']==0 and
        d['FromAddress']=='0.0.0.0' and d['MessageType']==0 and d['TimeToLive']==0 and
        d['ReplyTimeMs']==0 and d['sent']==0 and d['SequenceNumber']==1 and d['replies']==1 and
        99 <= d['waitMs'] < 400" "$out"

    # "localhost" in any case is 127.0.0.1 (a raw socket may see our own
    # request first: type 8 counts as an echo too).
    out=$($who --host LocalHost --timeout 1000)
    check_json "$who localhost" "d['Status']==0 and d['FromAddress']=='127.0.0.1' and
        d['ByteCount']==72 and d['MessageType'] in (0, 8)" "$out"

    # The gateway reports the destination unreachable: status 3, the router's address.
    out=$($who --host 192.0.2.5 --timeout 1000)
    check_json "$who unreachable" "d['Status']==3 and d['MessageType']==3 and
        d['FromAddress']=='192.168.1.1' and d['ByteCount']>=56" "$out"

    # A routing loop: time exceeded from one of the two routers.
    redirects 0
    out=$($who --host 198.51.100.7 --timeout 1000)
    check_json "$who time exceeded" "d['Status']==4 and d['MessageType']==11 and
        d['FromAddress'] in ('192.168.1.1', '192.168.1.2')" "$out"

    # A redirect arrives first: no answer to our request, so it is passed
    # over and the unreachable message of r2, where the gateway sent the
    # request on, decides.
    redirects 1
    out=$($who --host 203.0.113.9 --timeout 1000)
    check_json "$who redirect" "d['Status']==3 and d['FromAddress']=='192.168.1.2'" "$out"
}

run_cases as_root raw
lab_ping_group "$P" pc || exit 1
run_cases as_user datagram
# Where the unprivileged socket is allowed, root takes it too.
out=$(as_root --host 192.168.1.1 --timeout 1000)
check_json "root with ping group" "d['Status']==0 and d['socket']=='datagram'" "$out"

# Unprivileged where the namespace allows no ICMP sockets to anyone's group.
lab_ping_group "$P" pc "1 0" || exit 1
out=$(as_user --host 192.168.1.1 --timeout 100)
check_json "user without ping group" "d.get('class')=='EInvalidSocket' and
    d['error']=='Cannot allocate socket.'" "$out"
# Root still has the raw socket.
out=$(as_root --host 192.168.1.1 --timeout 1000)
check_json "root without ping group" "d['Status']==0 and d['socket']=='raw'" "$out"

# The wait for a free address as the settings dialog probes it: 20 echoes
# with a 100 ms wait, each to be timed out.
out=$(as_root --host 192.168.1.60 --timeout 100 --count 20)
SCRIPT_TEST_CHECKS=$((SCRIPT_TEST_CHECKS + 1))
if ! python3 - "$out" <<'PY'; then
import json, statistics, sys
rows = [json.loads(line) for line in sys.argv[1].splitlines()]
waits = sorted(r["waitMs"] for r in rows)
ok = len(rows) == 20 and all(r["Status"] == 2 for r in rows)
print("free-address wait over %d echoes (ms): median %.1f, worst %.1f, best %.1f"
      % (len(rows), statistics.median(waits), waits[-1], waits[0]))
sys.exit(0 if ok and waits[0] >= 99 and waits[-1] < 400 else 1)
PY
    count_fail "free-address wait: $out"
fi

# A negative wait means no wait, never an endless one.
out=$(as_root --host 192.168.1.60 --timeout -1)
check_json "negative wait" "d['Status']==2 and d['waitMs'] < 50" "$out"

# Nobody at all at the address (no ARP answer): the same timed-out record.
out=$(as_root --host 192.168.1.200 --timeout 100)
check_json "absent address" "d['Status']==2 and d['FromAddress']=='0.0.0.0'" "$out"

# More foreign ICMP than one wait reads: the address counts as answered.
# Mostly echo replies (foreign identifiers), which the raw socket's filter lets through.
lab_host "$P" noisy 192.168.1.90/24 || exit 1
stop=$userdir/stop
NOISE_SOURCE=192.168.1.90 lab_exec "$P" noisy timeout 30 python3 \
    "$MRV_SOURCE_DIR/tests/lab/settings/icmp_noise.py" 192.168.1.37 "$stop" 30 \
    $(seq -f '192.168.1.%g' 61 80) >"$userdir/noise.count" &
noise=$!
sleep 0.5
out=$(as_root --host 192.168.1.60 --timeout 5000)
touch "$stop"
wait "$noise"
echo "flood: $(cat "$userdir/noise.count") datagrams sent; the echo: $out"
check_json "flood longer than the budget" "d['Status']==0 and d['FromAddress']=='192.168.1.60'" "$out"

checks_done
