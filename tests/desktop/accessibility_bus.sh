# Sourced by the session scripts: start_accessibility_bus LOG starts the
# accessibility bus launcher on the session bus, leaves its process id in
# $bus, and returns once the launcher owns the bus's name (asked without
# activating it, which would start a second launcher). Programs register their
# accessibility tree only when they find this bus at their start.
start_accessibility_bus() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$1" 2>&1 &
  bus=$!
  for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true' && return 0
    sleep 0.1
  done
  echo "the accessibility bus did not start:" >&2
  cat "$1" >&2
  return 1
}
