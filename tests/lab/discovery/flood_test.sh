#!/usr/bin/env bash
# 10 000 datagrams (junk plus valid replies of 150 distinct units) during one scan:
# the scan still ends after about 3000 ms, the table is full at 99 records, no crash.
source "$(dirname "$0")/labtest.sh"
new_lab
# Baseline: the same scan on a quiet network, for the program's own start-up cost.
scan
[[ $SCAN_RC == 0 ]] || fail "baseline scan: exit status $SCAN_RC"
quiet_ms=$SCAN_MS
export QUIET_MS=$quiet_ms
unit flood 192.168.1.99/24 -- --silent --flood 10000 --flood-units 150 --flood-rate 5000
scan
[[ $SCAN_RC == 0 ]] || fail "flooded scan: exit status $SCAN_RC: $(cat "$WORK/scan.err")"
assert_scan '
import re
ids = field("MacAddress")
assert j["DeviceCount"] == 99 and len(recs) == 99, j["DeviceCount"]
assert len(set(ids)) == 99, "duplicate identities in the table"
assert all(re.fullmatch(r"02:4D:52:00:00:[0-9A-F]{2}", i) for i in ids), ids
assert all(r["HostName"].startswith("flood") for r in recs)
ev = [l for l in logs("flood") if l.get("flood") == "finished"]
assert ev and ev[0]["sent"] == 10000, ev
print("FLOOD: scan wall time %s ms (quiet network: %s ms), records %d, datagrams counted %d, "
      "flood sent %d in %d ms (%d send retries)" % (os.environ["SCAN_MS"], os.environ["QUIET_MS"],
      j["DeviceCount"], j["datagrams"], ev[0]["sent"], ev[0]["ms"], ev[0]["retries"]))
'
echo "scan wall time ${SCAN_MS} ms, quiet ${quiet_ms} ms"
# Start-up and output cost the same with or without the flood; the scan itself must
# not stretch by more than half a second under it.
((SCAN_MS - quiet_ms < 500)) || fail "the flooded scan took ${SCAN_MS} ms against ${quiet_ms} ms"
((SCAN_MS >= MIN_SCAN_MS)) || fail "the scan ended early (${SCAN_MS} ms)"
echo "PASS: flood of 10000 datagrams"
