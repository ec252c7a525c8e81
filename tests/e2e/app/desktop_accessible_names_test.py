"""What a screen reader finds in the program, read through the accessibility
tree: in the search window, the main window with the demo's three units and
the settings dialog of the unit in the subnet, every focusable control on
screen has a name, every progress bar too; each octet field says its address
and position; each list item says what its icon shows, the subnet state of
the unit outside it included; each details value is labelled by its caption.
Then Tab through the dialog, writing down the name spoken at each stop."""

import os

import pyatspi

import guide_texts as T
import pages
from mrv_e2e import APP_TITLE, SEARCH_TITLE, check, check_equal, descendants, extents, keys, \
    log, main, related, showing, text_of, wait_for

DIALOG = "設定"
ADDRESSES = ["IPアドレス", "サブネットマスク", "デフォルトゲートウェイ"]
OTHER_SUBNET = "このPCのサブネット外"


def has(acc, state):
    return acc.getState().contains(state)


def check_named(window, what):
    """Every showing focusable control and every progress bar has a name."""
    nameless = []
    for node in descendants(window):
        role = node.getRole()
        focusable = has(node, pyatspi.STATE_SHOWING) and has(node, pyatspi.STATE_FOCUSABLE)
        if (focusable or role == pyatspi.ROLE_PROGRESS_BAR) and not node.name.strip():
            nameless.append(f"{node.getRoleName()} at {tuple(extents(node))[:2]}")
    check(not nameless, f"{what}: controls without a name: {nameless}")


def check_main_window(program, win):
    check_named(win, "main window")
    items = pages.list_items(program, win)
    check_equal(len(items), 3, "units listed")
    for item in items:
        said = item.description
        log(f"list item {item.name!r}: {said!r}")
        check(said, f"list item {item.name!r} has no description")
        check_equal(OTHER_SUBNET in said, item.name == "NAS-REMOTE",
                    f"{item.name!r} said to be outside the subnet")
    for caption in T.CAPTIONS:
        label = program.find(win, role=pyatspi.ROLE_LABEL, name=caption)
        values = related(label, pyatspi.RELATION_LABEL_FOR)
        check(len(values) == 1 and text_of(values[0]) == program.value_beside(win, caption),
              f"caption {caption!r} labels no value, or not the one beside it")


def check_dialog(program, dlg):
    check_named(dlg, "settings dialog")
    fields = sorted((n for n in program.find_all(dlg, pyatspi.ROLE_TEXT)
                     if showing(n) and extents(n).width <= 150),
                    key=lambda n: (extents(n).y, extents(n).x))
    check_equal([f.name for f in fields],
                [f"{a} {i}番目" for a in ADDRESSES for i in range(1, 5)], "octet fields' names")
    # Each address as a whole: its name, and the address it shows.
    for k, name in enumerate(ADDRESSES):
        control = fields[4 * k].parent.parent
        check_equal((control.name, control.description),
                    (name, ".".join(text_of(f) for f in fields[4 * k:4 * k + 4])),
                    f"the address control {name!r}")


def focused_name(window):
    """The name of the deepest focused object: the one a screen reader speaks
    (an address control says it has the focus that its field has)."""
    focused = [n for n in descendants(window) if has(n, pyatspi.STATE_FOCUSED)]
    return focused[-1].name if focused else None


def tab_walk(program, dlg):
    first = wait_for(lambda: focused_name(dlg), 3, "the focus in the dialog")
    spoken = [first]
    for _ in range(15):
        keys("Tab")
        name = wait_for(lambda: focused_name(dlg), 3, "the focus after Tab")
        if name == first:
            break
        spoken.append(name)
    with open(os.path.join(program.artifacts, "tab-spoken.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(spoken) + "\n")
    log("Tab speaks:", " / ".join(spoken))
    check_equal(focused_name(dlg), first, "Tab back to the first stop")
    check(all(n and n.strip() for n in spoken), f"a stop without a name: {spoken}")
    for name in ["ユーザ名", "パスワード", "OK", "キャンセル", "以下の様なIPアドレスを使用"] + \
            [f"{a} 1番目" for a in ADDRESSES]:
        check(name in spoken, f"Tab never reaches {name!r}: {spoken}")


def scenario(program):
    search = program.wait_window_showing(SEARCH_TITLE, 15)
    check_named(search, "search window")
    win = program.wait_window_showing(APP_TITLE, 10)
    wait_for(lambda: len(pages.list_items(program, win)) == 3 or None, 5, "three units")
    check_main_window(program, win)

    office = pages.list_items(program, win)[0]
    program.click(office, "NAS-OFFICE")
    wait_for(lambda: pages.details(program, win)[0] == "NAS-OFFICE", 5, "details of NAS-OFFICE")
    program.click_button(win, T.SETTINGS)
    dlg = program.wait_window_showing(DIALOG, 5)
    check_dialog(program, dlg)
    tab_walk(program, dlg)
    program.click_button(dlg, "キャンセル")
    program.wait_window_gone(DIALOG, 5)
    pages.close_with_ok(program, win)


main(scenario)
