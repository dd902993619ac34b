"""Drives the real agelark on a desktop of its own (x11_session.sh,
wayland_session.sh) as a screen reader does: controls are found through AT-SPI
by role and name, pressed through their action, and their text set and read
through its interfaces. Frames, placement and closing go through the window
manager, keys through xdotool, where a screen reader has no keyboard.

A step that fails raises AssertionError, saying why."""

import os
import re
import shutil
import subprocess
import tempfile
import time
from collections import namedtuple

import pyatspi

MAIN, HANDHELD, SAVED, BOX = "Agelark v2.5", "Agelark v2.4 - Nintendo Handhelds", "Saved!", "Agelark"
HERE = os.path.dirname(os.path.abspath(__file__))
PATIENCE = float(os.environ.get("AGELARK_PATIENCE", "1"))  # longer under the sanitizers


def wait(condition, seconds=5, failure=None):
    """Polls `condition` until it returns something true, and returns that; after
    `seconds` (times the patience) returns it anyway, or fails with `failure`.
    A call that fails meanwhile (an object gone, the program busy) counts as false."""
    deadline = time.monotonic() + seconds * PATIENCE
    while True:
        try:
            result = condition()
        except Exception:
            result = None
        if result or time.monotonic() > deadline:
            break
        time.sleep(0.05)
    if not result and failure:
        raise AssertionError(failure() if callable(failure) else failure)
    return result


def showing(a):
    return a.getState().contains(pyatspi.STATE_SHOWING)


def find(within, role, name=None):
    """The first descendant, depth first, with this role and this name or
    description (a label's name is what it shows, its description what it is)."""
    for child in within:
        if child is None:
            continue
        if child.getRoleName() == role and name in (None, child.name, child.description):
            return child
        found = find(child, role, name)
        if found is not None:
            return found
    return None


def press(a):
    action = a.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() == "press":
            return action.doAction(i)
    raise AssertionError(f"'{a.name}' cannot be pressed")


def text(a):
    return a.queryText().getText(0, -1)


def insert(a, words):
    """As if typed at the end, through the editable-text interface."""
    a.queryEditableText().insertText(a.queryText().characterCount, words, len(words.encode()))


def set_text(a, words):
    a.queryEditableText().setTextContents(words)


def run(*command):
    done = subprocess.run(command, capture_output=True, text=True)
    return done.stdout if done.returncode == 0 else ""


def keys(*names):
    """Keys pressed and let go, one after another, into the focused window (xdotool's names)."""
    for key in names:
        subprocess.run(["xdotool", "key", "--delay", "100", key], check=True)


class Frame(namedtuple("Frame", "x y width height left right top bottom")):
    """A window's inside on the screen and the frame the window manager drew around it."""

    @property
    def corner(self):
        return (self.x - self.left, self.y - self.top)

    @property
    def centre(self):
        return (self.x + (self.width + self.right - self.left) / 2, self.y + (self.height + self.bottom - self.top) / 2)


def frame_of(window):
    info, extents = run("xwininfo", "-id", hex(window)), run("xprop", "-id", hex(window), "_NET_FRAME_EXTENTS")
    place = [re.search(label + r":\s+(-?\d+)", info) for label in ("upper-left X", "upper-left Y", "Width", "Height")]
    sides = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", extents)
    return Frame(*(int(m.group(1)) for m in place), *map(int, sides.groups())) if sides and all(place) else None


class Program:
    """A copy of the built program (build/app) in a temporary folder of its own,
    or `executable` as it is; kills what still runs when the `with` ends."""

    def __init__(self, executable=None):
        self.folder = tempfile.mkdtemp(prefix="agelark-")
        if not executable:
            shutil.copytree(os.environ["AGELARK_APP_DIR"], self.folder, dirs_exist_ok=True)
        self.executable = executable or self.path("agelark")
        self.env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", TZ="UTC",
                        XDG_DATA_HOME=self.path("user-data"),
                        LSAN_OPTIONS="suppressions=" + os.path.join(HERE, "lsan_system_libraries.supp"))
        self.wayland, self.process = False, None

    def __enter__(self):
        return self

    def __exit__(self, *_):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.folder, name)

    def fake_clock(self, moment):
        """The wall clock starts at `moment` ("2045-09-29 03:14:05") and runs on; timers keep the real one."""
        self.env.update(LD_PRELOAD="/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1", FAKETIME="@" + moment,
                        FAKETIME_DONT_FAKE_MONOTONIC="1",
                        ASAN_OPTIONS=self.env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0")

    def on_wayland(self):
        self.wayland = True
        self.env["QT_QPA_PLATFORM"] = "wayland"
        self.env.pop("DISPLAY", None)

    def start(self):
        """Starts it and returns its main window once shown (and framed, on X11)."""
        with open(self.path("stderr.txt"), "w") as errors:
            self.process = subprocess.Popen([self.executable], cwd=self.folder, env=self.env,
                                            stdout=subprocess.DEVNULL, stderr=errors)
        pid = self.process.pid
        self.app = wait(lambda: self.ended() or next((a for a in pyatspi.Registry.getDesktop(0)
                                                      if a and a.get_process_id() == pid), None),
                        15, "the program never showed up on the accessibility bus")
        if self.ended():
            raise AssertionError("the program ended at its start: " + self.errors())
        main = self.window(MAIN, 10)
        if not self.wayland:
            wait(lambda: self.frame(MAIN), 10, "the window manager never framed the main window")
        return main

    def window(self, title, seconds=5):
        return wait(lambda: next((w for w in self.app if w.name == title and showing(w)), None), seconds,
                    f"no window '{title}' shown")

    def gone(self, title):
        wait(lambda: not any(w.name == title and showing(w) for w in self.app), 5, f"'{title}' is still shown")

    def control(self, within, role, name):
        """A control of a window, waited for until it is there and showing."""
        return wait(lambda: (lambda c: c if c and showing(c) else None)(find(within, role, name)), 5,
                    f"no {role} '{name}' showing in '{within.name}'")

    def page(self, main, name):
        press(self.control(main, "page tab", name))
        return self.control(main, "filler", name)

    def pad(self):
        """The notes pad, on the main window's Custom page."""
        main = self.window(MAIN)
        self.page(main, "Custom")
        return self.control(main, "text", "Notes")

    def boxes(self):
        """The message boxes shown now, with their messages (their labels' names)."""
        return [(w, c.name) for w in self.app if w.name == BOX and showing(w)
                for c in w if c.getRoleName() == "label" and c.name]

    def box(self, phrase, seconds=5):
        return wait(lambda: next((b for b, said in self.boxes() if phrase in said), None), seconds,
                    lambda: f"no box saying '{phrase}'; boxes shown: {[said for _, said in self.boxes()]}")

    def ok(self, box):
        press(find(box, "push button", "OK"))
        wait(lambda: not showing(box), 5, "the box stayed open after its OK")

    # The window manager's view (X11 only).
    def window_id(self, title):
        for line in run("wmctrl", "-lp").splitlines():  # "0x00200006  0 11755  host Title with spaces"
            m = re.match(r"(0x[0-9a-f]+)\s+-?\d+\s+(\d+)\s+\S+ (.*)$", line)
            if m and int(m.group(2)) == self.process.pid and m.group(3) == title:
                return int(m.group(1), 16)
        return None

    def frame(self, title):
        window = self.window_id(title)
        return frame_of(window) if window else None

    def settled_frame(self, title):
        """The frame once the window is framed and has stopped moving (the same twice, 0.3 s apart)."""
        def still():
            before = self.frame(title)
            time.sleep(0.3)
            return before if before and before == self.frame(title) else None
        return wait(still, 5, f"'{title}' was never framed and still")

    def close(self, title):
        """Its close box, through the window manager."""
        window = wait(lambda: self.window_id(title), 3, f"the window manager has no window '{title}'")
        run("wmctrl", "-i", "-c", hex(window))

    def ended(self):
        return self.process.poll() is not None

    def errors(self):
        with open(self.path("stderr.txt"), errors="replace") as f:
            return f.read()

    def alive(self):
        if self.ended():
            raise AssertionError(f"the program ended with {self.process.returncode}: {self.errors()}")

    def ended_normally(self):
        """It ends as a user's close ends it: status 0, no crash, no sanitizer report."""
        try:
            status = self.process.wait(10 * PATIENCE)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end")
        if status != 0 or any(report in self.errors() for report in ("Sanitizer", "runtime error:")):
            raise AssertionError(f"the program ended with {status}: {self.errors()}")
