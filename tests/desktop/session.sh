#!/usr/bin/env bash
# Runs a command on a desktop of its own, as a user's session has one: a
# private D-Bus session with the accessibility bus, and either an Xvfb display
# with the openbox window manager (x11) or weston's headless backend with its
# desktop shell and no X display (wayland). Several may run side by side.
#   session.sh x11|wayland COMMAND [ARG...]
set -euo pipefail

if [ "$1" != --inside-session ]; then
  session=$(mktemp -d) xvfb=
  trap 'kill $xvfb 2>/dev/null || true; wait $xvfb 2>/dev/null || true; rm -rf "$session"' EXIT
  export XDG_RUNTIME_DIR="$session/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  unset DISPLAY
  if [ "$1" = x11 ]; then
    # Xvfb picks a free display number itself (-displayfd), so parallel runs never race for one;
    # -noreset keeps it from resetting, and refusing connections meanwhile, each time its last
    # client (an early wmctrl) goes.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$session/display" 2>"$session/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do
      [ -s "$session/display" ] && break
      kill -0 "$xvfb" 2>/dev/null || { cat "$session/xvfb.log" >&2; exit 1; }
      sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$session/display")"
  fi
  AGELARK_SESSION_DIR=$session dbus-run-session -- bash "$0" --inside-session "$@"
  exit $?
fi
kind=$2
shift 2

if [ "$kind" = x11 ]; then
  openbox --sm-disable >"$AGELARK_SESSION_DIR/desktop.log" 2>&1 &
  up() { wmctrl -m >/dev/null 2>&1; }  # once it has announced itself on the root window
else
  export WAYLAND_DISPLAY=agelark-desktop  # a socket in this session's own runtime folder
  weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 >"$AGELARK_SESSION_DIR/desktop.log" 2>&1 &
  up() { [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]; }
fi
desktop=$! bus=
trap 'kill "$desktop" $bus 2>/dev/null || true; wait "$desktop" $bus 2>/dev/null || true' EXIT
for _ in $(seq 100); do up && break; sleep 0.1; done
up || { echo "the $kind desktop did not start:" >&2; cat "$AGELARK_SESSION_DIR/desktop.log" >&2; exit 1; }
source "$(dirname "$0")/accessibility_bus.sh"
start_accessibility_bus "$AGELARK_SESSION_DIR/a11y.log"

"$@"
