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
source scripts/wine-session.sh

BENCH_TIMEOUT_S=900
build_dir=${HOPLA_BUILD_DIR:-build/windows}
prefix=${HOPLA_WINEPREFIX:-$build_dir/wineprefix}

if [ "$build_dir" = build/windows ]; then
  timeout 600 cmake --preset windows >/dev/null
elif [ ! -f "$build_dir/CMakeCache.txt" ]; then
  timeout 600 cmake -S . -B "$build_dir" \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
timeout 3000 cmake --build "$build_dir" -j2 --target hopla-brake-bench

trap wine_session_stop EXIT
wine_session_start "$prefix" ${HOPLA_KEEP_DISPLAY:+keep}
echo "Wine $(wine --version) on $DISPLAY, prefix $WINEPREFIX"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
rc=0
timeout "$BENCH_TIMEOUT_S" wine "$build_dir/hopla-brake-bench.exe" "$@" \
  </dev/null || rc=$?
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$rc"
