"""A rebuild of the main window that comes while one of its message boxes is
open waits for the box: the program neither crashes nor loses the pad's unsaved
text, and the rebuild's notice follows once the box is closed."""

import datetime
import os
import time
import unittest

import desktop
from desktop import MAIN, find, press, text

UNSAVED = "not saved yet"


def watch(p, seconds):
    """Waits out `seconds` of real time, unless the program ends before."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline and not p.ended():
        time.sleep(0.05)


def start_with_unsaved_notes(p):
    p.start()
    desktop.insert(p.pad(), UNSAVED)
    return p.window(MAIN)


def atari_limit_under_visit_warning(p):
    # The 2600 reaches its limit at 03:14:08, ten seconds after the start; no program opens the site.
    p.fake_clock("2045-09-29 03:13:58")
    p.env["PATH"] = p.path("nothing here")
    limit = time.monotonic() + 10
    main = start_with_unsaved_notes(p)
    p.page(main, "Atari")
    press(p.control(main, "push button", "2600"))
    desktop.wait(lambda: "24855 Days, 03:1" in find(main, "label", "Atari result").name, 3, "the 2600 does not count")
    press(p.control(p.control(main, "filler", "Atari"), "push button", "Visit {qAv}"))
    return "Could not open", lambda: watch(p, limit + 2 - time.monotonic()), "no longer functions correctly"


def custom_limit_under_save_warning(p):
    # A count-up from 2^31 - 8 seconds ago passes its limit eight seconds later. The save fails: the
    # notes beside the program may not be written, and the user's own folder cannot be made.
    os.chmod(p.path("Notes.txt"), 0o444)
    p.env["XDG_DATA_HOME"] = p.path("Notes.txt/data")
    main = start_with_unsaved_notes(p)
    limit = time.monotonic() + 8
    then = datetime.datetime.now(datetime.timezone.utc) - datetime.timedelta(seconds=2**31 - 8)
    desktop.insert(p.control(main, "text", "Count-up from date"), f"{then.month}/{then.day}/{then:%Y %H:%M:%S}")
    press(p.control(main, "push button", "Submit"))
    desktop.wait(lambda: text(find(main, "text", "Custom current date")) != "cusNow", 3, "no count-up")
    press(p.control(main, "push button", "Save Changes"))
    return "Could not save", lambda: watch(p, limit + 2 - time.monotonic()), "Improper Format!"


def reset_under_improper_format(p):
    main = start_with_unsaved_notes(p)
    desktop.insert(p.control(main, "text", "Count-up from date"), "banana")
    press(p.control(main, "push button", "Submit"))

    def reset():  # in the rebuilt window, under the box: a screen reader's press, refused as a click would be
        press(p.control(p.window(MAIN), "push button", "Reset"))
        watch(p, 1.5)
    return "Improper Format!", reset, None


ROWS = [atari_limit_under_visit_warning, custom_limit_under_save_warning, reset_under_improper_format]


class RebuildUnderBox(unittest.TestCase):
    def test_rebuild_waits_for_the_open_box(self):
        for arrange in ROWS:
            with self.subTest(arrange.__name__), desktop.Program() as p:
                phrase, meanwhile, notice = arrange(p)
                box = p.box(phrase)
                meanwhile()
                p.alive()
                shown = [said for _, said in p.boxes()]
                self.assertTrue(len(shown) == 1 and phrase in shown[0], f"boxes shown: {shown}")
                p.ok(box)
                if notice:
                    p.ok(p.box(notice))
                else:
                    watch(p, 1)
                    self.assertEqual(p.boxes(), [])
                self.assertIn(UNSAVED, text(p.pad()))
                p.close(MAIN)
                p.ended_normally()
