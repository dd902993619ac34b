"""The program as a screen reader meets it through AT-SPI: windows read as
frames, message boxes as alerts, the lines on a page as separators, a result
as the count it shows and what it is; and a date box the keyboard cannot
change cannot be changed through AT-SPI either."""

import re
import unittest

import desktop
from desktop import HANDHELD, SAVED, find, press, text


def all_with_role(within, role):
    return [found for child in within
            for found in ([child] if child.getRoleName() == role else []) + all_with_role(child, role)]


class Access(unittest.TestCase):
    def test_as_a_screen_reader_meets_it(self):
        with desktop.Program() as p:
            p.env["PATH"] = p.path("nothing here")  # no program opens the site: Visit warns
            main = p.start()
            self.assertEqual(main.getRoleName(), "frame")
            # The five lines between a page's buttons and its picture; nothing inside reads as a window.
            self.assertEqual(len(all_with_role(main, "separator")), 5)
            self.assertEqual(all_with_role(main, "frame"), [])
            sony = p.page(main, "Sony")
            press(p.control(main, "push button", "PS2"))
            result = p.control(main, "label", "Sony result")
            desktop.wait(lambda: re.search(r"\d+ Days, \d\d:\d\d:\d\d", result.name), 3, "the result reads no count")
            self.assertEqual(result.description, "Sony result")
            press(p.control(sony, "push button", "Visit {qAv}"))
            warning = p.box("Could not open")
            self.assertEqual(warning.getRoleName(), "alert")
            p.ok(warning)
            p.page(main, "Nintendo")
            press(p.control(main, "push button", "Handhelds"))
            handheld = p.window(HANDHELD)
            p.page(main, "Custom")
            since = p.control(main, "text", "Count-up from date")
            desktop.set_text(since, "01/01/2015")  # taken while the box takes typing
            desktop.wait(lambda: text(since) == "01/01/2015", 2, "a screen reader could not set the date")
            press(p.control(main, "push button", "Submit"))
            desktop.wait(lambda: text(find(main, "text", "Custom current date")) != "cusNow", 3, "no count-up")
            press(p.control(main, "push button", "Save Changes"))
            self.assertEqual([w.getRoleName() for w in (handheld, p.window(SAVED))], ["frame", "frame"])

            # Counting from it, disabled from the start, the handheld window's.
            for window, name, shown in [(main, "Count-up from date", "01/01/2015"),
                                        (main, "Sony count-from date", "03/04/2000"),
                                        (handheld, "Handheld count-from date", "Then")]:
                box = find(window, "text", name)
                desktop.insert(box, "1")
                desktop.set_text(box, "01/01/2001")
                self.assertFalse(desktop.wait(lambda: text(box) != shown, 0.5), f"'{name}' took an edit")
            p.close(desktop.MAIN)
            p.ended_normally()
