#!/usr/bin/env bash
# Runs a command on a desktop of its own: an Xvfb display, the openbox window
# manager, a private D-Bus session and the accessibility bus, as a user's
# session has them. Several of these may run side by side (ctest -j).
#   x11_session.sh COMMAND [ARG...]
set -euo pipefail

if [ "${1:-}" != "--inside-session" ]; then
  session=$(mktemp -d)
  trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$session"' EXIT
  # Xvfb picks a free display number itself (-displayfd), so parallel runs never
  # race for one; -noreset keeps it from resetting, and refusing connections
  # meanwhile, each time its last client (an early wmctrl) goes.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$session/display" 2>"$session/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$session/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$session/xvfb.log" >&2; exit 1; }
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$session/display")"
  export XDG_RUNTIME_DIR="$session/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  # A private session bus for the program, the accessibility bus and the driver.
  AGELARK_SESSION_DIR=$session dbus-run-session -- bash "$0" --inside-session "$@"
  exit $?
fi
shift

openbox --sm-disable >"$AGELARK_SESSION_DIR/openbox.log" 2>&1 &
wm=$!
bus=
trap 'kill "$wm" $bus 2>/dev/null || true; wait "$wm" $bus 2>/dev/null || true' EXIT

# The window manager is up once it has announced itself on the root window.
for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
wmctrl -m >/dev/null 2>&1 || { echo "openbox did not start on $DISPLAY:" >&2; cat "$AGELARK_SESSION_DIR/openbox.log" >&2; exit 1; }
source "$(dirname "$0")/accessibility_bus.sh"
start_accessibility_bus "$AGELARK_SESSION_DIR/a11y.log"

"$@"
