"""The save's sound is heard: a sound server of its own (PulseAudio, with a
null sink standing for the speakers) plays what the program sends, and a
recording of the sink's monitor is silent until Save Changes, then holds the
confirmation's sound."""

import array
import os
import shutil
import subprocess
import tempfile
import unittest

import desktop
from desktop import SAVED, press


class Sound(unittest.TestCase):
    def test_save_is_heard(self):
        home = tempfile.mkdtemp()  # the server's socket, cookie and state, not the user's
        self.addCleanup(shutil.rmtree, home, True)
        server, recording = "unix:" + os.path.join(home, "native"), os.path.join(home, "speakers.raw")
        self.addCleanup(subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--log-level=error",
             "--load=module-native-protocol-unix auth-anonymous=1 socket=" + server[5:],
             "--load=module-null-sink sink_name=speakers"], env=dict(os.environ, HOME=home, XDG_RUNTIME_DIR=home)).kill)
        desktop.wait(lambda: subprocess.run(["pactl", "-s", server, "info"], capture_output=True).returncode == 0,
                     10, "the PulseAudio server did not start")
        with open(recording, "wb") as out:  # 16-bit mono samples
            self.addCleanup(subprocess.Popen(["parec", "-s", server, "-d", "speakers.monitor", "--raw", "--rate=44100",
                                              "--format=s16le", "--channels=1", "--latency-msec=20"], stdout=out).kill)

        def loudest(since=0):  # of the samples from byte `since` on
            with open(recording, "rb") as f:
                data = f.read()[since:]
            return max(map(abs, array.array("h", data[:len(data) // 2 * 2])), default=0)

        with desktop.Program() as p:
            p.env["PULSE_SERVER"] = server
            main = p.start()
            p.page(main, "Custom")
            desktop.wait(lambda: os.path.getsize(recording) > 88200, 5, "the recording does not run")
            self.assertEqual(loudest(), 0, "a sound before the save")
            before = os.path.getsize(recording) // 2 * 2
            press(p.control(main, "push button", "Save Changes"))
            p.window(SAVED)
            desktop.wait(lambda: loudest(before) > 1000, 3, "nothing was heard after the save")
            p.close(desktop.MAIN)
            p.ended_normally()
