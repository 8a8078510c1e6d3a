#!/usr/bin/env bash
# Builds hopla-random-runs (native) and runs it: seeded random runs of the
# whole program on the simulated desktop, each checked against every
# invariant; prints runs per second, virtual hours covered and the failures,
# each with the command that replays it.
#
#   bench/random_runs.sh                       # seeds 1..1000
#   bench/random_runs.sh --first 5000 --count 20000
#   bench/random_runs.sh --seed 1234           # one run, its script and trace
#   bench/random_runs.sh --tsan --count 50     # built with ThreadSanitizer
#                                              # (build/tsan), the threads
#                                              # running freely, real time
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [ "${1:-}" = --tsan ]; then
  shift
  timeout 600 cmake -S . -B build/tsan -DHOPLA_SANITIZE=ON \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
  timeout 3000 cmake --build build/tsan -j2 --target hopla-random-runs
  TSAN_OPTIONS="halt_on_error=0 ${TSAN_OPTIONS:-}" \
    exec timeout 7200 build/tsan/hopla-random-runs --free 1 "$@"
fi
timeout 600 cmake --preset linux >/dev/null
timeout 3000 cmake --build build/linux -j2 --target hopla-random-runs
exec timeout 7200 build/linux/hopla-random-runs "$@"
