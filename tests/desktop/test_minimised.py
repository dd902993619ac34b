"""Minimised windows as the user meets them: Handhelds brings the handheld
window back onto the main window's corner; a minimised main window counts on
unseen, is right when it comes back, and the 2600's limit reached meanwhile
starts it over with the notice."""

import re
import time
import unittest

import desktop
from desktop import HANDHELD, MAIN, press, run

START = 3 * 3600 + 13 * 60 + 48  # 03:13:48 on the 2600's last day, in seconds of the day
LIMIT = START + 20  # 03:14:08, the 2600's first second past its limit


def minimised(p, title):
    return "Iconic" in run("xprop", "-id", hex(p.window_id(title)), "WM_STATE")


def minimise(p, title, minimising=True):
    """Through the window manager, as a title bar's button and a task bar do."""
    run(*(["xdotool", "windowminimize", str(p.window_id(title))] if minimising else
          ["wmctrl", "-i", "-a", hex(p.window_id(title))]))
    desktop.wait(lambda: minimised(p, title) == minimising, 3, f"'{title}' did not minimise or come back")


def second_of_day(result):
    """The time part of a count from midnight ("9772 Days, 03:13:50 Ago"), in seconds."""
    h, m, s = re.search(r"(\d\d):(\d\d):(\d\d) Ago", result).groups()
    return int(h) * 3600 + int(m) * 60 + int(s)


class Minimised(unittest.TestCase):
    def test_handhelds_brings_the_handheld_window_back(self):
        with desktop.Program() as p:
            main = p.start()
            p.page(main, "Nintendo")
            press(p.control(main, "push button", "Handhelds"))
            p.frames(HANDHELD)  # framed first: the window manager minimises only what it manages
            minimise(p, HANDHELD)
            press(p.control(main, "push button", "Handhelds"))
            desktop.wait(lambda: not minimised(p, HANDHELD), 3, "the handheld window stayed minimised")
            self.assertEqual(p.frames(HANDHELD)[-1].corner, p.frames(MAIN)[-1].corner)
            p.close(MAIN)
            p.ended_normally()

    def test_minimised_main_window_counts_on_and_tells_the_limit(self):
        with desktop.Program() as p:
            p.fake_clock("2045-09-29 03:13:48")
            started = time.monotonic()
            main = p.start()
            p.page(main, "Sony")
            press(p.control(main, "push button", "PS2"))
            p.page(main, "Atari")
            press(p.control(main, "push button", "2600"))
            desktop.wait(lambda: "Days" in p.control(main, "label", "Atari result").name, 3, "the 2600 did not count")
            minimise(p, MAIN)
            time.sleep(1.5)  # a second or more goes by unseen
            minimise(p, MAIN, False)
            for counted in ("Atari result", "Sony result"):  # the PS2 on its page, unseen either way
                label = desktop.find(p.window(MAIN), "label", counted)
                off = lambda: abs(second_of_day(label.name) - (START + time.monotonic() - started))
                desktop.wait(lambda: off() <= 1.5, 1, lambda: f"{counted} is {off():.1f} s off")  # as AT-SPI hears it
            self.assertLess(START + time.monotonic() - started, LIMIT, "too slow to see the counts before the limit")

            minimise(p, MAIN)  # the limit passes unseen: found within a second, the window starts over and says so
            box = desktop.wait(lambda: next(b for b, said in p.boxes() if "no longer functions" in said), 25, "no notice")
            told = START + time.monotonic() - started
            self.assertLess(told, LIMIT + 2 * desktop.PATIENCE, f"told at {told:.1f}, the limit was at {LIMIT}")
            self.assertFalse(minimised(p, MAIN))
            p.ok(box)
            p.close(MAIN)
            p.ended_normally()


if __name__ == "__main__":
    unittest.main()
