"""Two units: the guide is skipped, the list follows the reply order with the
first unit selected and its details shown; share and web go to the desktop's
opener with the unit's address; another unit is picked; a rescan empties and
refills the list; close, Cancel and close, OK while a search runs."""

import os

import pyatspi

import guide_texts as T
import pages
from mrv_e2e import check, check_equal, enabled, log, main, selected, showing, wait_for

BETA = ["NAS-BETA", "192.168.1.51", "255.255.255.0", "192.168.1.1", "ST3250310AS",
        "250 GB", "204 GB", "82%"]
ALPHA = ["NAS-ALPHA", "192.168.1.50", "255.255.255.0", "192.168.1.1", "ST380815AS",
         "80 GB", "40 GB", "50%"]


def opened(expected_count):
    path = os.environ["MRV_OPENER_LOG"]

    def read():
        with open(path, encoding="utf-8") as f:
            got = [l.rstrip("\n") for l in f]
        return got if len(got) >= expected_count else None

    return wait_for(read, 5, f"{expected_count} call(s) of the desktop's opener")


def item_names(program, win):
    return [i.name for i in pages.list_items(program, win)]


def scenario(program):
    requests = os.environ["MRV_REQUEST_LOG"]
    win = pages.first_scan(program, requests)

    check_equal(pages.description(program, win), T.DEVICE_LIST, "device-list text")
    check_equal(item_names(program, win), ["NAS-BETA", "NAS-ALPHA"], "list in reply order")
    items = pages.list_items(program, win)
    check(selected(items[0]) and not selected(items[1]), "the first unit is not the selected one")
    check_equal(pages.details(program, win), BETA, "details of the first unit")
    check(not showing(program.button(win, T.BACK)), "Back is shown although units were found")
    for caption in (T.SETTINGS, T.SHARE, T.WEB, T.RESCAN):
        check_equal(pages.button_state(program, win, caption), (True, True), caption)
    program.screenshot("10-list-two-units")

    program.click_button(win, T.SHARE)
    check_equal(opened(1), ["smb://192.168.1.51/"], "share opened")
    program.click_button(win, T.WEB)
    check_equal(opened(2)[1], "http://192.168.1.51/", "web page opened")

    program.click(pages.list_items(program, win)[1], "NAS-ALPHA")
    wait_for(lambda: pages.details(program, win) == ALPHA, 5, "details of NAS-ALPHA")
    check(selected(pages.list_items(program, win)[1]), "NAS-ALPHA is not selected after its click")
    program.click_button(win, T.WEB)
    check_equal(opened(3)[2], "http://192.168.1.50/", "web page of the second unit")
    program.screenshot("11-second-unit-selected")

    program.click_button(win, T.RESCAN)
    pages.wait_requests(requests, 2)
    check_equal(item_names(program, win), [], "list during the rescan")
    check_equal(pages.details(program, win), [""] * 8, "details during the rescan")
    for caption in (T.SHARE, T.WEB):
        check(not showing(program.button(win, caption)), f"{caption!r} shown during the rescan")
    for caption in (T.SETTINGS, T.RESCAN, T.BACK):
        check(not enabled(program.button(win, caption)), f"{caption!r} usable during the rescan")
    program.screenshot("12-rescan-running")

    pages.wait_scan_end(program, win)
    check_equal(item_names(program, win), ["NAS-BETA", "NAS-ALPHA"], "list after the rescan")
    check(selected(pages.list_items(program, win)[0]), "first unit not selected after the rescan")
    check_equal(pages.details(program, win), BETA, "details after the rescan")
    # The bar counts 50 timer steps and then hides itself; steps run late on a
    # busy machine, so allow for that.
    bar = program.find(win, role=pyatspi.ROLE_PROGRESS_BAR)
    wait_for(lambda: not showing(bar), 3, "the progress bar to hide itself")
    program.screenshot("13-rescan-done")

    pages.check_shown_once(program)  # rescans leave the search window alone

    # Close, Cancel in the middle of a search: the search goes on and ends.
    program.click_button(win, T.RESCAN)
    pages.wait_requests(requests, 3)
    pages.cancel_close(program, win)
    pages.wait_scan_end(program, win)
    check_equal(item_names(program, win), ["NAS-BETA", "NAS-ALPHA"], "list after Cancel")

    # Close, OK in the middle of a search: the process ends at once, cleanly.
    program.click_button(win, T.RESCAN)
    pages.wait_requests(requests, 4)
    pages.close_with_ok(program, win)
    check_equal(len(opened(3)), 3, "opener calls in all")
    log("exit status 0")


main(scenario)
