#!/usr/bin/env bash
# Builds hopla-selection-bench (native) and runs it: the pointing task of
# ISO 9241-411 done by the simulated switch user on the simulated desktop, in
# virtual time, for the first-run settings, every speed position, the other
# settings and the aids to pointing (about 25 minutes for both users).
#
#   bench/selection.sh         # 104 selections per condition
#   bench/selection.sh 26      # fewer, quicker
#   bench/selection.sh 104 aids --user practised   # only the aids, one user
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
timeout 600 cmake --preset linux >/dev/null
timeout 3000 cmake --build build/linux -j2 --target hopla-selection-bench
exec timeout 3600 build/linux/hopla-selection-bench "$@"
