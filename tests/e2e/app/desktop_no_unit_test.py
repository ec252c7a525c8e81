"""No unit on the network: the search, then the welcome page; the guide walk
forwards and back; Next on the network page shows the list and rescans;
close with Cancel, then with OK."""

import os

import pyatspi

import guide_texts as T
import pages
from mrv_e2e import check, check_equal, enabled, log, main, showing, wait_for


def scenario(program):
    requests = os.environ["MRV_REQUEST_LOG"]
    win = pages.first_scan(program, requests)

    pages.guide_page(program, win, T.WELCOME, back_shown=False)
    program.screenshot("02-page-welcome")

    program.click_button(win, T.NEXT)
    pages.guide_page(program, win, T.POWER, back_shown=True)
    program.screenshot("03-page-power")

    program.click_button(win, T.NEXT)
    pages.guide_page(program, win, T.NETWORK, back_shown=True)
    program.screenshot("04-page-network")

    program.click_button(win, T.BACK)
    pages.guide_page(program, win, T.POWER, back_shown=True)
    program.click_button(win, T.NEXT)
    pages.guide_page(program, win, T.NETWORK, back_shown=True)
    pages.wait_requests(requests, 1)

    # Next on the network page: the list page at once, and a new search.
    program.click_button(win, T.NEXT)
    pages.wait_requests(requests, 2)
    check_equal(pages.description(program, win), T.DEVICE_LIST, "device-list text")
    check(showing(pages.the_list(program, win)), "the device list is not shown")
    check(not enabled(program.button(win, T.RESCAN)), "NAS更新 is usable during the search")
    bar = program.find(win, role=pyatspi.ROLE_PROGRESS_BAR)
    check(bar is not None and showing(bar), "no progress bar during the search")
    program.screenshot("05-page-list-searching")

    pages.wait_scan_end(program, win)
    check_equal(pages.list_items(program, win), [], "list items")
    check_equal(pages.button_state(program, win, T.SETTINGS), (True, False),
                "設定 (shown, disabled) with no unit")
    check_equal(pages.button_state(program, win, T.BACK), (True, True), "Back after the search")
    check(not showing(program.button(win, T.SHARE)), "共有を開く shown without a unit")
    check(not showing(program.button(win, T.WEB)), "WEB UIを開く shown without a unit")
    # The bar counts 50 timer steps and then hides itself; steps run late on a
    # busy machine, so allow for that.
    wait_for(lambda: not showing(bar), 3, "the progress bar to hide itself")
    program.screenshot("06-page-list-empty")

    # Back from the empty list returns to the network page.
    program.click_button(win, T.BACK)
    pages.guide_page(program, win, T.NETWORK, back_shown=True)
    check_equal(pages.count_requests(requests), 2 * pages.REQUESTS_PER_SCAN,
                "requests after Back (two searches)")

    pages.cancel_close(program, win)
    pages.guide_page(program, win, T.NETWORK, back_shown=True)
    pages.close_with_ok(program, win)
    log("exit status 0")


main(scenario)
