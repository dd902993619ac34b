#!/usr/bin/env bash
# session.sh x11|wayland COMMAND [ARG...] runs the command on a desktop of its own, as a user's session has one:
# a private D-Bus session with the accessibility bus, a sound server whose speakers are a null sink, and an Xvfb
# display under the openbox window manager (x11) or weston's headless backend and no X display (wayland).
set -euo pipefail
if [ "$1" != --inside-session ]; then
  XDG_RUNTIME_DIR=$(mktemp -d) xvfb=
  export XDG_RUNTIME_DIR
  trap 'kill $xvfb 2>/dev/null || true; wait $xvfb 2>/dev/null || true; rm -rf "$XDG_RUNTIME_DIR"' EXIT
  unset DISPLAY
  if [ "$1" = x11 ]; then
    # Xvfb takes a free display number itself and tells it once it serves, so parallel runs never race for
    # one; -noreset keeps it from resetting, refusing connections meanwhile, when its last client goes.
    exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>"$XDG_RUNTIME_DIR/xvfb.log")
    xvfb=$!
    read -r -t 10 number <&3 || { cat "$XDG_RUNTIME_DIR/xvfb.log" >&2; exit 1; }
    export DISPLAY=":$number"
  fi
  dbus-run-session -- bash "$0" --inside-session "$@"
  exit
fi
log=$XDG_RUNTIME_DIR/desktop.log
export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/sound
HOME=$XDG_RUNTIME_DIR pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-level=error \
  --load="module-native-protocol-unix auth-anonymous=1 socket=${PULSE_SERVER#unix:}" \
  --load="module-null-sink sink_name=speakers" >"$XDG_RUNTIME_DIR/sound.log" 2>&1 &
sound=$!
if [ "$2" = x11 ]; then
  openbox --sm-disable >"$log" 2>&1 &
  up() { wmctrl -m && pactl info; } >/dev/null 2>&1  # once it has announced itself on the root window
else
  export WAYLAND_DISPLAY=agelark-desktop  # a socket in this session's own runtime folder
  weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 >"$log" 2>&1 &
  up() { [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && pactl info >/dev/null 2>&1; }
fi
desktop=$! bus=
trap 'kill $desktop $sound $bus 2>/dev/null || true; wait $desktop $sound $bus 2>/dev/null || true' EXIT
for _ in $(seq 100); do up && break; sleep 0.1; done
up || { echo "the $2 desktop did not start:" >&2; cat "$log" "$XDG_RUNTIME_DIR/sound.log" >&2; exit 1; }
# The accessibility bus, waited for without activating it (that starts a second one): programs started before miss it.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$XDG_RUNTIME_DIR/a11y.log" 2>&1 &
bus=$!
gdbus wait --session --timeout 10 org.a11y.Bus || { echo "no accessibility bus:" >&2; cat "$XDG_RUNTIME_DIR/a11y.log" >&2; exit 1; }
shift 2
"$@"
