"""What only a real desktop shows: a window manager, a screen reader, a sound server, two processes, Wayland,
another user. Each class runs in a desktop session of its own (CMakeLists.txt)."""

import os
import re
import time
import unittest

import pyatspi

from desktop import (BOX, HANDHELD, MAIN, PATIENCE, SAVED, Program, ScreenReader, find_all, insert, press, run,
                     showing, spawn, text, wait)

MOVED_TO = (96, 152)  # away from the screen's centre, where openbox puts a new window, and from its corner


def clock_of(count):  # the time part of a count from midnight ("9772 Days, 03:13:50 Ago"), in seconds of the day
    h, m, s = map(int, re.search(r"(\d\d):(\d\d):(\d\d) Ago", count).groups())
    return h * 3600 + m * 60 + s


class Windows(unittest.TestCase):
    """Placed by their frames from their first show on, not resizable; read as frames, boxes as alerts; date
    boxes nobody can change; the save heard; a rebuild due under a box waits for it; the close box asks."""

    def placed(self, p, title, where):
        seen, main = p.frames(title), p.frames(MAIN)[-1]
        self.assertEqual(main["corner"], MOVED_TO)  # a rebuilt main window's too
        off = max(abs(a - b) for frame in seen for a, b in zip(frame[where], main[where]))
        self.assertLessEqual(off, 3 if where == "centre" else 1, f"{title}: {seen}, {main}")
        for window in (title, MAIN):
            offered = set(re.findall(r"_NET_WM_ACTION_(\w+)", run("xprop", "-id", p.window_id(window), "_NET_WM_ALLOWED_ACTIONS")))
            self.assertEqual({"CLOSE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE"} & offered, {"CLOSE"}, window)

    def refuses(self, box, shown):
        insert(box, "1")
        box.queryEditableText().setTextContents("01/01/2001")
        self.assertFalse(wait(lambda: text(box) != shown, 0.5), f"'{box.name}' took an edit")

    def test_windows(self):
        p = Program(self)
        p.env["PATH"] = p.path("nothing here")  # no program opens the site: Visit warns
        speakers = p.path("speakers.raw")  # the session's null sink, 8-bit: silence is 128
        spawn(self, ["parec", "-d", "speakers.monitor", "--raw", "--rate=8000", "--format=u8", "--channels=1",
                     "--latency-msec=20"], stdout=open(speakers, "wb"))
        main = p.start()
        # The five lines between a page's buttons and its picture; nothing inside reads as a window.
        self.assertEqual((len(find_all(main, "separator")), find_all(main, "frame")), (5, []))
        run("wmctrl", "-i", "-r", p.window_id(MAIN), "-e", "1,%d,%d,-1,-1" % MOVED_TO)
        wait(lambda: p.frame(MAIN)["corner"] == MOVED_TO, 3, "the main window did not move")
        # Counted up from 2^31 - 20 seconds ago, a count that passes its limit while the Visit warning is open.
        limit = time.monotonic() + 20 * PATIENCE
        date = time.strftime("%m/%d/%Y %H:%M:%S", time.gmtime(time.time() - 2**31 + 20 * PATIENCE))
        since = p.control(p.page("Custom"), "text", "Count-up from date")
        since.queryEditableText().setTextContents(date)  # taken while the box takes typing
        wait(lambda: text(since) == date, 2, "a screen reader could not set the date")
        p.press("Custom", "Submit")
        before = os.path.getsize(speakers)
        p.press("Custom", "Save Changes")
        self.placed(p, SAVED, "corner")
        wait(lambda: max(abs(b - 128) for b in open(speakers, "rb").read()[before:]) > 4, 3, "the save was not heard")
        p.press("Sony", "PS2")
        self.refuses(since, date)
        self.refuses(find_all(main, "text", "Sony count-from date")[0], "03/04/2000")
        insert(p.pad(), "not saved yet")
        p.press("Sony", "Visit website")
        warning = p.box("Could not open")
        self.assertEqual(warning.getRoleName(), "alert")
        self.placed(p, BOX, "centre")
        self.assertLess(time.monotonic(), limit, "too slow to open the warning before the count's limit")
        wait(p.ended, (limit + 2 - time.monotonic()) / PATIENCE)  # the limit passes under it: the rebuild waits
        shown = [said for _, said in p.boxes()]
        self.assertTrue(len(shown) == 1 and "Could not open" in shown[0] and not p.ended(), f"boxes shown: {shown}")
        p.ok(warning)
        notice = p.box("Improper Format!")  # the window started over
        self.placed(p, BOX, "centre")
        main = p.window(MAIN)
        press(p.control(main, "push button", "Reset"))  # a screen reader's press, under the notice: refused
        p.ok(notice)
        self.assertFalse(wait(lambda: not showing(main) or p.boxes(), 1), "Reset under the notice was not refused")
        p.press("Custom", "Reset")
        wait(lambda: not showing(main), 3, "Reset did not start the window over")
        self.assertIn("not saved yet", text(p.pad()))  # what was typed stays, through both rebuilds
        p.press("Nintendo", "Handhelds")
        self.placed(p, HANDHELD, "corner")
        p.minimise(HANDHELD)
        p.press("Nintendo", "Handhelds")  # brings it back, onto the corner
        wait(lambda: not p.minimised(HANDHELD), 3, "the handheld window stayed minimised")
        self.assertEqual(p.frames(HANDHELD)[-1]["corner"], MOVED_TO)
        self.assertEqual([w.getRoleName() for w in p.app if showing(w)], ["frame"] * 3)  # main, handheld, Saved!
        self.refuses(find_all(p.window(HANDHELD), "text", "Handheld count-from date")[0], "Then")  # from the start
        p.close("Cancel", ending=False)  # asked about the unsaved notes: Cancel keeps the window, Discard ends all
        p.close("Discard")


class Minimised(unittest.TestCase):
    """A minimised main window counts on unseen, is right when it comes back, and the 2600's limit reached
    meanwhile is told within a second, the window started over."""

    def test_counts_on_and_tells_the_limit(self):
        p = Program(self, clock="2045-09-29 03:13:48")  # the 2600's last day; its limit is 20 seconds on
        start = clock_of("03:13:48 Ago") - time.monotonic()
        now, limit = lambda: start + time.monotonic(), clock_of("03:14:08 Ago")
        p.start()
        p.press("Sony", "PS2")
        p.press("Atari", "2600")
        wait(lambda: "Days" in p.control(p.window(MAIN), "notification", "Atari result").name, 3, "the 2600 did not count")
        p.minimise(MAIN)
        time.sleep(1.5)  # a second or more goes by unseen
        p.minimise(MAIN, False)
        for counted in ("Atari result", "Sony result"):  # the PS2 on its page, unseen either way
            label = find_all(p.window(MAIN), "notification", counted)[0]
            wait(lambda: abs(clock_of(label.name) - now()) <= 1.5, 1, lambda: f"{label.name} at {now():.1f}")
        self.assertLess(now(), limit, "too slow to see the counts before the limit")
        p.minimise(MAIN)
        box = p.box("no longer functions", 25)
        self.assertLess(now(), limit + 2 * PATIENCE, f"told at {now():.1f}, the limit was at {limit}")
        self.assertFalse(p.minimised(MAIN))
        p.ok(box)
        p.close()


def contrast(a, b):  # of two colours (r, g, b), as the accessibility guidelines define it
    lum = [0.05 + sum(w * (v / 3295 if v <= 10 else ((v / 255 + 0.055) / 1.055) ** 2.4) for w, v in
                      zip((0.2126, 0.7152, 0.0722), c)) for c in (a, b)]
    return max(lum) / min(lum)


class TwoCopies(unittest.TestCase):
    """Two copies on one folder, the second under a dark style: the texts it colours read at 4.5:1 or more on
    screen; saving at one moment, one copy writes, the other asks, and the file holds one text whole."""

    def test_styles_and_saving_at_once(self):
        changed = "has been changed by another program, or by another copy of Agelark"
        a = Program(self)
        b = Program(self, a.path("agelark"))
        b.env.update(XDG_DATA_HOME=a.path("user-data"), QT_STYLE_OVERRIDE="Adwaita-Dark")
        for p, words in ((a, "from copy A"), (b, "from copy B")):
            p.start()  # the second over the first
            insert(p.control(p.page("Custom"), "text", "Count-up from date"), "01/01/2015")
            p.press("Custom", "Submit")
            wait(lambda: "Days" in p.control(p.window(MAIN), "notification", "Custom result").name, 3, "no count-up")
            for role, name in (("notification", "Custom result"), ("label", "Clock")):
                x, y, w, h = p.control(p.window(MAIN), role, name).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                shown = run("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "-depth", "8",
                            "-format", "%c", "histogram:info:-")  # a line a colour: "  4760: (55,55,55) #373737"
                counts = sorted((int(n), tuple(map(int, c.split(","))))
                                for n, c in re.findall(r"(\d+): \(([\d,]+)\)", shown))
                ground = counts[-1][1]  # the most of the box; the glyphs' cores, the colour farthest from it
                ink = max((c for n, c in counts if n >= 4), key=lambda c: contrast(c, ground))
                self.assertEqual(sum(ground) < 384, p is b, f"the style drew {name} on {ground}")
                self.assertGreaterEqual(contrast(ink, ground), 4.5, f"{name}: {ink} on {ground}")
            insert(p.pad(), words)
        for save in [p.control(p.window(MAIN), "push button", "Save Changes") for p in (a, b)]:
            press(save)
        asked = wait(lambda: next(p for p in (a, b) if any(changed in s for _, s in p.boxes())), 5, "neither asked")
        wrote = b if asked is a else a
        wrote.ok(wrote.window(SAVED))
        asked.ok(asked.box(changed), "Cancel")
        self.assertEqual(open(a.path("Notes.txt"), "rb").read(), b"Notes\r\nfrom copy " + (b"A" if wrote is a else b"B"))
        self.assertEqual(text(asked.pad()), "Notes\nfrom copy " + ("A" if asked is a else "B"))
        wrote.close()
        asked.close("Discard")


class WindowSystem(unittest.TestCase):
    """A stale DISPLAY beside a headless weston: it runs on Wayland and ends cleanly on SIGTERM, as a session's
    end ends it; with no window system at all it says so in one line, status 1."""

    def test_stale_display_and_none(self):
        p = Program(self)
        for variable in ("QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"):
            p.env.pop(variable, None)
        self.assertRaisesRegex(AssertionError, "ended with 1", p.start)
        self.assertRegex(p.errors, r"^agelark: no window system .*DISPLAY is not set.*WAYLAND_DISPLAY is not "
                                   r"set.*Start Agelark from your desktop session[^\n]*\n$")
        p = Program(self)
        p.env.pop("QT_QPA_PLATFORM")  # the program chooses
        p.env["DISPLAY"] = next(f":{n}" for n in range(400, 500) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
        p.start()
        self.assertIn("libqwayland", open(f"/proc/{p.process.pid}/maps").read())
        p.press("Sony", "PS2")
        wait(lambda: "Days" in p.control(p.window(MAIN), "notification", "Sony result").name, 3, "the PS2 does not count")
        p.process.terminate()
        p.alive(ended=True)


AGE = r"\d+ Days, \d\d:\d\d:\d\d"


class Speech(unittest.TestCase):
    """What Orca tells a blind user at the keyboard. A row: where the focus is put first through AT-SPI ("page/
    role/name" of a control, or "page/page tab list"), the keys (xdotool names, 'text' typed, or "typing": spaces
    until a message box shows), what must then be heard and what must not (a row with nothing to hear listens for
    two seconds). The 2600's notice comes on its own, 20 seconds after the start."""

    ROWS = [
        ("the 2600 counts", "Atari/push button/2600", "space", r"Atari 2600 was released.*" + AGE, None),
        ("its notice outlasts keys typed as it comes", "Custom/text/Notes", "typing", "no longer functions", None),
        ("a page entered names no bare container", "Atari/page tab list", "Tab Tab", "5200 push button", "layered pane"),
        ("a console pressed tells its age", None, "space", r"Atari 5200 was released.*" + AGE, None),
        ("... once, not at each tick", None, "", None, AGE),
        ("where am I tells the age now", None, "KP_Enter", r"5200 push button.*" + AGE, None),
        ("flat review of a page shown by the tab bar, no placeholders", "Microsoft/page tab list",
         "Right KP_Add KP_Add", r"Notes.*\d\d:\d\d:\d\d.*Submit", r"aNow|cusNow|Atari current date| [AP]M\b"),
        ("Enter in the date box submits, told", "Custom/text/Count-up from date", "'01/01/2015' Return", AGE, None),
        ("Shift+Tab from Submit to the date box", "Custom/push button/Submit", "shift+Tab", "Count-up from date", None),
        ("Reset", "Custom/push button/Reset", "space", "Custom page tab list", None),
        ("a date typed", "Custom/text/Count-up from date", "'01/01/2015'", None, None),
        ("Space on Submit submits, told", "Custom/push button/Submit", "space", AGE, None),
        ("Ctrl+Tab from a button", "Atari/push button/5200", "ctrl+Tab", "Nintendo page tab", None),
        ("Ctrl+PageDown from the notes pad", "Custom/text/Notes", "ctrl+Next", "Atari page tab", None),
        ("Ctrl+Shift+Tab from the notes pad", "Custom/text/Notes", "ctrl+shift+Tab", "Microsoft page tab", None),
    ]

    def test_keyboard_and_speech(self):
        reader, p = ScreenReader(self), Program(self, clock="2045-09-29 03:13:48")  # the 2600's limit 20 s on
        p.start()
        reader.hear("page tab list", 0, 10)
        for name, at, keys, hear, never in self.ROWS:
            with self.subTest(name):
                for box, _ in p.boxes():  # left open by the row before
                    p.ok(box)
                if at:
                    page, role, label = (at.split("/") + [None])[:3]
                    before, shown = len(reader.heard()), p.page(page)
                    control = p.control(shown if label else p.window(MAIN), role, label)
                    control.queryComponent().grabFocus()
                    wait(lambda: control.getState().contains(pyatspi.STATE_FOCUSED), 3, f"{label} took no focus")
                    wait(lambda: (label or role) in reader.heard(before), 2)  # said, unless it had the focus
                if keys == "typing":  # until it maps, and twice more before anyone could hear it
                    since = len(reader.heard())
                    wait(lambda: run("xdotool", "key", "space") or p.window_id(BOX), 25)
                    run("xdotool", "key", "--delay", "100", "space", "space")
                    reader.hear("OK push button", since, 10)  # its speech gave way to the keys' echo:
                    keys = "KP_Add KP_Add"  # a flat review reads it
                since = len(reader.heard())
                for key in keys.split():  # xdotool's key names, or 'text' typed as it is
                    run(*["xdotool", "type", "--delay", "50", key[1:-1]] if key[0] == "'" else ["xdotool", "key", key])
                reader.hear(hear, since, 10) if hear else wait(lambda: False, 2)
                if never:
                    self.assertNotRegex(reader.heard(since), never)
        p.close("Discard")  # the spaces typed into the notes


@unittest.skipUnless(os.environ.get("AGELARK_INSTALLED"), "run by tests/packaging/check_install_unprivileged.sh")
class Installed(unittest.TestCase):
    """Installed where the user may not write: the notes saved to the user's own copy without a word and read
    back next time; Visit opens the installed About page through xdg-open."""

    def test_own_copy_and_about_page(self):
        opened = os.path.join(os.environ["HOME"], "opened")
        prefix = os.environ["AGELARK_INSTALLED"].removesuffix("/bin/agelark")
        for first in (True, False):
            p = Program(self, os.environ["AGELARK_INSTALLED"])
            p.env["XDG_DATA_HOME"] = os.environ["XDG_DATA_HOME"]
            p.start()
            self.assertEqual(text(p.pad()), "Notes\n" + "mine" * (not first))
            if first:
                insert(p.pad(), "mine")
                p.press("Custom", "Save Changes")
                p.ok(p.window(SAVED))
                p.press("Sony", "Visit website")
                wait(lambda: os.path.exists(opened), 5, "Visit opened nothing")
                self.assertEqual(open(opened).read(), prefix + "/share/agelark/about.html")
            self.assertEqual(p.boxes(), [])  # no picture missing, no notice
            p.close()
