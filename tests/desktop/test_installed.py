"""Run by tests/packaging/check_install_unprivileged.sh as a user who may not
write the installed program folder: the notes are read from the folder's
Notes.txt while the user has no copy of their own; the first save makes the
user's own copy and says so, the copy is read back at the next start, and the
folder's file stays."""

import os
import unittest

import desktop
from desktop import MAIN, SAVED, press, text

LAUNCHER, FOLDER = os.environ.get("AGELARK_INSTALLED"), os.environ.get("AGELARK_INSTALLED_FOLDER")


def content(path):
    with open(path, "rb") as f:
        return f.read()


@unittest.skipUnless(LAUNCHER, "run by tests/packaging/check_install_unprivileged.sh")
class Installed(unittest.TestCase):
    def test_users_own_copy(self):
        data = os.environ["XDG_DATA_HOME"]
        own, shared = os.path.join(data, "Agelark", "Notes.txt"), content(os.path.join(FOLDER, "Notes.txt"))
        self.assertFalse(os.path.exists(own))
        with desktop.Program(LAUNCHER) as p:
            p.env["XDG_DATA_HOME"] = data
            p.start()
            self.assertEqual(text(p.pad()), "shared notes\n")
            desktop.insert(p.pad(), "mine")
            press(p.control(p.window(MAIN), "push button", "Save Changes"))
            p.ok(p.box(f"Your notes were saved to your own copy, {own}, because the notes file beside the program"))
            press(p.control(p.window(SAVED), "push button", "OK"))
            self.assertEqual(p.boxes(), [])
            self.assertEqual(content(own), b"shared notes\r\nmine")
            self.assertEqual(content(os.path.join(FOLDER, "Notes.txt")), shared)
            p.close(MAIN)
            p.ended_normally()
        with desktop.Program(LAUNCHER) as again:
            again.env["XDG_DATA_HOME"] = data
            again.start()
            self.assertEqual(text(again.pad()), "shared notes\nmine")
            again.close(MAIN)
            again.ended_normally()
