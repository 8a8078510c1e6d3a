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
source scripts/wine-session.sh

BENCH_TIMEOUT_S=120
build_dir=${HOPLA_BUILD_DIR:-build/windows}
prefix=${HOPLA_WINEPREFIX:-$build_dir/wineprefix}

if [ "$build_dir" = build/windows ]; then
  timeout 600 cmake --preset windows >/dev/null
elif [ ! -f "$build_dir/CMakeCache.txt" ]; then
  timeout 600 cmake -S . -B "$build_dir" \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
timeout 3000 cmake --build "$build_dir" -j2 --target hopla-speed-bench

trap wine_session_stop EXIT
wine_session_start "$prefix" ${HOPLA_KEEP_DISPLAY:+keep}
echo "Wine $(wine --version) on $DISPLAY, prefix $WINEPREFIX"
rc=0
timeout "$BENCH_TIMEOUT_S" wine "$build_dir/hopla-speed-bench.exe" </dev/null ||
  rc=$?
exit "$rc"
