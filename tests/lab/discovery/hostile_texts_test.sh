#!/usr/bin/env bash
# A unit whose texts carry markup, terminal controls (an OSC 52 clipboard
# write, a CSI in its 8-bit form), DEL and a lone CP932 lead byte: mrv7k2-find
# prints them as visible escapes in its table and escaped in its JSON.
source "$(dirname "$0")/labtest.sh"
new_lab
host='<b>\x1b]0;T\x07\x7f\x82'
model='<img src=/dev/zero>\x1b]52;c;QQ==\x07\x9b2J\x7f\\z\x82'
unit evil 192.168.1.50/24 -- --raw-text \
    "0C01R00:80:87:00:00:50'192.168.1.50','255.255.255.0','192.168.1.1','${host}','A','','${model}','1','100','50'"
scan
[[ $SCAN_RC == 0 ]] || fail "exit status $SCAN_RC"
assert_scan '
assert j["DeviceCount"] == 1, j["DeviceCount"]
r = recs[0]
assert r["HostName"].startswith("<b>\x1b]0;T\x07\x7f"), r
assert r["DiskModel"].startswith("<img src=/dev/zero>\x1b]52;c;QQ==\x07"), r
'
lab_exec "$P" pc timeout 30 "$FIND" >"$WORK/table.txt" 2>"$WORK/table.err" || fail "table run failed"
"$PY" - "$WORK/table.txt" <<'PYEOF' || fail "table check failed"
import sys
out = open(sys.argv[1], "rb").read().decode("utf-8")
bad = [hex(ord(c)) for c in out if c != "\n" and (ord(c) < 0x20 or 0x7F <= ord(c) <= 0x9F
       or 0x202A <= ord(c) <= 0x202E or 0x2066 <= ord(c) <= 0x2069)]
assert not bad, bad
for shown in (r"<b>\x1b]0;T\x07\x7f", r"<img src=/dev/zero>\x1b]52;c;QQ==\x07", r"\x7f\\z"):
    assert shown in out, (shown, out)
PYEOF
echo "PASS: hostile unit texts printed as text"
