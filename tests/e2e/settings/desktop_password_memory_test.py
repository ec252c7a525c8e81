"""No copy of the administrator's password stays in the program's memory.
A password is typed and cancelled, typed again and sent (the unit refuses
it), and the dialog is cancelled; then every writable mapping of the process
is read through /proc (as root: the process is not dumpable) and searched
for the password as UTF-16 and as CP932 (here plain ASCII) bytes, whole or
spread one character per record at any stride up to 64 bytes, as an edit
history keeps it."""

import os
import re

from desktop_settings_test import DIALOG, FAILURE, credential_fields, open_dialog, \
    press_ok_and_read_result, setup_requests, type_into
import pages
from mrv_e2e import check, check_equal, log, main, showing, wait_for

PASSWORD = "Zq7#Wv93xKp!"
# Memory read in one go at most; larger mappings are read in pieces.
CHUNK = 1 << 24
HUGE = 1 << 34


def writable_memory(pid):
    """(start, bytes) of every readable, writable mapping of the process."""
    with open(f"/proc/{pid}/maps", encoding="ascii") as maps, \
            open(f"/proc/{pid}/mem", "rb", buffering=0) as mem:
        for line in maps:
            fields = line.split()
            start, end = (int(x, 16) for x in fields[0].split("-"))
            # Larger than any heap of this program: AddressSanitizer's shadow,
            # terabytes reserved that hold no program data.
            if not fields[1].startswith("rw") or end - start > HUGE:
                continue
            at = start
            while at < end:
                size = min(CHUNK, end - at)
                try:
                    mem.seek(at)
                    data = mem.read(size)
                except OSError:
                    break
                yield at, data
                at += size


def patterns():
    """(name, compiled pattern) for each encoding and stride."""
    units = {"UTF-16": [c.encode("utf-16-le") for c in PASSWORD],
             "CP932": [c.encode("cp932") for c in PASSWORD]}
    for name, pieces in units.items():
        width = len(pieces[0])
        for stride in range(width, 65):
            gap = b".{%d}" % (stride - width) if stride > width else b""
            yield f"{name}, stride {stride}", re.compile(
                gap.join(re.escape(p) for p in pieces), re.DOTALL)


def copies_left(pid):
    wanted = list(patterns())
    found = []
    for start, data in writable_memory(pid):
        for name, pattern in wanted:
            for m in pattern.finditer(data):
                found.append(f"{name} at {start + m.start():#x}")
    return found


def cancel(program, dlg):
    program.click_button(dlg, "キャンセル")
    program.wait_window_gone(DIALOG, 5)


def scenario(program):
    pid = program.process.pid
    win = pages.first_scan(program, os.environ["MRV_REQUEST_LOG"])

    dlg = open_dialog(program, win, "NAS-OFFICE")
    user, password = credential_fields(program, dlg)
    type_into(program, user, "admin", "user name")
    type_into(program, password, PASSWORD, "password")
    program.screenshot("30-typed")
    cancel(program, dlg)

    dlg = open_dialog(program, win, "NAS-OFFICE")
    user, password = credential_fields(program, dlg)
    type_into(program, user, "admin", "user name")
    type_into(program, password, PASSWORD, "password")
    box, title, labels = press_ok_and_read_result(program, dlg, 20)
    check_equal((title, labels), ("Error", [FAILURE]), "the unit refused the password")
    requests = setup_requests("office", b"00:0D:0B:7A:10:50")
    check(requests and requests[-1].endswith(b";admin;" + PASSWORD.encode("cp932")),
          "the request carried the password")
    program.click_button(box, "OK")
    program.wait_window_gone("Error", 5)
    wait_for(lambda: showing(program.window(DIALOG)), 5, "the dialog back")
    cancel(program, dlg)

    with open(f"/proc/{pid}/stat") as f:
        check(f.read().split(") ", 1)[1][0] != "Z", "the process is alive")
    found = copies_left(pid)
    log(f"password copies in writable memory: {len(found)}", *found[:20])
    check_equal(found, [], "copies of the password in the program's memory")
    pages.close_with_ok(program, win)


main(scenario)
