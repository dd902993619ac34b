"""Two copies of the program on one program folder, both saving the notes at
the same moment: exactly one writes, the other asks; Cancel keeps its pad, and
the file holds one text whole."""

import unittest

import desktop
from desktop import BOX, MAIN, SAVED, find, press, text

CHANGED = "has been changed by another program, or by another copy of Agelark"


class TwoCopies(unittest.TestCase):
    def test_saving_at_once(self):
        with desktop.Program() as a, desktop.Program(a.path("agelark")) as b:
            b.env["XDG_DATA_HOME"] = a.path("user-data")
            a.start()
            b.start()
            desktop.insert(a.pad(), "from copy A")
            desktop.insert(b.pad(), "from copy B")
            saves = [p.control(p.window(MAIN), "push button", "Save Changes") for p in (a, b)]
            for save in saves:
                press(save)
            asked = desktop.wait(lambda: next(p for p in (a, b) if any(CHANGED in s for _, s in p.boxes())), 5,
                                 "neither copy asked")
            wrote = b if asked is a else a
            press(wrote.control(wrote.window(SAVED), "push button", "OK"))
            press(find(asked.box(CHANGED), "push button", "Cancel"))
            asked.gone(BOX)
            name = {a: "A", b: "B"}
            with open(a.path("Notes.txt"), "rb") as f:
                self.assertEqual(f.read(), b"Notes\r\nfrom copy " + name[wrote].encode())
            self.assertEqual(text(asked.pad()), "Notes\nfrom copy " + name[asked])
            for p in (a, b):
                p.close(MAIN)
                p.ended_normally()
