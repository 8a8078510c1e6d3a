#!/usr/bin/env bash
# Builds hopla-press-bench.exe and runs it in a Wine session: when a press
# really becomes long in the whole program, against LongPressTicks x
# PollInterval, at three slider settings, and how long the program takes to
# see the switch go down.
#
#   bench/press.sh                           # build/windows, its prefix, own Xvfb
#   HOPLA_BUILD_DIR=/tmp/b HOPLA_WINEPREFIX=/tmp/p bench/press.sh
#   HOPLA_KEEP_DISPLAY=1 bench/press.sh      # on $DISPLAY instead of a new Xvfb
#
# The bench presses the test switch of its prefix: nothing else in that
# prefix may use it meanwhile. The machine's load average is printed before
# and after: other work on the machine stretches the polls, and the figures
# with them.
#
# Exit code: the bench's own (0 when every press became long within 5% of
# the promise, 1 when one did not, 2 when it could not run), or the failing
# step's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/bench-run.sh
bench_run hopla-press-bench 300
