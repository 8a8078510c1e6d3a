#!/usr/bin/env bash
# Safe to run from Downloads: with a winmm.dll and an oleacc.dll planted in
# the unpacked folder, Hopla loads neither, while it does load the system's
# (winmm at start, oleacc when the brake looks under the walking cursor).
#
# Wine takes its own winmm and oleacc before any file of that name, so the
# programs run with WINEDLLOVERRIDES "n,b" for the two: a file in the
# program's folder then wins, as on Windows. The canary, which imports both
# the ordinary way, must load the planted ones, or this test proves nothing.
#   planted_dll_test.sh ZIP HOPLA_UNPACKED_EXE PLANTED_DIR TESTSWITCH_EXE WORK_DIR
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "FAIL: no Wine session (WINEPREFIX, DISPLAY): run it through ./test.sh windows"
  exit 1
fi
zip=$1 runner=$2 planted=$3 testswitch=$4 work=$5
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winmm,oleacc=n,b"

rm -rf "$work"
mkdir -p "$work"
(cd "$work" && cmake -E tar xf "$zip")
folder=$work/Hopla-2.10
cp "$planted/winmm.dll" "$planted/oleacc.dll" "$folder/"
markers() { find "$folder" -maxdepth 1 -iname '*.dll.loaded' -printf '%f ' | tr 'A-Z' 'a-z'; }

cp "$planted/planted-dll-canary.exe" "$folder/"
timeout 60 wine "$folder/planted-dll-canary.exe" || true
loaded=$(markers)
if [[ $loaded != *winmm.dll.loaded* || $loaded != *oleacc.dll.loaded* ]]; then
  echo "FAIL: the canary did not load the planted DLLs (markers: $loaded), so Wine"
  echo "would not show Hopla loading them either: check WINEDLLOVERRIDES."
  exit 1
fi
rm -f "$folder/planted-dll-canary.exe" "$folder"/*.loaded "$folder"/*.LOADED

# Wine's log of loaded DLLs, each line headed by its process, shows that
# Hopla took the system's copies; the runner names Hopla's process.
log=$work/loaddll.log
run() { # mode
  local out
  out=$(WINEDEBUG=+pid,+loaddll timeout 90 wine "$runner" "$1" "$(winepath -w "$folder")" 2>>"$log") ||
    { echo "$out"; return 1; }
  sed -n 's/^program process \([0-9a-f]*\).*/\1/p' <<<"$out"
}
# Loaded by process `pid`, from the system folder.
loaded_from_system() { # pid dll
  grep -qi "^$1:.*loaded.*system32.*$2\.dll" "$log"
}
if ! hopla_pid=$(run quit); then
  echo "FAIL: Hopla.exe did not start and quit beside the planted DLLs"
  exit 1
fi
# The test switch's copy of the program can be pressed: walk with the brake.
cp "$testswitch" "$folder/"
if ! testswitch_pid=$(run walk); then
  echo "FAIL: Hopla-testswitch.exe did not walk and quit beside the planted DLLs"
  exit 1
fi

loaded=$(markers)
if [ -n "$loaded" ]; then
  echo "FAIL: Hopla loaded planted DLLs: $loaded"
  exit 1
fi
if ! loaded_from_system "$hopla_pid" winmm; then
  echo "FAIL: Hopla.exe (process $hopla_pid) never loaded the system's winmm.dll: the test saw nothing"
  exit 1
fi
if ! loaded_from_system "$testswitch_pid" oleacc; then
  echo "FAIL: the walk with the brake (process $testswitch_pid) never loaded the system's oleacc.dll: the test saw nothing"
  exit 1
fi
echo "planted winmm.dll and oleacc.dll stayed unloaded; Hopla used the system's"
