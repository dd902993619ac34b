"""The program as a native Wayland client (weston, headless): it starts,
counts and, asked to end as a desktop ending its session asks (SIGTERM), ends
cleanly. Nothing else can close it here: the headless compositor has no input
devices to reach the close box of its client-side frame."""

import re
import unittest

import desktop
from desktop import press


class Wayland(unittest.TestCase):
    def test_starts_counts_and_ends(self):
        with desktop.Program() as p:
            main = p.start()
            p.page(main, "Sony")
            press(p.control(main, "push button", "PS2"))
            result = p.control(main, "label", "Sony result")
            desktop.wait(lambda: re.search(r"\d+ Days, \d\d:\d\d:\d\d", result.name), 3, "the PS2 does not count")
            p.process.terminate()
            p.ended_normally()
