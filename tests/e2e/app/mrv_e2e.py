"""Driving the real mrv7k2-setup from outside, as a person would: reading the
screen through the accessibility tree, clicking with the X pointer, taking
screenshots. Runs on a desktop made by desktop.sh."""

import os
import subprocess
import sys
import time

import pyatspi

APP_TITLE = "MRV-7K2"
SEARCH_TITLE = "NAS検索..."
# A scan lasts 3000 ms; Qt's coarse timers may end it up to 5 % early.
MIN_SCAN_S = 2.8
# The root window property whose change shows that xev listens.
XEV_MARK = "MRV_E2E_XEV_LISTENS"


class Failure(Exception):
    pass


def log(*args):
    print("e2e:", *args, flush=True)


def wait_for(predicate, timeout, what):
    """Polls predicate until it returns something true; bounded in time."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        try:
            result = predicate()
            if result:
                return result
        except Exception as error:  # the tree changes under our feet
            last_error = error
        time.sleep(0.1)
    raise Failure(f"timed out after {timeout} s waiting for {what}"
                  + (f" (last error: {last_error})" if last_error else ""))


def check(condition, message):
    if not condition:
        raise Failure(message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise Failure(f"{what}: expected {expected!r}, got {actual!r}")


def states(acc):
    return acc.getState()


def showing(acc):
    return acc is not None and states(acc).contains(pyatspi.STATE_SHOWING)


def enabled(acc):
    return states(acc).contains(pyatspi.STATE_ENABLED)


def selected(acc):
    return states(acc).contains(pyatspi.STATE_SELECTED)


def descendants(root, limit=2000):
    """Breadth-first walk, bounded: a broken tree cannot keep us here."""
    queue = [root]
    seen = 0
    while queue and seen < limit:
        node = queue.pop(0)
        seen += 1
        yield node
        try:
            queue.extend(c for c in node if c is not None)
        except Exception:
            pass


def text_of(acc):
    """What a person reads in the control."""
    try:
        t = acc.queryText()
        return t.getText(0, t.characterCount)
    except NotImplementedError:
        pass
    # A password field publishes no text at all; its name is its label's.
    if acc.getRole() == pyatspi.ROLE_PASSWORD_TEXT:
        return ""
    # An empty label tied to a caption is named after the caption.
    if any(c.name == acc.name for c in related(acc, pyatspi.RELATION_LABELLED_BY)):
        return ""
    return acc.name


def related(acc, relation):
    """The objects acc stands in this relation to (labelled by, label for)."""
    return [r.getTarget(i) for r in acc.getRelationSet() if r.getRelationType() == relation
            for i in range(r.getNTargets())]


def extents(acc):
    return acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def keys(*names):
    """Presses keys on the focused window, then gives the program time to answer."""
    subprocess.run(["xdotool", "key", "--delay", "80", *names], check=True, timeout=10)
    time.sleep(0.2)


class Program:
    """One run of the program, started and watched by the scenario."""

    def __init__(self, binary, artifacts, extra_env=None):
        self.binary = binary
        self.artifacts = artifacts
        os.makedirs(artifacts, exist_ok=True)
        # Every top-level window the X server maps or unmaps, from before the
        # program starts: a window that flashes up for a moment shows here.
        self.xev_path = os.path.join(artifacts, "x-map-events.txt")
        self._xev_out = open(self.xev_path, "wb")
        self.xev = subprocess.Popen(["xev", "-root", "-event", "substructure", "-event",
                                     "property"],
                                    stdout=self._xev_out, stderr=subprocess.DEVNULL)
        wait_for(self._xev_saw_mark, 10, "xev to listen")
        env = dict(os.environ)
        env.update(extra_env or {})
        self.stderr_path = os.path.join(artifacts, "program-stderr.txt")
        self._stderr = open(self.stderr_path, "wb")
        # Taken before the start, so that elapsed() never says too little.
        self.started = time.monotonic()
        self.process = subprocess.Popen([binary], env=env, stdout=self._stderr,
                                        stderr=self._stderr)
        log("started", binary, "pid", self.process.pid)

    def _xev_saw_mark(self):
        """Changes a property of the root window; true once xev reports it."""
        subprocess.run(["xprop", "-root", "-f", XEV_MARK, "8s", "-set", XEV_MARK, "1"],
                       check=True, timeout=10)
        with open(self.xev_path, encoding="utf-8", errors="replace") as f:
            return XEV_MARK in f.read()

    def elapsed(self):
        return time.monotonic() - self.started

    # --- the accessibility tree ---------------------------------------
    def application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            try:
                if app.get_process_id() == self.process.pid:
                    return app
            except Exception:
                continue
        return None

    def window(self, title):
        app = self.application()
        if app is None:
            return None
        for w in app:
            if w is not None and w.name == title:
                return w
        return None

    def wait_window_showing(self, title, timeout):
        return wait_for(lambda: (lambda w: w if showing(w) else None)(self.window(title)),
                        timeout, f"window {title!r} to show")

    def wait_window_gone(self, title, timeout):
        wait_for(lambda: not showing(self.window(title)), timeout,
                 f"window {title!r} to close")

    def find(self, root, role=None, name=None, predicate=None):
        for node in descendants(root):
            if role is not None and node.getRole() != role:
                continue
            if name is not None and node.name != name:
                continue
            if predicate is not None and not predicate(node):
                continue
            return node
        return None

    def find_all(self, root, role):
        return [n for n in descendants(root) if n.getRole() == role]

    def button(self, window, caption):
        b = self.find(window, role=pyatspi.ROLE_PUSH_BUTTON, name=caption)
        check(b is not None, f"no button {caption!r}")
        return b

    def value_beside(self, window, caption):
        """The value label standing right of a caption label, on its line."""
        cap = self.find(window, role=pyatspi.ROLE_LABEL, name=caption)
        check(cap is not None, f"no caption label {caption!r}")
        ce = extents(cap)
        best = None
        for lab in self.find_all(window, pyatspi.ROLE_LABEL):
            # An empty value label takes its caption as its name: tell them
            # apart by place (the test below), not by name.
            if lab is cap:
                continue
            e = extents(lab)
            if abs(e.y - ce.y) <= 3 and e.x > ce.x + ce.width - 2:
                if best is None or e.x < extents(best).x:
                    best = lab
        check(best is not None, f"no value label right of {caption!r}")
        return text_of(best)

    # --- what the X server saw -----------------------------------------
    def x_window(self, title_regex):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title_regex],
                             capture_output=True, text=True, timeout=10).stdout.split()
        check(len(out) == 1, f"expected one window named {title_regex!r} on screen, got {out}")
        return int(out[0])

    def times_mapped(self, window_id):
        """How often the window was put on screen since the program started."""
        self._xev_out.flush()
        with open(self.xev_path, encoding="utf-8", errors="replace") as f:
            lines = f.read().splitlines()
        count = 0
        for header, detail in zip(lines, lines[1:]):
            if header.startswith("MapNotify event") and \
                    f"window {window_id:#x}," in detail.replace("  ", " "):
                count += 1
        return count

    # --- acting as a person -------------------------------------------
    def click(self, acc, what=""):
        check(showing(acc), f"{what or acc.name!r} is not on screen")
        e = extents(acc)
        x, y = e.x + e.width // 2, e.y + e.height // 2
        # No --sync: it waits for a pointer motion that never comes when the
        # pointer already stands there.
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.05", "click", "1"],
                       check=True, timeout=10)
        log("clicked", repr(what or acc.name), "at", x, y)

    def click_button(self, window, caption):
        b = self.button(window, caption)
        check(enabled(b), f"button {caption!r} is disabled")
        self.click(b, caption)

    def screenshot(self, name):
        path = os.path.join(self.artifacts, name + ".png")
        subprocess.run(["import", "-window", "root", path], check=True, timeout=30)
        log("screenshot", path)
        return path

    # --- the end ------------------------------------------------------
    def wait_exit(self, timeout):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"program still running {timeout} s after it should have ended")

    def stop(self):
        for p in (self.process, self.xev):
            if p.poll() is None:
                p.kill()
                p.wait(timeout=10)
        self._stderr.close()
        self._xev_out.close()

    def stderr_text(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode("utf-8", "replace")


def main(scenario):
    """Runs scenario(program) and maps the outcome to an exit status."""
    binary = os.environ["MRV_PROGRAM"]
    artifacts = os.environ["MRV_ARTIFACTS"]
    program = Program(binary, artifacts)
    status = 1
    try:
        scenario(program)
        status = 0
        log("PASS")
    except Exception as failure:  # a broken step fails the scenario, never hangs it
        log("FAIL:", type(failure).__name__, failure)
        try:
            program.screenshot("failure")
        except Exception:
            pass
    finally:
        program.stop()
        text = program.stderr_text()
        if text.strip():
            log("program stderr:\n" + text)
    sys.exit(status)
