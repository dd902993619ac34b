"""Drives the real agelark on a desktop of its own (session.sh) as a screen reader does, through AT-SPI, and its
frames through the window manager. A failed step raises AssertionError; what a case starts ends with it."""

import os
import pathlib
import re
import shutil
import subprocess
import tempfile
import time

import pyatspi

MAIN, HANDHELD, SAVED, BOX = "Agelark v2.5", "Agelark v2.4 - Nintendo Handhelds", "Saved!", "Agelark"
PATIENCE = float(os.environ.get("AGELARK_PATIENCE", "1"))  # longer under the sanitizers


def wait(condition, seconds=5, failure=None):
    """`condition`'s first true result within `seconds` times the patience, a call failing (an object gone)
    counting as false; past them, fails with `failure` or returns the false one."""
    deadline = time.monotonic() + seconds * PATIENCE
    while True:
        try:
            result = condition()
        except Exception:
            result = None
        if result or time.monotonic() > deadline:
            if result or not failure:
                return result
            raise AssertionError(failure() if callable(failure) else failure)
        time.sleep(0.05)


def spawn(case, command, **options):
    process = subprocess.Popen(command, **options)
    case.addCleanup(lambda: process.kill() or process.wait())
    return process


def folder(case, prefix):
    made = tempfile.mkdtemp(prefix=prefix)
    case.addCleanup(shutil.rmtree, made, ignore_errors=True)
    return made


def showing(a):
    return a and a.getState().contains(pyatspi.STATE_SHOWING)


def find_all(within, role, name=None):
    """Every descendant with this role and name or description (a label's name is what it shows)."""
    return [found for child in filter(None, within) for found in
            [child] * (child.getRoleName() == role and name in (None, child.name, child.description))
            + find_all(child, role, name)]


def press(a):
    action = a.queryAction()
    next(action.doAction(i) for i in range(action.nActions) if action.getName(i).lower() == "press")


def text(a):
    return a.queryText().getText(0, -1)


def insert(a, words):  # as if typed at the end
    a.queryEditableText().insertText(a.queryText().characterCount, words, len(words.encode()))


def run(*command):
    done = subprocess.run(command, capture_output=True, text=True, timeout=10)
    return done.stdout if done.returncode == 0 else ""


class ScreenReader:
    """Orca on this session's bus, speaking through a speech-dispatcher of its own whose one voice appends each
    utterance to a file: what a blind user hears. Orca's debug log in AGELARK_ORCA_LOG's file, if set."""

    def __init__(self, case):
        home = folder(case, "orca-")
        self.spoken, socket, conf = (os.path.join(home, n) for n in ("spoken.txt", "speechd.sock", "speechd"))
        os.makedirs(os.path.join(conf, "modules"))
        # The null sink stands in for a sound card.
        pathlib.Path(conf, "speechd.conf").write_text('AddModule "file" "sd_generic" "file.conf"\n'
                                                      'DefaultModule file\nAudioOutputMethod "pulse"\n')
        pathlib.Path(conf, "modules", "file.conf").write_text(  # GenericExecuteSynth "printf '%s\\n' \'$DATA\' >> FILE"
            f'GenericExecuteSynth "printf \'%s\\\\n\' \\\'$DATA\\\' >> {self.spoken}"\nAddVoice "en" "MALE1" "x"\n')
        # Orca refuses to start beside any Orca of this user, in any session, that its pgrep finds: this finds none.
        os.symlink("/bin/false", os.path.join(home, "pgrep"))
        env = dict(os.environ, HOME=home, SPEECHD_ADDRESS="unix_socket:" + socket, PATH=home + ":" + os.environ["PATH"])
        log = open(os.path.join(home, "log.txt"), "w")
        spawn(case, ["speech-dispatcher", "-s", "-t", "0", "-C", conf, "-S", socket], env=env, stdout=log, stderr=log)
        wait(lambda: os.path.exists(socket), 10, "speech-dispatcher did not start")
        debug = ["--debug-file", os.environ["AGELARK_ORCA_LOG"]] if os.environ.get("AGELARK_ORCA_LOG") else []
        spawn(case, ["orca", "-u", os.path.join(home, "settings")] + debug, env=env, stdout=log, stderr=log)
        self.hear("Screen reader on", 0, 30)

    def heard(self, since=0):
        return pathlib.Path(self.spoken).read_text(errors="replace")[since:]

    def hear(self, pattern, since, seconds=5):
        return wait(lambda: re.search(pattern, self.heard(since), re.S), seconds,
                    lambda: f"never heard /{pattern}/; heard: {self.heard(since)!r}")


class Program:
    """A copy of build/app in a temporary folder, or `executable` as it is; killed when `case` ends. The wall
    clock may start at `clock` ("2045-09-29 03:14:05") and run on; timers keep the real one."""

    def __init__(self, case, executable=None, clock=None):
        self.case, self.folder = case, folder(case, "agelark-")
        if not executable:
            shutil.copytree(os.environ["AGELARK_APP_DIR"], self.folder, dirs_exist_ok=True)
        self.executable = executable or self.path("agelark")
        self.x11 = "DISPLAY" in os.environ  # else natively on the session's Wayland compositor
        self.env = dict(os.environ, QT_QPA_PLATFORM="xcb" if self.x11 else "wayland", TZ="UTC", LC_ALL="C.UTF-8",
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_DATA_HOME=self.path("user-data"), QT_STYLE_OVERRIDE="")
        if not self.x11:  # Mesa's EGL leaks from a driver it unloads: only the whole stack tells whose the leak is
            self.env["ASAN_OPTIONS"] = self.env.get("ASAN_OPTIONS", "") + ":fast_unwind_on_malloc=0"
        if clock:
            self.env.update(LD_PRELOAD="/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1", FAKETIME="@" + clock,
                            FAKETIME_DONT_FAKE_MONOTONIC="1",
                            ASAN_OPTIONS=self.env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0")

    def path(self, name):
        return os.path.join(self.folder, name)

    def start(self):
        """Returns its main window once shown (and framed, on X11)."""
        with open(self.path("stderr.txt"), "w") as errors:
            self.process = spawn(self.case, [self.executable], cwd=self.folder, env=self.env,
                                 stdout=subprocess.DEVNULL, stderr=errors)
        self.app = wait(lambda: self.ended() or next(a for a in pyatspi.Registry.getDesktop(0)
                                                     if a and a.get_process_id() == self.process.pid),
                        15, "the program never showed up on the accessibility bus")
        self.alive()
        if self.x11:
            wait(lambda: self.frame(MAIN), 10, lambda: "the window manager never framed it: " + run("wmctrl", "-lp"))
        return self.window(MAIN, 10)

    def ended(self):
        return self.process.poll() is not None

    def alive(self, ended=False):
        """Fails unless it runs; or, `ended`, unless it ends as a close ends it: status 0, no sanitizer report."""
        if ended:
            wait(self.ended, 10, "the program did not end")
        self.errors = open(self.path("stderr.txt"), errors="replace").read()
        if self.process.poll() != (0 if ended else None) or re.search("Sanitizer|runtime error:", self.errors):
            raise AssertionError(f"the program ended with {self.process.poll()}: {self.errors}")

    def window(self, title, seconds=5):
        return wait(lambda: next(w for w in self.app if w.name == title and showing(w)), seconds,
                    f"no window '{title}' shown")

    def control(self, within, role, name):
        return wait(lambda: next(c for c in find_all(within, role, name) if showing(c)), 5,
                    f"no {role} '{name}' showing in '{within.name}'")

    def page(self, name):  # selected by its tab
        press(self.control(self.window(MAIN), "page tab", name))
        return self.control(self.window(MAIN), "filler", name)

    def press(self, page, button):
        press(self.control(self.page(page), "push button", button))

    def pad(self):
        return self.control(self.page("Custom"), "text", "Notes")

    def boxes(self):
        """The message boxes shown now, with their messages (their labels' names)."""
        return [(w, c.name) for w in self.app if w.name == BOX and showing(w)
                for c in w if c.getRoleName() == "label" and c.name]

    def box(self, phrase, seconds=5):
        return wait(lambda: next(b for b, said in self.boxes() if phrase in said), seconds,
                    lambda: f"no box saying '{phrase}'; boxes shown: {[said for _, said in self.boxes()]}")

    def ok(self, box, button="OK"):
        press(find_all(box, "push button", button)[0])
        wait(lambda: not showing(box), 5, f"'{box.name}' stayed open after its {button}")

    def window_id(self, title):
        """The X window of that title among the program's that the window manager lists."""
        return next(window for window, pid, name in re.findall(r"^(0x\w+) +-?\d+ +(\d+) +\S+ (.*)$",
                                                                run("wmctrl", "-lp"), re.M)
                    if int(pid) == self.process.pid and name == title)

    def frame(self, title):
        """Where the window manager has framed the window: its frame's corner and centre on the screen."""
        window = self.window_id(title)
        info, extents = run("xwininfo", "-id", window), run("xprop", "-id", window, "_NET_FRAME_EXTENTS")
        x, y, w, h = (int(re.search(label + r": +(-?\d+)", info)[1]) for label in ("X", "Y", "Width", "Height"))
        left, right, top, bottom = map(int, re.search(r"= (\d+), (\d+), (\d+), (\d+)", extents).groups())
        return {"corner": (x - left, y - top), "centre": (x + (w + right - left) / 2, y + (h + bottom - top) / 2)}

    def frames(self, title):
        """Each frame the window is seen with, from now until it has stood still for half a second."""
        seen = [(None, 0)]  # (frame, since when)
        still = lambda frame: frame == seen[-1][0] or seen.append((frame, time.monotonic()))
        wait(lambda: still(self.frame(title)) and time.monotonic() - seen[-1][1] > 0.5, 5, f"'{title}' never stood still")
        return [frame for frame, _ in seen[1:]]

    def minimised(self, title):
        return "Iconic" in run("xprop", "-id", self.window_id(title), "WM_STATE")

    def minimise(self, title, minimising=True):
        """Through the window manager, as a title bar's button and a task bar do."""
        run(*(["xdotool", "windowminimize", self.window_id(title)] if minimising
              else ["wmctrl", "-i", "-a", self.window_id(title)]))
        wait(lambda: self.minimised(title) == minimising, 3, f"'{title}' did not minimise or come back")

    def close(self, answer=None, ending=True):
        """The main window's close box, through the window manager; `answer` to its question; ending the program."""
        run("wmctrl", "-i", "-c", wait(lambda: self.window_id(MAIN), 3, "the window manager has no main window"))
        if answer:
            self.ok(self.box("not saved"), answer)
        if ending:
            self.alive(ended=True)
