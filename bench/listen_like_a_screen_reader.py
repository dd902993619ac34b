#!/usr/bin/python3
# Listens on the accessibility bus for what a screen reader listens for (names
# and texts that change, carets, states, focus), so that programs send those
# events at all: Qt's bridge sends only the events someone has asked for.
# Counts them, and says how many it heard when it is ended (SIGTERM).
# Uses Debian's python3-pyatspi, hence /usr/bin/python3.
import signal
import sys

import pyatspi

heard = 0


def on_event(_event):
    global heard
    heard += 1


def stop(*_):
    print(f"screen reader stand-in heard {heard} accessibility events", file=sys.stderr)
    pyatspi.Registry.stop()


pyatspi.Registry.registerEventListener(
    on_event,
    "object:property-change:accessible-name",
    "object:text-changed",
    "object:text-caret-moved",
    "object:state-changed",
    "object:children-changed",
    "focus:",
)
signal.signal(signal.SIGTERM, stop)
print("listening", flush=True)
pyatspi.Registry.start()
