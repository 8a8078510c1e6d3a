#!/usr/bin/env bash
# Builds Hopla.exe and runs it under Wine, from its own folder (the settings
# file lives in the working directory). Installs missing Debian packages
# first. With no $DISPLAY, runs it on an Xvfb screen of its own. Arguments go
# to Hopla.exe; its exit code is this script's.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
source scripts/packages.sh
source scripts/wine-session.sh

hopla_install_packages "${HOPLA_PACKAGES[@]}"
cmake --preset windows
cmake --build --preset windows -j2 --target Hopla

trap wine_session_stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
wine_session_start build/windows/wineprefix keep
if [ -n "$WINE_SESSION_XVFB_PID" ]; then
  echo "No display: running under Xvfb on $DISPLAY"
fi

cd build/windows
# In the background, so that a signal reaches the traps at once and the
# session stop ends Hopla too.
wine Hopla.exe "$@" &
rc=0
wait $! || rc=$?
exit "$rc"
