"""Drives the real agelark on a desktop of its own (session.sh) as a screen reader does, through
AT-SPI; frames and closing go through the window manager, keys through xdotool. A step that
fails raises AssertionError, saying why."""

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
    """Polls `condition` until it returns something true, and returns that; after `seconds` (times
    the patience) fails with `failure`, or returns anyway. A call failing (an object gone) counts as false."""
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
    return a and a.getState().contains(pyatspi.STATE_SHOWING)


def find(within, role, name=None):
    """The first descendant with this role and name or description (a label's name is what it shows)."""
    for child in filter(None, within):
        if child.getRoleName() == role and name in (None, child.name, child.description):
            return child
        found = find(child, role, name)
        if found:
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
    """The whole text replaced, as a screen reader's command to set a box's text does."""
    a.queryEditableText().setTextContents(words)


def run(*command):
    done = subprocess.run(command, capture_output=True, text=True, timeout=10)
    return done.stdout if done.returncode == 0 else ""


def keys(*names):
    """Into the focused window, one after another (xdotool's names: "Tab", "shift+Tab")."""
    for key in names:
        subprocess.run(["xdotool", "key", "--delay", "100", key], check=True)


class Frame(namedtuple("Frame", "x y width height left right top bottom")):
    """A window's inside on the screen, and the frame the window manager drew around it."""
    corner = property(lambda f: (f.x - f.left, f.y - f.top))
    centre = property(lambda f: (f.x + (f.width + f.right - f.left) / 2, f.y + (f.height + f.bottom - f.top) / 2))


class Program:
    """A copy of build/app in a temporary folder, or `executable` as it is; killed when its `with` ends."""

    def __init__(self, executable=None):
        self.folder = tempfile.mkdtemp(prefix="agelark-")
        if not executable:
            shutil.copytree(os.environ["AGELARK_APP_DIR"], self.folder, dirs_exist_ok=True)
        self.executable = executable or self.path("agelark")
        self.x11 = "DISPLAY" in os.environ  # else natively on the session's Wayland compositor
        self.env = dict(os.environ, QT_QPA_PLATFORM="xcb" if self.x11 else "wayland", TZ="UTC",
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_DATA_HOME=self.path("user-data"),
                        LSAN_OPTIONS="suppressions=" + os.path.join(HERE, "lsan_system_libraries.supp"))
        if not self.x11:  # Mesa's EGL leaks from a driver it unloads: only the whole stack tells whose the leak is
            self.env["ASAN_OPTIONS"] = self.env.get("ASAN_OPTIONS", "") + ":fast_unwind_on_malloc=0"

    def __enter__(self):
        return self

    def __exit__(self, *_):
        if getattr(self, "process", None) and self.process.poll() is None:
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

    def start(self):
        """Starts it and returns its main window once shown (and framed, on X11)."""
        with open(self.path("stderr.txt"), "w") as errors:
            self.process = subprocess.Popen([self.executable], cwd=self.folder, env=self.env,
                                            stdout=subprocess.DEVNULL, stderr=errors)
        self.app = wait(lambda: self.ended() or next(a for a in pyatspi.Registry.getDesktop(0)
                                                     if a and a.get_process_id() == self.process.pid),
                        15, "the program never showed up on the accessibility bus")
        self.alive()
        main = self.window(MAIN, 10)
        if self.x11:
            wait(lambda: self.frame(MAIN), 10, lambda: "the window manager never framed it: " + run("wmctrl", "-lp"))
        return main

    def window(self, title, seconds=5):
        return wait(lambda: next(w for w in self.app if w.name == title and showing(w)), seconds,
                    f"no window '{title}' shown")

    def gone(self, title):
        wait(lambda: not any(w.name == title and showing(w) for w in self.app), 5, f"'{title}' is still shown")

    def control(self, within, role, name):
        """A control of a window, waited for until it is there and showing."""
        return wait(lambda: (lambda c: showing(c) and c)(find(within, role, name)), 5,
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

    def box(self, phrase):
        return wait(lambda: next(b for b, said in self.boxes() if phrase in said), 5,
                    lambda: f"no box saying '{phrase}'; boxes shown: {[said for _, said in self.boxes()]}")

    def ok(self, box):
        press(find(box, "push button", "OK"))
        wait(lambda: not showing(box), 5, "the box stayed open after its OK")

    def window_id(self, title):
        """The X window of that title, as the window manager lists the program's windows."""
        for line in run("wmctrl", "-lp").splitlines():  # "0x00200006  0 11755  host Title with spaces"
            m = re.match(r"(0x[0-9a-f]+)\s+-?\d+\s+(\d+)\s+\S+ (.*)$", line)
            if m and int(m.group(2)) == self.process.pid and m.group(3) == title:
                return int(m.group(1), 16)
        return None

    def frame(self, title):
        window = self.window_id(title)
        if not window:
            return None
        info, extents = run("xwininfo", "-id", hex(window)), run("xprop", "-id", hex(window), "_NET_FRAME_EXTENTS")
        place = [re.search(label + r":\s+(-?\d+)", info)
                 for label in ("upper-left X", "upper-left Y", "Width", "Height")]
        sides = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", extents)  # left, right, top, bottom
        return Frame(*(int(m.group(1)) for m in place), *map(int, sides.groups())) if sides and all(place) else None

    def frames(self, title):
        """Each frame the window is seen with, from now until it has stood still for half a second."""
        seen, since = [], [0]

        def still():
            frame = self.frame(title)
            if frame and frame not in seen[-1:]:
                seen.append(frame)
                since[0] = time.monotonic()
            return seen and time.monotonic() - since[0] > 0.5
        wait(still, 5, f"'{title}' was never framed and still")
        return seen

    def close(self, title):
        """Its close box, through the window manager."""
        run("wmctrl", "-i", "-c", hex(wait(lambda: self.window_id(title), 3, f"the window manager has no '{title}'")))

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
        wait(self.ended, 10, "the program did not end")
        if self.process.returncode != 0 or any(report in self.errors() for report in ("Sanitizer", "runtime error:")):
            raise AssertionError(f"the program ended with {self.process.returncode}: {self.errors()}")
