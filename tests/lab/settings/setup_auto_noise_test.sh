#!/usr/bin/env bash
# Automatic mode while another host floods the PC with ICMP that answers none
# of its probes: the search passes over all of it and picks the address it
# picks in quiet, on the raw socket and on the unprivileged one. .1 answers,
# .2 answers ARP only (taken all the same), .3 is free.
source "$(dirname "$0")/common.sh"
lab_up "$P" || exit 1
lab_host "$P" mute 192.168.1.2/24 192.168.1.1 || exit 1
lab_mute "$P" mute || exit 1
lab_host "$P" noisy 192.168.1.70/24 192.168.1.1 || exit 1

# auto OUT: one automatic setup of a fresh unit (a unit reports the address
# it was given from then on).
runs=0
auto() {
    runs=$((runs + 1))
    lab_host "$P" "u$runs" "10.0.0.$((4 + runs))/24" || exit 1
    start_unit "u$runs" --identity "00:11:22:33:44:6$runs" --ip "10.0.0.$((4 + runs))" \
        --gateway 10.0.0.1 --user admin --password secret
    drive "$1" --identity "00:11:22:33:44:6$runs" --auto --user admin --password secret
}

# with_noise OUT: auto OUT while the noisy host floods the PC.
with_noise() {
    local stop=$WORK/stop
    rm -f "$stop"
    NOISE_SOURCE=192.168.1.70 lab_exec "$P" noisy timeout 60 python3 \
        "$MRV_SOURCE_DIR/tests/lab/settings/icmp_noise.py" 192.168.1.37 "$stop" 50 \
        192.168.1.2 192.168.1.3 192.168.1.4 >"$WORK/noise.count" 2>"$WORK/noise.err" &
    local noise=$!
    sleep 0.5
    auto "$1"
    touch "$stop"
    wait "$noise"
    echo "noise datagrams sent: $(cat "$WORK/noise.count") $(cat "$WORK/noise.err")"
}

for socket in raw datagram; do
    # A new namespace lets no group open the unprivileged socket, root's neither.
    [[ $socket == datagram ]] && { lab_ping_group "$P" pc || exit 1; }
    auto "$WORK/quiet-$socket.json"
    check "$socket quiet: .3 is free" \
        'd["probed"] == ["192.168.1.1", "192.168.1.2", "192.168.1.3"] and d["NewAddress"] == "192.168.1.3"' \
        "$WORK/quiet-$socket.json"
    with_noise "$WORK/noisy-$socket.json"
    check "$socket under noise: the same search, no error box" \
        '(d["probed"] == ["192.168.1.1", "192.168.1.2", "192.168.1.3"] and d["NewAddress"] == "192.168.1.3"
          and d["boxes"] == [{"title": "OK", "text": "NASセットアップ成功"}])' \
        "$WORK/noisy-$socket.json"
done
checks_done
