#!/usr/bin/env bash
# Shared by the bench/ scripts: builds one bench for Windows and runs it in a
# Wine session of its own, with the machine's load average before and after
# (other work on the machine changes the figures).
#   HOPLA_BUILD_DIR=/tmp/b HOPLA_WINEPREFIX=/tmp/p   another build and prefix
#   HOPLA_KEEP_DISPLAY=1                            on $DISPLAY, no new Xvfb
source scripts/wine-session.sh

# bench_run TARGET TIMEOUT_S [ARGUMENTS...]: exits with the bench's code.
bench_run() {
  local target=$1 timeout_s=$2
  shift 2
  local build_dir=${HOPLA_BUILD_DIR:-build/windows}
  local prefix=${HOPLA_WINEPREFIX:-$build_dir/wineprefix}
  if [ "$build_dir" = build/windows ]; then
    timeout 600 cmake --preset windows >/dev/null
  elif [ ! -f "$build_dir/CMakeCache.txt" ]; then
    timeout 600 cmake -S . -B "$build_dir" \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  timeout 3000 cmake --build "$build_dir" -j2 --target "$target"
  trap wine_session_stop EXIT
  wine_session_start "$prefix" ${HOPLA_KEEP_DISPLAY:+keep}
  echo "Wine $(wine --version) on $DISPLAY, prefix $WINEPREFIX"
  echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
  local rc=0
  timeout "$timeout_s" wine "$build_dir/$target.exe" "$@" </dev/null || rc=$?
  echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
  exit "$rc"
}
