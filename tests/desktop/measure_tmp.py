import os, shutil, sys, unittest
import desktop, test_desktop
orig = desktop.Program.__exit__
def keep(self, *a):
    try: shutil.copy(self.path("stderr.txt"), os.environ["KEEP_STDERR"])
    except Exception as e: print("keep failed", e)
    return orig(self, *a)
desktop.Program.__exit__ = keep
unittest.main(module=test_desktop, argv=["x", "Speech"])
