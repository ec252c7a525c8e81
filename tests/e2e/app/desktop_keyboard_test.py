"""The program with the keyboard alone: the guide pages, the device list and
its units, the share and the web page, the settings dialog (both modes, every
field, OK and Cancel) and closing. Tab orders are checked on the way; a
screenshot of each step shows where the focus is."""

import json
import os
import subprocess
import time

import pyatspi

import guide_texts as T
import pages
from mrv_e2e import APP_TITLE, check, check_equal, descendants, log, main, showing, wait_for

DIALOG = "設定"
MAIN_ORDER = [T.SETTINGS, T.CLOSE, T.RESCAN, T.SHARE, T.WEB, "list"]
# OK, Cancel, the user name, the password; the address controls, disabled in
# the automatic mode; then the checked mode.
DIALOG_ORDER = ["OK", "キャンセル", "user", "password", "IPアドレス自動割付"]


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "80", *names], check=True, timeout=10)
    time.sleep(0.2)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "60", text], check=True, timeout=20)


def focus_name(window):
    """What has the keyboard focus in the window: a button's caption, a
    radio button's text, "list", "user"/"password" for the two edits."""
    for node in descendants(window):
        try:
            if not node.getState().contains(pyatspi.STATE_FOCUSED):
                continue
            role = node.getRole()
        except Exception:
            continue
        if role in (pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_ITEM):
            return "list"
        if role == pyatspi.ROLE_PASSWORD_TEXT:
            return "password"
        if role == pyatspi.ROLE_FILLER:  # the address control itself
            return "address"
        if role == pyatspi.ROLE_TEXT:
            top = node.parent.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME)
            return "user" if top else "address"
        return node.name or role
    return None


def wait_focus(window, name, what):
    try:
        return wait_for(lambda: focus_name(window) == name or None, 3, f"focus on {name!r}")
    except Exception:
        log(f"focus is on {focus_name(window)!r}, not {name!r} ({what})")
        raise


def tab_through(program, window, order, shot):
    """From the first of order, Tab visits the rest and comes back to it."""
    wait_focus(window, order[0], "start of the tab order")
    for step, name in enumerate(order[1:] + order[:1], 1):
        keys("Tab")
        wait_focus(window, name, f"Tab {step}")
        program.screenshot(f"{shot}-{step:02d}")


def tab_to(window, name):
    for _ in range(12):
        if focus_name(window) == name:
            return
        keys("Tab")
    wait_focus(window, name, "Tab")


def opened(count):
    def read():
        with open(os.environ["MRV_OPENER_LOG"], encoding="utf-8") as f:
            got = [l.rstrip("\n") for l in f]
        return got if len(got) >= count else None
    return wait_for(read, 5, f"{count} call(s) of the desktop's opener")


def setup_requests(unit):
    path = os.path.join(os.environ["MRV_SIM_LOGS"], f"sim-{unit}.log")
    with open(path, encoding="utf-8") as f:
        entries = [json.loads(line) for line in f if line.strip()]
    return [bytes.fromhex(e["hex"]) for e in entries
            if e.get("dir") == "in" and bytes.fromhex(e.get("hex", "")).startswith(b"0C02S")]


def scenario(program):
    win = program.wait_window_showing(APP_TITLE, 15)
    pages.guide_page(program, win, T.WELCOME, back_shown=False)
    wait_focus(win, T.NEXT, "welcome page")
    program.screenshot("01-welcome")

    # The guide: Next by Space and by Return, Back by Shift+Tab.
    keys("space")
    pages.guide_page(program, win, T.POWER, back_shown=True)
    keys("Return")
    pages.guide_page(program, win, T.NETWORK, back_shown=True)
    keys("shift+Tab")
    wait_focus(win, T.BACK, "Shift+Tab from Next")
    program.screenshot("02-network-back-focused")
    keys("space")
    pages.guide_page(program, win, T.POWER, back_shown=True)
    tab_to(win, T.NEXT)
    keys("space")
    pages.guide_page(program, win, T.NETWORK, back_shown=True)

    # The units come up; Next on the network page searches for them.
    open(os.path.join(os.environ["MRV_SIM_LOGS"], "units-go"), "w").close()
    time.sleep(1)
    tab_to(win, T.NEXT)
    keys("space")
    pages.wait_scan_end(program, win)
    wait_for(lambda: len(pages.list_items(program, win)) == 2 or None, 3, "two units listed")
    program.screenshot("10-list")

    # Each unit by the arrow keys. The share and web page are offered for
    # the unit inside the subnet only, so its tab order is the whole one.
    tab_to(win, "list")
    hosts = []
    for key in ("Home", "Right", "Left"):
        keys(key)
        hosts.append(pages.details(program, win)[0])
    check_equal(sorted(hosts[:2]), ["NAS-OFFICE", "NAS-REMOTE"], "units selected by arrow keys")
    check_equal(hosts[2], hosts[0], "Left goes back to the first unit")
    if hosts[0] != "NAS-OFFICE":
        keys("Right")
    tab_through(program, win, MAIN_ORDER[-1:] + MAIN_ORDER[:-1], "11-main-tab")
    tab_to(win, T.SHARE)
    keys("space")
    tab_to(win, T.WEB)
    keys("Return")
    check_equal(opened(2), ["smb://192.168.1.50/", "http://192.168.1.50/"], "share and web page")
    tab_to(win, "list")
    keys("Left" if hosts[0] == "NAS-REMOTE" else "Right")
    wait_for(lambda: pages.details(program, win)[0] == "NAS-REMOTE" or None, 3, "NAS-REMOTE")
    program.screenshot("12-remote-selected")

    # The dialog for the unit outside the subnet: automatic mode first.
    tab_to(win, T.SETTINGS)
    keys("space")
    dlg = program.wait_window_showing(DIALOG, 5)
    program.screenshot("20-dialog-opened")
    tab_through(program, dlg, DIALOG_ORDER, "21-dialog-tab")
    # The arrow keys switch the mode; the manual one puts the focus in the
    # address, which is typed field by field.
    tab_to(dlg, "IPアドレス自動割付")
    keys("Down")
    wait_focus(dlg, "address", "the manual mode")
    program.screenshot("22-manual-mode")
    type_text("192.168.1.70")
    keys("Tab")
    type_text("255.255.255.0")
    keys("Tab")
    type_text("192.168.1.1")
    program.screenshot("23-addresses-typed")
    tab_to(dlg, "user")
    type_text("admin")
    keys("Tab")
    type_text("wrong")
    tab_to(dlg, "OK")
    program.screenshot("24-before-ok")
    keys("Return")
    program.wait_window_showing("Error", 10)
    program.screenshot("25-refused")
    keys("Return")
    program.wait_window_gone("Error", 5)
    sent = setup_requests("remote")
    check_equal(len(sent), 1, "setup requests")
    check(b"192.168.1.70;255.255.255.0;192.168.1.1;" in sent[0] and b";admin;wrong" in sent[0],
          f"the typed values in the request: {sent[0]!r}")
    tab_to(dlg, "キャンセル")
    keys("space")
    program.wait_window_gone(DIALOG, 5)

    # Closing: 閉じる, Escape keeps the program; again, Return ends it.
    tab_to(win, T.CLOSE)
    keys("space")
    program.wait_window_showing(T.CLOSE_TITLE, 5)
    program.screenshot("30-close-question")
    keys("Escape")
    program.wait_window_gone(T.CLOSE_TITLE, 5)
    check(program.process.poll() is None, "Escape on the close question ended the program")
    keys("space")
    program.wait_window_showing(T.CLOSE_TITLE, 5)
    keys("Return")
    check_equal(program.wait_exit(10), 0, "exit status")


main(scenario)
