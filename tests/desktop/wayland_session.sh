#!/usr/bin/env bash
# Runs a command on a Wayland desktop of its own: weston's headless backend
# with its desktop shell, a private D-Bus session and the accessibility bus.
# No X display: programs started from here are native Wayland clients.
#   wayland_session.sh COMMAND [ARG...]
set -euo pipefail

if [ "${1:-}" != "--inside-session" ]; then
  session=$(mktemp -d)
  trap 'rm -rf "$session"' EXIT
  export XDG_RUNTIME_DIR="$session/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  unset DISPLAY
  # A private session bus for the program, the accessibility bus and the driver.
  AGELARK_SESSION_DIR=$session dbus-run-session -- bash "$0" --inside-session "$@"
  exit $?
fi
shift

# The socket lies in this session's own runtime folder; the name only has to
# be unique there.
export WAYLAND_DISPLAY=agelark-desktop
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 \
  >"$AGELARK_SESSION_DIR/weston.log" 2>&1 &
compositor=$!
bus=
trap 'kill "$compositor" $bus 2>/dev/null || true; wait "$compositor" $bus 2>/dev/null || true' EXIT

for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { echo "weston did not start:" >&2; cat "$AGELARK_SESSION_DIR/weston.log" >&2; exit 1; }
source "$(dirname "$0")/accessibility_bus.sh"
start_accessibility_bus "$AGELARK_SESSION_DIR/a11y.log"

"$@"
