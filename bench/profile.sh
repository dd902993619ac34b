#!/usr/bin/env bash
# Counts the instructions of the running program's ticks, or of its start-up,
# with valgrind's callgrind: counts repeat from run to run where timings on a
# shared machine do not, so they compare two builds of the tick path.
#   bench/profile.sh ticks   [OUT]   10 s of the program with its eight timers running
#                                    (bench_running's "program" side), after 25 s to settle
#   bench/profile.sh startup [OUT]   bench_startup's "program" side, start to shown window
#   bench/profile.sh startup-bare [OUT]  the bare window's start-up, for comparison
# Runs on the display of the session, or offscreen when there is none; under
# xvfb-run for an X display. OUT (default build/callgrind.<what>) is read with
#   callgrind_annotate --inclusive=yes OUT | less
set -euo pipefail
cd "$(dirname "$0")/.."

what=${1:-ticks}
out=${2:-build/callgrind.$what}
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then export QT_QPA_PLATFORM=offscreen; fi
cg=(valgrind --tool=callgrind --separate-recs=1 --callgrind-out-file="$out")

case "$what" in
  ticks)
    "${cg[@]}" --instr-atstart=no build/bench/bench_running program --seconds=40 >"$out.stdout" 2>"$out.log" &
    pid=$!
    sleep 25
    callgrind_control -i on "$pid" >/dev/null
    sleep 10
    callgrind_control -i off "$pid" >/dev/null
    wait "$pid"
    ;;
  startup) "${cg[@]}" build/bench/bench_startup program >"$out.stdout" 2>"$out.log" ;;
  startup-bare) "${cg[@]}" build/bench/bench_startup bare >"$out.stdout" 2>"$out.log" ;;
  *) echo "usage: bench/profile.sh ticks|startup|startup-bare [OUT]" >&2; exit 2 ;;
esac

callgrind_annotate "$out" | grep 'PROGRAM TOTALS'
callgrind_annotate --inclusive=yes "$out" |
  grep -E 'paintAndFlush|activateTimers|MainWindow::tick|HandheldWindow::tick|ConsolePage::count|CountUp::count|setBoxText|dateBoxText|clockText|QLabel::paintEvent|QLineEdit::paintEvent|updateAccessibility|MainWindow::MainWindow|fallbacksForFamily|loadSingleEngine|QImageReader::read\(\)|QCoreApplication::processEvents' |
  grep -v '=>' | cut -c1-150
