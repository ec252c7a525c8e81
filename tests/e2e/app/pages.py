"""Checks of what the main window shows, shared by the scenarios."""

import re
import socket
import time

import pyatspi

import guide_texts as T
from mrv_e2e import APP_TITLE, MIN_SCAN_S, SEARCH_TITLE, Failure, check, check_equal, enabled, \
    extents, log, showing, text_of, wait_for

# The lab's gateway host, where udp_log.py writes down every datagram sent
# to the units' port.
GATEWAY = "192.168.1.1"
DISCOVERY_PORT = 12311


def lines(text):
    return [l for l in re.split(r"\r\n|\r|\n|\u2029", text)] if text else []


def description(program, window):
    boxes = [n for n in program.find_all(window, pyatspi.ROLE_TEXT) if showing(n)]
    check(len(boxes) == 1, f"expected one description box on screen, found {len(boxes)}")
    return lines(text_of(boxes[0]))


def the_list(program, window):
    for role in (pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TABLE,
                 pyatspi.ROLE_TREE_TABLE):
        found = program.find(window, role=role)
        if found is not None:
            return found
    raise Failure("no device list in the main window")


def list_items(program, window):
    lst = the_list(program, window)
    return [c for c in lst if c is not None and c.getRole() == pyatspi.ROLE_LIST_ITEM]


def button_state(program, window, caption):
    b = program.button(window, caption)
    return showing(b), enabled(b)


def first_scan(program, requests_log):
    """Start-up: the search window stands alone, then the main window opens."""
    search = program.wait_window_showing(SEARCH_TITLE, 15)
    log(f"search window after {program.elapsed():.1f} s")
    check(not showing(program.window(APP_TITLE)),
          "the main window is on screen during the start-up search")
    bold = program.find(search, role=pyatspi.ROLE_LABEL, name=SEARCH_TITLE)
    check(bold is not None and showing(bold), "the search window has no 'NAS検索...' label")
    program.screenshot("01-search-window")
    program.search_window_id = program.x_window("^NAS")
    main = program.wait_window_showing(APP_TITLE, 10)
    log(f"main window after {program.elapsed():.1f} s")
    # The search began after the program started: the main window, first
    # seen now, cannot have come before the search's end.
    check(program.elapsed() >= MIN_SCAN_S,
          f"the main window came {program.elapsed():.1f} s after the start, during the search")
    program.wait_window_gone(SEARCH_TITLE, 5)
    check_equal(count_requests(requests_log), REQUESTS_PER_SCAN,
                "requests of the start-up search (one search)")
    check_shown_once(program)
    return main


def check_shown_once(program):
    """The main window went on screen once, at the end of the start-up search
    (never flashing up before it), and the search window once, at start-up."""
    main_id = program.x_window("^MRV-7K2$")
    check_equal(program.times_mapped(main_id), 1, "times the main window was mapped")
    check_equal(program.times_mapped(program.search_window_id), 1,
                "times the search window was mapped")


# A search sends its request this many times through the lab PC's one adapter.
REQUESTS_PER_SCAN = 10


def count_requests(requests_log):
    with open(requests_log, encoding="utf-8") as f:
        return sum(1 for line in f if "b'0C01S'" in line)


def requests_settled(program, window, requests_log):
    """Returns once every request the program has sent so far is in the log:
    a question the program answers between its own steps, then a datagram
    of ours from the same network, which arrives behind them."""
    extents(window)  # never cached: a round trip through the program's event loop
    marker = f"marker {time.monotonic_ns()}".encode()
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.sendto(marker, (GATEWAY, DISCOVERY_PORT))

    def logged():
        with open(requests_log, encoding="utf-8") as f:
            return repr(marker) in f.read()

    wait_for(logged, 5, "the marker datagram in the request log")


def searches_started(requests_log):
    return -(-count_requests(requests_log) // REQUESTS_PER_SCAN)


def wait_requests(requests_log, n, timeout=5):
    """Waits for search n to begin; no other search may have begun."""
    wait_for(lambda: searches_started(requests_log) >= n, timeout, f"search {n}")
    check_equal(searches_started(requests_log), n, "searches begun")


def guide_page(program, main, text, back_shown):
    """A guide page: its text, Next offered, Back as the page says, no list."""
    # The click was queued through the X server: give the page time to change.
    wait_for(lambda: description(program, main) == text, 5, f"guide text {text[0]!r}")
    check_equal(button_state(program, main, T.NEXT), (True, True), "Next (shown, enabled)")
    check_equal(showing(program.button(main, T.BACK)), back_shown, "Back shown")
    for caption in (T.RESCAN, T.SHARE, T.WEB):
        check(not showing(program.button(main, caption)), f"{caption!r} is shown on a guide page")
    check(not showing(the_list(program, main)), "the device list is shown on a guide page")
    # Its picture is named and says what it shows, for screen readers.
    def picture_described():
        shown = [p for p in program.find_all(main, pyatspi.ROLE_IMAGE) if showing(p)]
        return len(shown) == 1 and shown[0].name and shown[0].description
    wait_for(picture_described, 3, "one named picture that says what it shows")


def details(program, main):
    return [program.value_beside(main, c) for c in T.CAPTIONS]


def wait_scan_end(program, main, timeout=8):
    wait_for(lambda: enabled(program.button(main, T.RESCAN)), timeout,
             "the end of the scan (NAS更新 enabled again)")


def confirm_close(program, main, answer):
    program.click_button(main, T.CLOSE)
    box = program.wait_window_showing(T.CLOSE_TITLE, 5)
    check(program.find(box, name=T.CLOSE_QUESTION) is not None,
          "the close confirmation does not ask its question")
    if answer == T.CLOSE_CANCEL:
        program.screenshot("90-close-confirmation")
    program.click_button(box, answer)


def cancel_close(program, main):
    """Close, then Cancel: the program goes on as it was."""
    confirm_close(program, main, T.CLOSE_CANCEL)
    program.wait_window_gone(T.CLOSE_TITLE, 5)
    check(program.process.poll() is None, "Cancel ended the program")
    check(showing(program.window(APP_TITLE)), "Cancel hid the main window")


def close_with_ok(program, main):
    """Close, then OK: the process ends with status 0 and says nothing."""
    confirm_close(program, main, T.CLOSE_OK)
    status = program.wait_exit(10)
    check_equal(status, 0, "exit status after OK")
    check_equal(program.stderr_text(), "", "the program's error output")
