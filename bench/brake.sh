#!/usr/bin/env bash
# Builds hopla-brake-bench.exe and runs it in a Wine session: what the
# brake's probe costs over another program's window, the walking speed with
# the brake on over plain ground against the brake off at each SpeedBar
# position, and how far the cursor gets into a braked button before it slows.
# The other program is hopla-input-logger.exe, built beside the bench.
#
#   bench/brake.sh                           # build/windows, its prefix, own Xvfb
#   bench/brake.sh reach                     # one part only: probe, plain or reach
#   bench/brake.sh trace                     # reach, printing each change of the brake
#   HOPLA_BUILD_DIR=/tmp/b HOPLA_WINEPREFIX=/tmp/p bench/brake.sh
#   HOPLA_KEEP_DISPLAY=1 bench/brake.sh      # on $DISPLAY instead of a new Xvfb
#
# The machine's load average is printed before and after: other work on the
# machine slows the walks, and the figures with them.
#
# Exit code: the bench's own (0 when the walk with the brake on keeps 0.9 of
# the speed without it at every position, 1 when not, 2 when it could not
# run), or the failing step's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/bench-run.sh
bench_run hopla-brake-bench 900 "$@"
