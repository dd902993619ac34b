"""Windows where the user expects them, measured by the frames the window
manager (openbox) draws: the handheld and "Saved!" windows on the main window's
corner, a message box centred over the framed window it concerns, a rebuilt
main window where the user moved the old one; each from its first show on.
The windows have fixed sizes: their frames offer neither resizing nor
maximising."""

import unittest

import desktop
from desktop import BOX, HANDHELD, MAIN, SAVED, press, run

MOVED_TO = (96, 152)  # away from the screen's centre, where openbox puts a new window, and from its corner

ROWS = [  # the page, a date typed there, the button pressed; what opens (a title, or a box's words), where
    ("handheld window", "Nintendo", None, "Handhelds", HANDHELD, "corner"),
    ("Saved!", "Custom", None, "Save Changes", SAVED, "corner"),
    ("warning over the framed main window", "Atari", None, "Visit {qAv}", "Could not open", "centre"),
    ("notice over the rebuilt main window", "Custom", "banana", "Submit", "Improper Format!", "centre"),
]


def offered(window):
    actions = run("xprop", "-id", hex(window), "_NET_WM_ALLOWED_ACTIONS")
    return {a for a in ("CLOSE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE") if "_ACTION_" + a in actions}


class Placement(unittest.TestCase):
    def test_where_windows_open(self):
        for name, page, typed, button, opens, where in ROWS:
            with self.subTest(name), desktop.Program() as p:
                p.env["PATH"] = p.path("nothing here")  # no program opens the site: Visit warns
                main = p.start()
                run("wmctrl", "-i", "-r", hex(p.window_id(MAIN)), "-e", "1,%d,%d,-1,-1" % MOVED_TO)
                desktop.wait(lambda: p.frame(MAIN).corner == MOVED_TO, 3, "the main window did not move")
                shown = p.page(main, page)
                if typed:
                    desktop.insert(p.control(shown, "text", "Count-up from date"), typed)
                press(p.control(shown, "push button", button))
                box = opens not in (HANDHELD, SAVED) and p.box(opens)
                title = BOX if box else opens
                seen, main_frame = p.frames(title), p.frames(MAIN)[-1]
                self.assertEqual(main_frame.corner, MOVED_TO)  # the rebuilt window's too
                tolerance = 3 if where == "centre" else 1
                for frame in seen:
                    off = [a - b for a, b in zip(getattr(frame, where), getattr(main_frame, where))]
                    self.assertTrue(max(map(abs, off)) <= tolerance, f"{where} off by {off}: {frame}, {main_frame}")
                for window in (title, MAIN):
                    self.assertEqual(offered(p.window_id(window)), {"CLOSE"}, window)
                if box:
                    p.ok(box)
                p.close(MAIN)
                p.ended_normally()
