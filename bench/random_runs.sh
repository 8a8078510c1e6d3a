#!/usr/bin/env bash
# Builds hopla-random-runs (native) and runs it: seeded random runs of the
# whole program on the simulated desktop, each checked against every
# invariant; prints runs per second, virtual hours covered and the failures,
# each with the command that replays it.
#
#   bench/random_runs.sh                       # seeds 1..1000
#   bench/random_runs.sh --first 5000 --count 20000
#   bench/random_runs.sh --seed 1234           # one run, its script and trace
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
timeout 600 cmake --preset linux >/dev/null
timeout 3000 cmake --build build/linux -j2 --target hopla-random-runs
exec timeout 7200 build/linux/hopla-random-runs "$@"
