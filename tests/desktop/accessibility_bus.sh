# Sourced: start_accessibility_bus LOG starts the accessibility bus launcher ($bus) and returns once it owns the
# bus's name, waited for without activating it (that starts a second one); programs started before never find it.
start_accessibility_bus() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$1" 2>&1 &
  bus=$!
  gdbus wait --session --timeout 10 org.a11y.Bus || { echo "no accessibility bus:" >&2; cat "$1" >&2; return 1; }
}
