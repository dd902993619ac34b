"""The program as a screen reader meets it through AT-SPI: windows read as
frames, message boxes as alerts, the lines on a page as separators, a result
as the count it shows and what it is; and a date box the keyboard cannot
change cannot be changed through AT-SPI either."""

import re
import unittest

import desktop
from desktop import HANDHELD, SAVED, find, press, text


def all_with_role(within, role):
    found = []
    for child in within:
        found += ([child] if child.getRoleName() == role else []) + all_with_role(child, role)
    return found


class Access(unittest.TestCase):
    def test_roles_and_names(self):
        with desktop.Program() as p:
            main = p.start()
            self.assertEqual(main.getRoleName(), "frame")
            # The five lines between a page's buttons and its picture; nothing inside reads as a window.
            self.assertEqual(len(all_with_role(main, "separator")), 5)
            self.assertEqual(all_with_role(main, "frame"), [])
            p.page(main, "Sony")
            press(p.control(main, "push button", "PS2"))
            result = p.control(main, "label", "Sony result")
            desktop.wait(lambda: re.search(r"\d+ Days, \d\d:\d\d:\d\d", result.name), 3, "the result reads no count")
            self.assertEqual(result.description, "Sony result")

            p.page(main, "Nintendo")
            press(p.control(main, "push button", "Handhelds"))
            self.assertEqual(p.window(HANDHELD).getRoleName(), "frame")
            p.page(main, "Custom")
            press(p.control(main, "push button", "Save Changes"))
            self.assertEqual(p.window(SAVED).getRoleName(), "frame")
            press(p.control(p.window(SAVED), "push button", "OK"))
            press(p.control(main, "push button", "Submit"))
            box = p.box("Improper Format!")
            self.assertEqual(box.getRoleName(), "alert")
            p.ok(box)
            p.close(desktop.MAIN)
            p.ended_normally()

    def test_locked_boxes_refuse_edits(self):
        with desktop.Program() as p:
            main = p.start()
            p.page(main, "Custom")
            since = p.control(main, "text", "Count-up from date")
            desktop.set_text(since, "01/01/2015")  # taken while the box takes typing
            desktop.wait(lambda: text(since) == "01/01/2015", 2, "a screen reader could not set the date")
            press(p.control(main, "push button", "Submit"))
            desktop.wait(lambda: text(find(main, "text", "Custom current date")) != "cusNow", 3, "no count-up")
            p.page(main, "Sony")
            press(p.control(main, "push button", "PS2"))
            p.page(main, "Nintendo")
            press(p.control(main, "push button", "Handhelds"))
            boxes = [  # counting from it, disabled from the start, the handheld window's
                (p.window(desktop.MAIN), "Count-up from date", "01/01/2015"),
                (p.window(desktop.MAIN), "Sony count-from date", "03/04/2000"),
                (p.window(HANDHELD), "Handheld count-from date", "Then"),
            ]
            for window, name, shown in boxes:
                box = find(window, "text", name)
                desktop.insert(box, "1")
                desktop.set_text(box, "01/01/2001")
                self.assertFalse(desktop.wait(lambda: text(box) != shown, 0.5), f"'{name}' took an edit")
            p.close(desktop.MAIN)
            p.ended_normally()


if __name__ == "__main__":
    unittest.main()
