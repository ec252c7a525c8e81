#!/usr/bin/env bash
# Another user on the PC answers the scan as a unit: a simulated unit run by
# nobody inside the PC itself, first with the real unit's identity and another
# address (its reply comes in by loopback), then by broadcast with an identity
# of its own (from the PC's own address, in by the LAN adapter). Neither is
# listed; the real unit is, at its own address, every time.
source "$(dirname "$0")/labtest.sh"
new_lab
# The real unit answers late, so that the impersonator's reply comes first.
unit u 192.168.1.50/24 -- --identity 00:80:87:00:00:50 --ip 192.168.1.50 --delay 300
shared_dir
for fake in "--identity 00:80:87:00:00:50 --ip 192.168.1.66" \
    "--identity 00:80:87:00:00:66 --ip 192.168.1.66 --broadcast"; do
    rm -f "$SHARED"/fake.*
    # shellcheck disable=SC2086 # the options are words
    lab_exec_nobody "$P" pc "$NAS_SIM" --ready-file "$SHARED/fake.ready" --log "$SHARED/fake.log" \
        --lifetime 6 $fake >"$WORK/fake.out" 2>&1 &
    fake_pid=$!
    wait_file "$SHARED/fake.ready" || fail "the PC's own unit did not start"
    scan
    assert_scan '
assert j["DeviceCount"] == 1 and recs[0]["IpAddress"] == "192.168.1.50", j
assert any(e["dir"] == "out" for e in logs("shared/fake")), "the fake unit did not answer"
'
    wait "$fake_pid" # its lifetime ends before the next one binds the port
    echo "PASS: no unit from the PC itself ($fake)"
done
