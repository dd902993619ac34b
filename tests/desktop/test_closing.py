"""The windows closed by their close boxes, through the window manager, in
each order a user may close them: the program ends once the main window is
closed, whatever else is loaded, and not before."""

import unittest

import desktop
from desktop import HANDHELD, MAIN, SAVED, find, press, text

ROWS = [  # the handheld window open, "Saved!" ("", "shown" or "hidden"), closed before the main window
    ("main window, the handheld and the hidden Saved! loaded", True, "hidden", []),
    ("main window, Saved! shown", False, "shown", []),
    ("handheld window, then the main window", True, "", [HANDHELD]),
    ("Saved! by its close box, then the main window", False, "shown", [SAVED]),
    ("handheld, Saved!, then the main window", True, "shown", [HANDHELD, SAVED]),
]


class Closing(unittest.TestCase):
    def test_closing_orders(self):
        for name, handheld, saved, closed_first in ROWS:
            with self.subTest(name), desktop.Program() as p:
                main = p.start()
                p.page(main, "Sony")
                press(p.control(main, "push button", "PS2"))
                if handheld:
                    p.page(main, "Nintendo")
                    press(p.control(main, "push button", "Handhelds"))
                    press(p.control(p.window(HANDHELD), "push button", "GB"))
                if saved:
                    p.page(main, "Custom")
                    press(p.control(main, "push button", "Save Changes"))
                    confirmation = p.window(SAVED)
                    if saved == "hidden":
                        press(p.control(confirmation, "push button", "OK"))
                        p.gone(SAVED)
                for title in closed_first:
                    p.close(title)
                    p.gone(title)
                    # The main window stays, and its console goes on counting.
                    p.alive()
                    self.assertTrue(p.window_id(MAIN))
                    now = find(main, "text", "Sony current date")
                    before = text(now)
                    desktop.wait(lambda: text(now) != before, 2.5, f"the count stopped at '{before}'")
                p.close(MAIN)
                p.ended_normally()
