#!/usr/bin/env bash
# The Debian packages that building and testing Hopla need, kept in one place.
# Sourced by test.sh and run.sh; run it directly to install them by hand
# (`scripts/packages.sh`, or `scripts/packages.sh --dev` for the extras too).

HOPLA_PACKAGES=(
  cmake make g++               # the native build
  libgtest-dev                 # GoogleTest for the native tests
  googletest                   # GoogleTest sources, built with MinGW for the Win32 tests
  g++-mingw-w64-x86-64-posix   # the cross compiler (brings windres)
  wine wine64                  # runs the Win32 tests and the program
  fonts-wine                   # Tahoma and Marlett, copied into the prefix
  fonts-ipafont-gothic         # Japanese text on the settings window
  xvfb                         # a screen for Wine when there is none
  clang-format                 # the format check
  fp-utils                     # chmcmd and chmls: the help file Hopla.chm
)

# Handy by hand, not used by the scripts: screenshots (imagemagick), finding
# windows (xdotool, x11-utils), making the sounds again (sox).
HOPLA_DEV_PACKAGES=(imagemagick xdotool x11-utils sox)

# Installs those of the given packages that are missing. Runs apt-get update
# first, and only when something is missing.
hopla_install_packages() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null |
      grep -q 'install ok installed' || missing+=("$package")
  done
  ((${#missing[@]} == 0)) && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  local apt=(apt-get -q -y -o DPkg::Lock::Timeout=300)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive "${apt[@]}" update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive "${apt[@]}" install "${missing[@]}"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  if [ "${1:-}" = "--dev" ]; then
    hopla_install_packages "${HOPLA_PACKAGES[@]}" "${HOPLA_DEV_PACKAGES[@]}"
  else
    hopla_install_packages "${HOPLA_PACKAGES[@]}"
  fi
fi
