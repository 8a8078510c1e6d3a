#!/usr/bin/env bash
# Builds hopla-selection-bench (native) and runs it: the pointing task of
# ISO 9241-411 done by the simulated switch user on the simulated desktop, in
# virtual time, for the first-run settings and every speed position.
#
#   bench/selection.sh         # 104 selections per condition
#   bench/selection.sh 26      # fewer, quicker
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
timeout 600 cmake --preset linux >/dev/null
timeout 3000 cmake --build build/linux -j2 --target hopla-selection-bench
exec timeout 1800 build/linux/hopla-selection-bench "$@"
