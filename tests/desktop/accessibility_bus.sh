# Sourced: start_accessibility_bus LOG starts the accessibility bus launcher on the session bus, its process id
# left in $bus, and returns once the launcher owns the bus's name (waited for without activating it, which
# would start a second launcher). Programs find this bus only when it is there at their start.
start_accessibility_bus() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$1" 2>&1 &
  bus=$!
  gdbus wait --session --timeout 10 org.a11y.Bus || { echo "no accessibility bus:" >&2; cat "$1" >&2; return 1; }
}
