#!/usr/bin/env bash
# The automatic search as an ordinary user (uid 65534, no groups): with
# unprivileged ICMP sockets allowed; with them refused and cap_net_raw on the
# ICMP helper beside the program, which then keeps no capability once it has
# its socket; and with neither, where the search reports that it cannot
# allocate a socket.
source "$(dirname "$0")/common.sh"
HELPER="$MRV_BUILD_DIR/libexec/mrv7k2-setup/mrv7k2-icmp-helper"
[[ -x $HELPER ]] || { echo "SKIP: $HELPER is not built"; exit 77; }
command -v setcap >/dev/null || { echo "SKIP: no setcap"; exit 77; }

# The driver and the helper where the user can run them, in the installed
# layout: bin/ beside libexec/mrv7k2-setup/.
tree=$(mktemp -d /tmp/mrv-unpriv.XXXXXX) || exit 1
trap 'lab_down "$P"; rm -rf "$WORK" "$tree"' EXIT
mkdir -p "$tree/bin" "$tree/libexec/mrv7k2-setup"
cp "$DRIVER" "$tree/bin/" && cp "$HELPER" "$tree/libexec/mrv7k2-setup/" || exit 1
chmod -R a+rX "$tree"
helper=$tree/libexec/mrv7k2-setup/mrv7k2-icmp-helper

lab_up "$P" || exit 1
lab_host "$P" mute 192.168.1.2/24 192.168.1.1 || exit 1
lab_mute "$P" mute || exit 1

# as_user OUT: the automatic setup of a fresh unit (a unit reports the address
# it was given from then on) as uid 65534.
runs=0
as_user() {
    runs=$((runs + 1))
    lab_host "$P" "u$runs" "10.0.0.$((4 + runs))/24" || exit 1
    start_unit "u$runs" --identity "00:11:22:33:44:6$runs" --ip "10.0.0.$((4 + runs))" \
        --gateway 10.0.0.1 --user admin --password secret
    lab_exec "$P" pc setpriv --reuid=65534 --regid=65534 --clear-groups \
        "$tree/bin/form3-lab-driver" --identity "00:11:22:33:44:6$runs" --auto --user admin \
        --password secret >"$1" 2>"$1.err" || fail "driver: $(cat "$1.err")"
}

# helper_caps OUT: while the driver runs, the capability lines of the running
# helper (bounded: 15 s).
helper_caps() {
    for _ in $(seq 150); do
        pid=$(pgrep -f "^$tree/bin/../libexec/mrv7k2-setup/mrv7k2-icmp-helper" | head -n 1)
        if [[ -n $pid ]]; then
            sleep 0.5 # past its start-up, while the driver still probes
            grep -E '^Cap(Eff|Prm|Inh|Amb)' "/proc/$pid/status" >"$1"
            return
        fi
        sleep 0.1
    done
}

lab_ping_group "$P" pc || exit 1
as_user "$WORK/ping.json"
check "ping sockets allowed: .1 and .2 (ARP) taken, .3 chosen" \
    'd["probed"] == ["192.168.1.1", "192.168.1.2", "192.168.1.3"] and d["NewAddress"] == "192.168.1.3" and d["accepted"]' \
    "$WORK/ping.json"

lab_ping_group "$P" pc "1 0" || exit 1
setcap cap_net_raw+ep "$helper" || exit 1
helper_caps "$WORK/caps" &
sampler=$!
as_user "$WORK/helper.json"
wait "$sampler"
check "refused, helper with cap_net_raw: the same search" \
    'd["probed"] == ["192.168.1.1", "192.168.1.2", "192.168.1.3"] and d["NewAddress"] == "192.168.1.3" and d["accepted"]' \
    "$WORK/helper.json"
if [[ -s $WORK/caps ]] && ! grep -qv ':\s*0000000000000000$' "$WORK/caps"; then
    echo "PASS: the running helper holds no capability"
else
    count_fail "the helper's capabilities: $(cat "$WORK/caps" 2>/dev/null)"
fi

setcap -r "$helper" || exit 1
as_user "$WORK/none.json"
check "neither: the socket cannot be allocated, nothing is sent" \
    '(d["probed"] == ["192.168.1.1"] and not d["accepted"]
      and d["boxes"] == [{"title": "エラー", "text": "Cannot allocate socket."}])' "$WORK/none.json"
setup_requests u3 >"$WORK/requests.json"
check "nothing sent" 'd == []' "$WORK/requests.json"
checks_done
