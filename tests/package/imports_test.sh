#!/usr/bin/env bash
# Hopla.exe imports only DLLs that Windows always takes from the system
# folder (the KnownDLLs), plus comctl32, which the manifest binds to the
# side-by-side version 6. Any other import would be looked for first in the
# folder Hopla runs from, so a winmm.dll left in Downloads would run inside
# Hopla. Names each stray DLL. The canary, which imports winmm and oleacc,
# must be caught, or the check itself is broken.
#   imports_test.sh OBJDUMP HOPLA_EXE CANARY_EXE
set -euo pipefail
objdump=$1 exe=$2 canary=$3

allowed=" advapi32.dll clbcatq.dll combase.dll comdlg32.dll coml2.dll
  difxapi.dll gdi32.dll gdiplus.dll imagehlp.dll imm32.dll kernel32.dll
  msctf.dll msvcrt.dll normaliz.dll nsi.dll ole32.dll oleaut32.dll psapi.dll
  rpcrt4.dll sechost.dll setupapi.dll shcore.dll shell32.dll shlwapi.dll
  user32.dll wldap32.dll ws2_32.dll ntdll.dll comctl32.dll "
allowed=$(tr -s ' \n' '  ' <<<"$allowed")

# The imported DLLs of an .exe, lower case, one a line.
imports() {
  local dump
  dump=$("$objdump" -p "$1") || { echo "objdump failed on $1" >&2; return 1; }
  sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' <<<"$dump" | tr 'A-Z' 'a-z'
}
strays() {
  local dll
  while read -r dll; do
    [[ $allowed == *" $dll "* ]] || echo "$dll"
  done
}

hopla_imports=$(imports "$exe")
if ! grep -qx kernel32.dll <<<"$hopla_imports"; then
  echo "FAIL: no import of kernel32.dll read from $exe: is objdump's output different?"
  exit 1
fi
canary_strays=$(imports "$canary" | strays | tr '\n' ' ')
if [[ $canary_strays != *winmm.dll* || $canary_strays != *oleacc.dll* ]]; then
  echo "FAIL: the check let the canary's winmm.dll and oleacc.dll pass (found: $canary_strays)"
  exit 1
fi
hopla_strays=$(strays <<<"$hopla_imports" | tr '\n' ' ')
if [ -n "$hopla_strays" ]; then
  echo "FAIL: Hopla.exe imports DLLs a planted copy could replace: $hopla_strays"
  echo "Load them with LoadLibraryExW(..., LOAD_LIBRARY_SEARCH_SYSTEM32) instead."
  exit 1
fi
echo "Hopla.exe imports:" $hopla_imports
