#!/usr/bin/env bash
# Builds hopla-speed-bench.exe and runs it in a Wine session: how fast the
# walking cursor really goes at each SpeedBar position, against the speed
# the map promises (StepPixels every StepDelay), as a ratio. Prints what
# Sleep(n) lasts here first, since that is what the walk's pace rests on.
#
#   bench/speed.sh                           # build/windows, its prefix, own Xvfb
#   HOPLA_BUILD_DIR=/tmp/b HOPLA_WINEPREFIX=/tmp/p bench/speed.sh
#   HOPLA_KEEP_DISPLAY=1 bench/speed.sh      # on $DISPLAY instead of a new Xvfb
#
# Exit code: the bench's own (0 when every position reaches 0.9 of its
# promise, 1 when one falls short), or the failing step's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/bench-run.sh
bench_run hopla-speed-bench 120
