"""The demo's three units: the actions each one offers, a Japanese host name
carried from the wire to the screen, and a unit without a disk model."""

import os

import guide_texts as T
import pages
from mrv_e2e import check_equal, main, showing, wait_for

OFFICE = ["NAS-OFFICE", "192.168.1.50", "255.255.255.0", "192.168.1.1", "ST3250310AS",
          "250 GB", "100 GB", "40%"]
REMOTE = ["NAS-REMOTE", "10.10.0.20", "255.255.255.0", "10.10.0.1", "ST380815AS",
          "80 GB", "71 GB", "90%"]
KEIRI = ["経理部NAS", "192.168.1.60", "255.255.255.0", "192.168.1.1", "", "0 MB", "0 MB", "0%"]


def offered(program, win):
    """(share, web, settings): each shown and enabled."""
    return tuple(pages.button_state(program, win, c) == (True, True)
                 for c in (T.SHARE, T.WEB, T.SETTINGS))


def scenario(program):
    win = pages.first_scan(program, os.environ["MRV_REQUEST_LOG"])
    names = [i.name for i in pages.list_items(program, win)]
    check_equal(names, ["NAS-OFFICE", "NAS-REMOTE", "経理部NAS"], "list in reply order")
    check_equal(pages.details(program, win), OFFICE, "details of the unit in the subnet")
    check_equal(offered(program, win), (True, True, True), "actions for the unit in the subnet")
    program.screenshot("20-demo-office")

    program.click(pages.list_items(program, win)[1], "NAS-REMOTE")
    wait_for(lambda: pages.details(program, win) == REMOTE, 5, "details of NAS-REMOTE")
    check_equal(offered(program, win), (False, False, True), "actions outside the subnet")
    for caption in (T.SHARE, T.WEB):
        check_equal(showing(program.button(win, caption)), False, caption + " shown")
    program.screenshot("21-demo-other-subnet")

    program.click(pages.list_items(program, win)[2], "経理部NAS")
    wait_for(lambda: pages.details(program, win) == KEIRI, 5, "details of 経理部NAS")
    check_equal(offered(program, win), (True, True, True), "actions without a disk model")
    program.screenshot("22-demo-japanese-name")

    pages.close_with_ok(program, win)


main(scenario)
