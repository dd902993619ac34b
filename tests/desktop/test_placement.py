"""Windows where the user expects them, measured by the frames the window
manager (openbox) draws: the handheld and "Saved!" windows on the main window's
corner, a message box centred over the framed window it concerns, a rebuilt
main window where the user moved the old one; each from its first show on.
The windows have fixed sizes: their frames offer neither resizing nor
maximising."""

import time
import unittest

import desktop
from desktop import BOX, HANDHELD, MAIN, SAVED, press, run

MOVED_TO = (96, 152)  # away from the screen's centre, where openbox puts a new window, and from its corner


def handheld(p, main):
    p.page(main, "Nintendo")
    press(p.control(main, "push button", "Handhelds"))
    return HANDHELD


def saved(p, main):
    p.page(main, "Custom")
    press(p.control(main, "push button", "Save Changes"))
    return SAVED


def warning(p, main):
    press(p.control(main, "push button", "Visit {qAv}"))  # no program on the PATH opens the site
    p.box("Could not open")
    return BOX


def rebuild(p, main):
    p.page(main, "Custom")
    desktop.insert(p.control(main, "text", "Count-up from date"), "banana")
    press(p.control(main, "push button", "Submit"))
    p.box("Improper Format!")
    return BOX


ROWS = [  # what opens, where its frame lies
    ("handheld window", handheld, "on the corner"),
    ("Saved!", saved, "on the corner"),
    ("warning over the framed main window", warning, "centred"),
    ("notice over the rebuilt main window", rebuild, "centred"),
]


def places(p, title):
    """Each frame the window was seen with, until it stood still for half a second."""
    seen, since = [], [0]

    def still():
        frame = p.frame(title)
        if frame and (not seen or frame.corner != seen[-1].corner):
            seen.append(frame)
            since[0] = time.monotonic()
        return seen and time.monotonic() - since[0] > 0.5
    desktop.wait(still, 5, f"'{title}' was never shown and still")
    return seen


def offered(window):
    actions = run("xprop", "-id", hex(window), "_NET_WM_ALLOWED_ACTIONS")
    return {a for a in ("CLOSE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE") if "_ACTION_" + a in actions}


def near(a, b, pixels):
    return abs(a[0] - b[0]) <= pixels and abs(a[1] - b[1]) <= pixels


class Placement(unittest.TestCase):
    def test_where_windows_open(self):
        for name, open_it, where in ROWS:
            with self.subTest(name), desktop.Program() as p:
                p.env["PATH"] = p.path("nothing here")
                main = p.start()
                run("wmctrl", "-i", "-r", hex(p.window_id(MAIN)), "-e", "1,%d,%d,-1,-1" % MOVED_TO)
                desktop.wait(lambda: p.frame(MAIN).corner == MOVED_TO, 3, "the main window did not move")
                title = open_it(p, main)
                seen = places(p, title)
                main_frame = p.settled_frame(MAIN)
                self.assertEqual(main_frame.corner, MOVED_TO)
                for frame in seen:
                    if where == "centred":
                        self.assertTrue(near(frame.centre, main_frame.centre, 3), f"{frame} over {main_frame}")
                    else:
                        self.assertTrue(near(frame.corner, main_frame.corner, 1), f"{frame} on {main_frame}")
                for window in (title, MAIN):
                    self.assertEqual(offered(p.window_id(window)), {"CLOSE"}, window)
                if title == BOX:
                    p.ok(p.box(""))
                p.close(MAIN)
                p.ended_normally()


if __name__ == "__main__":
    unittest.main()
