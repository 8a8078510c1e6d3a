#!/usr/bin/env bash
# Builds hopla-switch-bench.exe and runs it in a Wine session of its own: how
# soon a key switch's press is counted (200 presses), and what the code
# bubble costs at rest (Hopla.exe minimised with it on and off, twice each).
#
#   bench/switch.sh            # 30 s a CPU phase
#   bench/switch.sh 10         # shorter, coarser
#
# Exit code: the bench's own (0 when every press was counted and the bubble
# costs nothing measurable, 1 when not, 2 when it could not run), or the
# failing step's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/bench-run.sh
bench_run hopla-switch-bench 600 "$@"
