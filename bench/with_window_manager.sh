#!/usr/bin/env bash
# Runs a command on the session's X display under openbox, as on a desktop:
# only a window manager minimises windows (bench_running's minimised sides).
# Use it inside a display:
#   xvfb-run -a bench/with_window_manager.sh build/bench/bench_running
set -euo pipefail

openbox --sm-disable >/dev/null 2>&1 &
manager=$!
trap 'kill $manager 2>/dev/null || true; wait $manager 2>/dev/null || true' EXIT
# Up once it has claimed the screen.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
"$@"
