#!/usr/bin/env bash
# Builds hopla-search-bench.exe and runs it in a Wine session: the search
# for JoyToKey over a tree of 100,000 folders and files (made under the
# prefix's drive C: on the first run, then kept), on a worker thread while
# the window answers, and the longest time the window took to answer.
#
#   bench/search.sh                          # build/windows, its prefix, own Xvfb
#   HOPLA_BUILD_DIR=/tmp/b HOPLA_WINEPREFIX=/tmp/p bench/search.sh
#
# Exit code: the bench's own (0 when the window always answered within
# 100 ms, 1 when not, 2 when it could not run), or the failing step's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-session.sh

BENCH_TIMEOUT_S=1800
build_dir=${HOPLA_BUILD_DIR:-build/windows}
prefix=${HOPLA_WINEPREFIX:-$build_dir/wineprefix}

if [ "$build_dir" = build/windows ]; then
  timeout 600 cmake --preset windows >/dev/null
elif [ ! -f "$build_dir/CMakeCache.txt" ]; then
  timeout 600 cmake -S . -B "$build_dir" \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
timeout 3000 cmake --build "$build_dir" -j2 --target hopla-search-bench

trap wine_session_stop EXIT
wine_session_start "$prefix" ${HOPLA_KEEP_DISPLAY:+keep}
echo "Wine $(wine --version) on $DISPLAY, prefix $WINEPREFIX"
rc=0
timeout "$BENCH_TIMEOUT_S" wine "$build_dir/hopla-search-bench.exe" </dev/null ||
  rc=$?
exit "$rc"
