"""The program under a real window manager (MRV_WM, openbox in the suite), as
a person meets it: the frames asked for, Alt+F4 and the manager's Close on
each window, and a second start while the first one is minimised. Under any
other manager only the frames are looked at (hints dumped, screenshots)."""

import json
import os
import re
import subprocess
import time

import pyatspi

import guide_texts as T
import pages
from mrv_e2e import APP_TITLE, SEARCH_TITLE, check, check_equal, enabled, log, main, showing, \
    wait_for

DIALOG = "設定"
WM = os.environ.get("MRV_WM", "")
# Motif hints: functions and decorations words given; move only; border and title.
TITLE_ONLY = [0x3, 0x4, 0xA, 0, 0]


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, timeout=15).stdout


def xprop(window, *props):
    return run("xprop", "-id", str(window), *props)


def motif_hints(window):
    m = re.search(r"_MOTIF_WM_HINTS\(_MOTIF_WM_HINTS\) = (.*)", xprop(window, "_MOTIF_WM_HINTS"))
    return [int(v, 16) for v in m.group(1).split(", ")] if m else None


def allowed_actions(window):
    out = xprop(window, "_NET_WM_ALLOWED_ACTIONS")
    return set(re.findall(r"_NET_WM_ACTION_(\w+)", out))


def fixed_size(window):
    out = xprop(window, "WM_NORMAL_HINTS")
    low = re.search(r"minimum size: (\d+) by (\d+)", out)
    high = re.search(r"maximum size: (\d+) by (\d+)", out)
    return low and high and low.groups() == high.groups()


def iconic(window):
    return "Iconic" in xprop(window, "WM_STATE")


def active_window():
    out = run("xdotool", "getactivewindow").strip()
    return int(out) if out.isdigit() else None


def alt_f4(window, what):
    """Focuses the window through the manager, then the manager's Alt+F4."""
    run("xdotool", "windowactivate", "--sync", str(window))
    wait_for(lambda: active_window() == window, 5, f"{what} to be active")
    run("xdotool", "key", "alt+F4")
    log("Alt+F4 on", what)


def check_title_only_frame(window, what):
    check_equal(motif_hints(window), TITLE_ONLY, f"Motif hints of the {what}")
    check(fixed_size(window), f"the {what} may change its size")
    if WM == "openbox":
        allowed = allowed_actions(window)
        check(not allowed & {"RESIZE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT"},
              f"the {what} may be resized or maximised: {sorted(allowed)}")


def dump_hints(program, windows):
    with open(os.path.join(program.artifacts, "hints.txt"), "a", encoding="utf-8") as f:
        for name, window in windows:
            f.write(f"== {name} under {WM}\n")
            f.write(xprop(window, "_MOTIF_WM_HINTS", "_NET_WM_ALLOWED_ACTIONS",
                          "_NET_WM_WINDOW_TYPE", "_NET_FRAME_EXTENTS", "WM_NORMAL_HINTS"))


def framed(window):
    """True once the manager has put its frame around the window."""
    return "_NET_FRAME_EXTENTS(CARDINAL) =" in xprop(window, "_NET_FRAME_EXTENTS")


def close_question(program, answer, screenshot=None):
    box = program.wait_window_showing(T.CLOSE_TITLE, 5)
    if screenshot:
        program.screenshot(screenshot)
    check(program.find(box, name=T.CLOSE_QUESTION) is not None, "the close question is not asked")
    program.click_button(box, answer)
    if answer == T.CLOSE_CANCEL:
        program.wait_window_gone(T.CLOSE_TITLE, 5)
        check(program.process.poll() is None, "Cancel ended the program")


def setup_requests():
    path = os.path.join(os.environ["MRV_SIM_LOGS"], "sim-u1.log")
    with open(path, encoding="utf-8") as f:
        entries = [json.loads(line) for line in f if line.strip()]
    return sum(1 for e in entries
               if e.get("dir") == "in" and bytes.fromhex(e.get("hex", "")).startswith(b"0C02S"))


def open_dialog(program, win):
    program.click_button(win, T.SETTINGS)
    dlg = program.wait_window_showing(DIALOG, 5)
    return dlg, program.x_window(f"^{DIALOG}$")


def type_credentials(program, dlg, user, password):
    fields = sorted((n for role in (pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT)
                     for n in program.find_all(dlg, role) if showing(n)),
                    key=lambda n: n.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y)
    for field, text in zip(fields[-2:], (user, password)):
        program.click(field, "credential field")
        run("xdotool", "type", "--delay", "20", text)


def look_only(program, requests):
    """Another manager: what it draws for each window, nothing closed by it."""
    program.wait_window_showing(SEARCH_TITLE, 15)
    search = program.x_window("^NAS")
    program.screenshot(f"01-search-window-{WM}")
    win = program.wait_window_showing(APP_TITLE, 10)
    main_id = program.x_window("^MRV-7K2$")
    wait_for(lambda: framed(main_id), 5, "the main window's frame")
    program.screenshot(f"10-main-window-{WM}")
    dlg, dlg_id = open_dialog(program, win)
    wait_for(lambda: framed(dlg_id), 5, "the dialog's frame")
    program.screenshot(f"20-settings-dialog-{WM}")
    dump_hints(program, [("search window", search), ("main window", main_id),
                         ("settings dialog", dlg_id)])
    check_title_only_frame(main_id, "main window")
    check_title_only_frame(dlg_id, "settings dialog")
    program.click_button(dlg, "キャンセル")
    program.wait_window_gone(DIALOG, 5)
    pages.close_with_ok(program, win)


def scenario(program):
    requests = os.environ["MRV_REQUEST_LOG"]
    if WM != "openbox":
        look_only(program, requests)
        return

    # Start-up: the search window is frameless; Alt+F4 only hides it, the
    # search goes on and its end opens the main window.
    program.wait_window_showing(SEARCH_TITLE, 15)
    search = program.x_window("^NAS")
    check_equal(motif_hints(search)[:3], [0x2, 0x1, 0x0], "Motif hints of the search window")
    program.screenshot("01-search-window")
    alt_f4(search, "the search window")
    program.wait_window_gone(SEARCH_TITLE, 3)
    check(program.process.poll() is None, "Alt+F4 on the search window ended the program")
    win = program.wait_window_showing(APP_TITLE, 10)
    main_id = program.x_window("^MRV-7K2$")
    pages.wait_scan_end(program, win)
    check_equal(pages.count_requests(requests), pages.REQUESTS_PER_SCAN,
                "discovery requests after start-up (one search)")
    check_title_only_frame(main_id, "main window")
    program.screenshot("10-main-window")

    # The main window: Alt+F4 and the manager's Close ask as 閉じる does.
    alt_f4(main_id, "the main window")
    close_question(program, T.CLOSE_CANCEL, screenshot="11-close-question")
    run("wmctrl", "-i", "-c", hex(main_id))
    close_question(program, T.CLOSE_CANCEL)
    check(showing(program.window(APP_TITLE)), "the main window went away")

    # The idle dialog: its frame; the main window ignores Close meanwhile;
    # Alt+F4 is Cancel (no rescan, nothing sent).
    dlg, dlg_id = open_dialog(program, win)
    check_title_only_frame(dlg_id, "settings dialog")
    program.screenshot("20-settings-dialog")
    dump_hints(program, [("search window", search), ("main window", main_id),
                         ("settings dialog", dlg_id)])
    # The manager hands both closes to the program in this order: once the
    # dialog has gone, a question from the first would be on screen.
    run("wmctrl", "-i", "-c", hex(main_id))
    alt_f4(dlg_id, "the idle settings dialog")
    program.wait_window_gone(DIALOG, 5)
    check(not showing(program.window(T.CLOSE_TITLE)), "a close question was asked")
    pages.requests_settled(program, win, requests)
    check_equal(pages.count_requests(requests), pages.REQUESTS_PER_SCAN,
                "discovery requests after closing the dialog (one search)")
    check_equal(setup_requests(), 0, "setup requests after closing the dialog")

    # The busy dialog stays; once idle again, Alt+F4 closes it without a rescan.
    dlg, dlg_id = open_dialog(program, win)
    type_credentials(program, dlg, "admin", "wrong")
    program.click_button(dlg, "OK")
    wait_for(lambda: not enabled(program.button(dlg, "OK")), 3, "the dialog to be busy")
    alt_f4(dlg_id, "the busy settings dialog")
    # The refusal comes seconds after Alt+F4 was handled: the dialog must
    # still be there then.
    box = wait_for(lambda: (lambda b: b if showing(b) else None)(program.window("Error")), 10,
                   "the refusal")
    check(showing(program.window(DIALOG)), "Alt+F4 closed the busy dialog")
    program.screenshot("21-busy-dialog-after-alt-f4")
    program.click_button(box, "OK")
    wait_for(lambda: enabled(program.button(dlg, "OK")), 5, "the dialog to be idle")
    alt_f4(dlg_id, "the settings dialog, idle again")
    program.wait_window_gone(DIALOG, 5)
    pages.requests_settled(program, win, requests)
    check_equal(pages.count_requests(requests), pages.REQUESTS_PER_SCAN,
                "discovery requests after the refusal (one search)")
    check_equal(setup_requests(), 1, "setup requests sent")

    # Minimised, then started again: the first comes back and is active.
    run("xdotool", "windowminimize", "--sync", str(main_id))
    wait_for(lambda: iconic(main_id), 5, "the main window to be minimised")
    t0 = time.monotonic()
    second = subprocess.run([program.binary], capture_output=True, timeout=15)
    log(f"second start: status {second.returncode} after {time.monotonic() - t0:.1f} s")
    check_equal(second.returncode, 0, "exit status of the second start")
    check_equal(second.stdout + second.stderr, b"", "the second start's output")
    wait_for(lambda: not iconic(main_id), 5, "the main window to be restored")
    wait_for(lambda: active_window() == main_id, 5, "the main window to be active")
    check_equal(program.x_window("^MRV-7K2$"), main_id, "the one main window")
    program.wait_window_showing(APP_TITLE, 5)
    program.screenshot("30-restored-after-second-start")

    alt_f4(main_id, "the main window")
    close_question(program, "OK")
    check_equal(program.wait_exit(10), 0, "exit status after OK")


main(scenario)
