"""Hostile unit texts: the list caption and the details show the characters
the unit sent, the tooltip of the cut disk model shows them too (and reads no
file it names), and the share of a unit whose address has an octal part opens
the address the subnet check read."""

import os
import resource
import subprocess

import pyatspi

import guide_texts as T
import pages
from mrv_e2e import check, check_equal, extents, log, main, showing, text_of, wait_for

HOST = "<b>\x1b]0;T\x07\x7f\ufffd"
MODEL = "<img src=/dev/zero>\x1b[2J&lt;" + "W" * 21 + "\ufffd"


def memory_kib(pid, field):
    with open(f"/proc/{pid}/status", encoding="ascii") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


def tooltip_text(program):
    """The text of the tooltip window on screen, if there is one."""
    app = program.application()
    for w in app or []:
        if w is not None and w.getRole() == pyatspi.ROLE_TOOL_TIP and showing(w):
            label = program.find(w, role=pyatspi.ROLE_LABEL)
            return text_of(label if label is not None else w)
    return None


def scenario(program):
    pid = program.process.pid
    # Should the tooltip ever read what it names again, the program fails
    # its allocation instead of taking the machine's memory.
    # (Not under AddressSanitizer: it reserves address space as it goes.)
    with open(f"/proc/{pid}/exe", "rb") as exe:
        sanitized = b"libasan.so" in exe.read()
    if not sanitized:
        limit = (memory_kib(pid, "VmSize") + 512 * 1024) * 1024
        resource.prlimit(pid, resource.RLIMIT_AS, (limit, limit))

    win = pages.first_scan(program, os.environ["MRV_REQUEST_LOG"])
    names = [i.name for i in pages.list_items(program, win)]
    check_equal(names, [HOST, "NAS-OCTAL"], "list captions")
    details = pages.details(program, win)
    check_equal(details[0], HOST, "host name label")
    check_equal(details[3], "<b>gw</b>", "gateway label")
    check_equal(details[4], MODEL, "disk model label")

    # Hover the model label, which the window's edge cuts.
    model = program.find(win, role=pyatspi.ROLE_LABEL, name=MODEL)
    check(model is not None, "no label named after the disk model")
    e = extents(model)
    rss = memory_kib(pid, "VmRSS")
    subprocess.run(["xdotool", "mousemove", str(e.x + 20), str(e.y + e.height // 2)],
                   check=True, timeout=10)
    shown = wait_for(lambda: tooltip_text(program), 10, "the disk model's tooltip")
    program.screenshot("20-model-tooltip")
    check_equal(shown, MODEL, "tooltip text")
    check(program.process.poll() is None, "the program ended while its tooltip showed")
    grown = memory_kib(pid, "VmRSS") - rss
    log("resident memory grew by", grown, "KiB while the tooltip showed")
    check(grown < 64 * 1024, f"resident memory grew by {grown} KiB")

    # The octal unit is in the PC's subnet by inet_addr's reading; its share
    # and page are those of that reading, and the panel shows that address,
    # not the text that most people would read as .64.
    program.click(pages.list_items(program, win)[1], "NAS-OCTAL")
    wait_for(lambda: pages.details(program, win)[1] == "192.168.1.52", 5, "NAS-OCTAL's details")
    program.click_button(win, T.SHARE)
    program.click_button(win, T.WEB)
    path = os.environ["MRV_OPENER_LOG"]

    def opened():
        with open(path, encoding="utf-8") as f:
            got = [l.rstrip("\n") for l in f]
        return got if len(got) >= 2 else None

    check_equal(wait_for(opened, 5, "two calls of the desktop's opener"),
                ["smb://192.168.1.52/", "http://192.168.1.52/"], "addresses opened")
    pages.close_with_ok(program, win)


main(scenario)
