"""The settings dialog in the real program, used as an administrator would:
a unit outside the subnet gets a free address automatically; a unit inside
it gets a typed address, after a wrong password was refused. Each success
is followed by a new search that shows the unit at its new address."""

import json
import os
import subprocess
import time

import pyatspi

import guide_texts as T
import pages
from mrv_e2e import check, check_equal, enabled, extents, log, main, showing, text_of, wait_for

DIALOG = "設定"
AUTO = "IPアドレス自動割付"
MANUAL = "以下の様なIPアドレスを使用"
SUCCESS = "NASセットアップ成功"
FAILURE = "NASセットアップ失敗"


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=20)


def item(program, win, name):
    for i in pages.list_items(program, win):
        if i.name == name:
            return i
    raise AssertionError(f"no list item {name!r}")


def open_dialog(program, win, name):
    program.click(item(program, win, name), name)
    wait_for(lambda: pages.details(program, win)[0] == name, 5, f"details of {name}")
    program.click_button(win, T.SETTINGS)
    return program.wait_window_showing(DIALOG, 5)


def radio(program, dlg, caption):
    r = program.find(dlg, role=pyatspi.ROLE_RADIO_BUTTON, name=caption)
    check(r is not None, f"no radio button {caption!r}")
    return r


def checked(acc):
    return acc.getState().contains(pyatspi.STATE_CHECKED)


def edits(program, dlg):
    """The one-line edits on screen, top to bottom and left to right."""
    found = [n for role in (pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT)
             for n in program.find_all(dlg, role) if showing(n)]
    return sorted(found, key=lambda n: (extents(n).y, extents(n).x))


def credential_fields(program, dlg):
    wide = [e for e in edits(program, dlg) if extents(e).width > 150]
    check_equal(len(wide), 2, "user name and password fields")
    return wide


def octet_fields(program, dlg):
    return [e for e in edits(program, dlg) if extents(e).width <= 150]


def type_into(program, field, text, what):
    program.click(field, what)
    xdotool("key", "ctrl+a", "BackSpace")
    xdotool("type", "--delay", "20", text)


def press_ok_and_read_result(program, dlg, timeout):
    program.click_button(dlg, "OK")
    box = wait_for(lambda: next((program.window(t) for t in ("OK", "Error")
                                 if showing(program.window(t))), None),
                   timeout, "the result box")
    labels = [text_of(l) for l in program.find_all(box, pyatspi.ROLE_LABEL) if text_of(l)]
    return box, box.name, labels


def setup_requests(unit, identity):
    """The setup requests for this unit that it received (all are broadcast)."""
    path = os.path.join(os.environ["MRV_SIM_LOGS"], f"sim-{unit}.log")
    reqs = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            e = json.loads(line)
            data = bytes.fromhex(e.get("hex", ""))
            if e.get("dir") == "in" and data.startswith(b"0C02S" + identity):
                reqs.append(data)
    return reqs


def close_by_sent_key(program, title):
    """Return sent to the box's own X window, as remote-control tools and some
    on-screen keyboards deliver keys. The box closes on the press, so the
    release finds no window: the key stays held and the X server repeats it
    into whatever window has the focus next."""
    subprocess.run(["xdotool", "key", "--window", str(program.x_window(f"^{title}$")), "Return"],
                   check=False, timeout=20)


def after_success(program, win, box, name, address, close=None):
    if close is None:
        program.click_button(box, "OK")
    else:
        close(program, "OK")
    program.wait_window_gone(DIALOG, 5)
    pages.wait_scan_end(program, win, 10)
    program.click(item(program, win, name), name)
    wait_for(lambda: pages.details(program, win)[1] == address, 5,
             f"{name} listed at {address}")


def scenario(program):
    win = pages.first_scan(program, os.environ["MRV_REQUEST_LOG"])

    # Automatic: the unit outside the subnet gets the first address nobody
    # answers on (.1 is the gateway), with the PC's mask and gateway.
    dlg = open_dialog(program, win, "NAS-REMOTE")
    check(checked(radio(program, dlg, AUTO)), "automatic mode checked")
    check(enabled(radio(program, dlg, MANUAL)), "manual mode offered")
    check(not any(enabled(e) for e in octet_fields(program, dlg)), "address fields disabled")
    user, password = credential_fields(program, dlg)
    check_equal((text_of(user), text_of(password)), ("", ""), "credentials on opening")
    type_into(program, user, "admin", "user name")
    type_into(program, password, "secret", "password")
    program.screenshot("10-automatic-filled")
    box, title, labels = press_ok_and_read_result(program, dlg, 20)
    program.screenshot("11-automatic-result")
    check_equal((title, labels), ("OK", [SUCCESS]), "automatic mode result")
    check_equal(setup_requests("remote", b"00:0D:0B:7A:10:20"),
                [b"0C02S00:0D:0B:7A:10:20192.168.1.2;255.255.255.0;192.168.1.1;"
                 b"NAS-REMOTE;WORKGROUP;;admin;secret"], "request to the remote unit")
    after_success(program, win, box, "NAS-REMOTE", "192.168.1.2", close_by_sent_key)
    program.screenshot("12-remote-moved")

    # Manual: the unit inside the subnet; the last octet typed by hand. The
    # key that closed the last box presses nothing here: no request before OK.
    dlg = open_dialog(program, win, "NAS-OFFICE")
    time.sleep(1)
    check_equal(setup_requests("office", b"00:0D:0B:7A:10:50"), [], "requests before OK")
    check(enabled(program.button(dlg, "OK")) and enabled(program.button(dlg, "キャンセル")),
          "OK and キャンセル enabled on opening")
    xdotool("keyup", "Return")
    check(checked(radio(program, dlg, MANUAL)), "manual mode checked")
    check(not enabled(radio(program, dlg, AUTO)), "automatic mode not offered")
    octets = octet_fields(program, dlg)
    check_equal([text_of(o) for o in octets],
                ["192", "168", "1", "1", "255", "255", "255", "0", "192", "168", "1", "1"],
                "proposed address, the PC's mask and gateway")
    type_into(program, octets[3], "70", "last octet of the address")
    user, password = credential_fields(program, dlg)
    type_into(program, user, "admin", "user name")
    type_into(program, password, "wrong", "password")
    box, title, labels = press_ok_and_read_result(program, dlg, 10)
    program.screenshot("20-manual-wrong-password")
    check_equal((title, labels), ("Error", [FAILURE]), "wrong password result")
    program.click_button(box, "OK")
    program.wait_window_gone("Error", 5)
    check(showing(program.window(DIALOG)), "the dialog stays open after a failure")
    wait_for(lambda: enabled(program.button(dlg, "OK")), 5, "OK enabled again")
    check_equal(text_of(octet_fields(program, dlg)[3]), "70", "typed octet kept")

    type_into(program, credential_fields(program, dlg)[1], "secret", "password")
    box, title, labels = press_ok_and_read_result(program, dlg, 10)
    check_equal((title, labels), ("OK", [SUCCESS]), "right password result")
    expected = (b"0C02S00:0D:0B:7A:10:50192.168.1.70;255.255.255.0;192.168.1.1;"
                b"NAS-OFFICE;WORKGROUP;;admin;")
    check_equal(setup_requests("office", b"00:0D:0B:7A:10:50"), [expected + b"wrong", expected + b"secret"],
                "requests to the office unit")
    after_success(program, win, box, "NAS-OFFICE", "192.168.1.70")
    program.screenshot("21-office-moved")

    pages.close_with_ok(program, win)


if __name__ == "__main__":
    main(scenario)
