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
source scripts/bench-run.sh
bench_run hopla-search-bench 1800
