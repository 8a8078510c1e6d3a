#!/usr/bin/env bash
# Builds hopla-banner-bench.exe and runs it in a Wine session: the CPU that
# Hopla takes with its window shown and the banner scrolling, minimised, and
# that of a bare program with one 50 ms timer, each over 30 s, counting the
# prefix's wineserver too.
#
#   bench/banner.sh            # 30 s a phase
#   bench/banner.sh 10         # shorter, coarser
#
# Exit code: the bench's own (0 when both targets are met, 1 when not, 2
# when it could not run), or the failing step's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/bench-run.sh
bench_run hopla-banner-bench 400 "$@"
