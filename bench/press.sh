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
source scripts/wine-session.sh

BENCH_TIMEOUT_S=300
build_dir=${HOPLA_BUILD_DIR:-build/windows}
prefix=${HOPLA_WINEPREFIX:-$build_dir/wineprefix}

if [ "$build_dir" = build/windows ]; then
  timeout 600 cmake --preset windows >/dev/null
elif [ ! -f "$build_dir/CMakeCache.txt" ]; then
  timeout 600 cmake -S . -B "$build_dir" \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
timeout 3000 cmake --build "$build_dir" -j2 --target hopla-press-bench

trap wine_session_stop EXIT
wine_session_start "$prefix" ${HOPLA_KEEP_DISPLAY:+keep}
echo "Wine $(wine --version) on $DISPLAY, prefix $WINEPREFIX"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
rc=0
timeout "$BENCH_TIMEOUT_S" wine "$build_dir/hopla-press-bench.exe" \
  </dev/null || rc=$?
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$rc"
