"""The program on a 2x screen (Xft.dpi 192, as a desktop sets it): every
window twice its size in device pixels and still in the middle of the
screen. The pictures, icons and texts are judged on the screenshots; the
dialog and the close question are opened with keys, since the accessibility
tree gives positions in unscaled pixels."""

import subprocess

import guide_texts as T
import pages
from mrv_e2e import check_equal, main

SCREEN = (2560, 1600)


def geometry(title_regex):
    wid = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title_regex],
                         capture_output=True, text=True, timeout=10).stdout.split()[0]
    info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True,
                          timeout=10).stdout
    value = {l.split(":")[0].strip(): int(l.split(":")[1]) for l in info.splitlines()
             if l.strip().startswith(("Absolute upper-left", "Width", "Height"))}
    return (value["Width"], value["Height"], value["Absolute upper-left X"],
            value["Absolute upper-left Y"])


def check_centred(title_regex, size, what):
    width, height, x, y = geometry(title_regex)
    check_equal((width, height), size, f"size of the {what}")
    centre = ((SCREEN[0] - width) // 2, (SCREEN[1] - height) // 2)
    # The window with its frame is centred: the title bar moves the client
    # area down by up to its height.
    check_equal((abs(x - centre[0]) <= 2, 0 <= y - centre[1] <= 40), (True, True),
                f"the {what} at {x},{y} in the middle")


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "200", *names], check=True, timeout=10)


def scenario(program):
    program.wait_window_showing("NAS検索...", 15)
    check_centred("^NAS", (574, 128), "search window")
    program.screenshot("01-search-window")
    win = program.wait_window_showing("MRV-7K2", 15)
    pages.wait_scan_end(program, win)
    check_centred("^MRV-7K2$", (1304, 1076), "main window")
    program.screenshot("10-main-window")
    keys("Tab", "space")
    program.wait_window_showing("設定", 5)
    check_centred("^設定$", (656, 556), "settings dialog")
    program.screenshot("20-settings-dialog")
    keys("Escape")
    program.wait_window_gone("設定", 5)
    keys("Tab", "space")
    program.wait_window_showing(T.CLOSE_TITLE, 5)
    program.screenshot("30-close-question")
    keys("Return")
    check_equal(program.wait_exit(10), 0, "exit status")


main(scenario)
