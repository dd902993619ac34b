"""Where the program finds a window system (run beside a headless weston): a
DISPLAY left over from an X session that has ended does not stop it, it starts
on Wayland; with no window system at all it says so in one line and ends with
status 1."""

import os
import unittest

import desktop
from desktop import MAIN


def stale_display():
    """An X display that nothing serves, as after an X session ended."""
    return next(f":{n}" for n in range(400, 500) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))


class WindowSystem(unittest.TestCase):
    def test_stale_display_beside_wayland(self):
        with desktop.Program() as p:
            p.env.pop("QT_QPA_PLATFORM")  # the program chooses
            p.env["DISPLAY"] = stale_display()
            p.start()
            with open(f"/proc/{p.process.pid}/maps") as maps:
                self.assertIn("libqwayland", maps.read())
            self.assertEqual(p.window(MAIN).name, MAIN)
            p.process.terminate()  # as a desktop ending its session asks: nobody can reach a close box here
            p.ended_normally()

    def test_no_window_system(self):
        with desktop.Program() as p:
            for variable in ("QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"):
                p.env.pop(variable, None)
            with self.assertRaisesRegex(AssertionError, "ended with 1"):
                p.start()
            self.assertEqual(p.process.returncode, 1)
            lines = p.errors().splitlines()
            self.assertEqual(len(lines), 1, lines)
            self.assertRegex(lines[0], r"^agelark: no window system .*DISPLAY is not set.*WAYLAND_DISPLAY is not set.*"
                                       r"Start Agelark from your desktop session")


if __name__ == "__main__":
    unittest.main()
