#!/usr/bin/env bash
# Builds hopla-selection-check.exe and runs it in a Wine session of its own:
# the simulated switch user driving the real program for a handful of
# selections, to hold against `bench/selection.sh 8` (row "64 256").
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/bench-run.sh
bench_run hopla-selection-check 900 "$@"
