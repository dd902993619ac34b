#!/usr/bin/env bash
# Runs a command as it runs beside a screen reader: a private D-Bus session
# with the accessibility bus started first, Qt's accessibility bridge on, and
# a listener asking for the events a screen reader asks for, so that every
# text change of a label or box becomes an accessibility event sent on the bus.
# Use it inside a display (xvfb-run, or a desktop):
#   xvfb-run -a bench/with_screen_reader_bus.sh build/bench/bench_running
set -euo pipefail

if [ "${1:-}" != "--inside-session" ]; then
  exec dbus-run-session -- bash "$0" --inside-session "$@"
fi
shift

bus= listener=
trap 'kill $listener $bus 2>/dev/null || true; wait $listener $bus 2>/dev/null || true' EXIT
# Waited for without activating it (that starts a second one): programs started before it never find it.
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
gdbus wait --session --timeout 10 org.a11y.Bus || { echo "no accessibility bus" >&2; exit 1; }

# The listener is up once it says so; the programs started after it learn
# from the registry which events are listened for.
fifo=$(mktemp -u)
mkfifo "$fifo"
/usr/bin/python3 "$(dirname "$0")/listen_like_a_screen_reader.py" >"$fifo" &
listener=$!
read -r -t 10 _ <"$fifo" || echo "the screen reader stand-in did not start" >&2
rm -f "$fifo"

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$@"
