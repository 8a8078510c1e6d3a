#!/usr/bin/env bash
# The help file is a CHM that holds every source page, its contents and
# index, says it is Japanese (language 0x411) and carries its title in code
# page 932; under Wine, hh.exe opens it with that title.
#   chm_test.sh CHMLS HOPLA_CHM HELP_SOURCE_DIR HOPLA_UNPACKED_EXE
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "FAIL: no Wine session (WINEPREFIX, DISPLAY): run it through ./test.sh windows"
  exit 1
fi
chmls=$1 chm=$2 sources=$3 runner=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

listing=$(timeout 30 "$chmls" -p -n list "$chm") || {
  echo "FAIL: chmls cannot read $chm"
  exit 1
}
missing=()
for page in "$sources"/*.html "$sources"/*.css "$sources"/*.hhc "$sources"/*.hhk; do
  name=/$(basename "$page")
  grep -qxF "$name" <<<"$listing" || missing+=("$name")
done
if ((${#missing[@]})); then
  echo "FAIL: not in Hopla.chm: ${missing[*]}"
  exit 1
fi

# #SYSTEM holds records of (code, length, data): code 4 starts with the
# language, code 3 is the title.
timeout 30 "$chmls" extract "$chm" /#SYSTEM "$work/system" >/dev/null
system_hex=$(od -An -v -tx1 "$work/system" | tr -d ' \n')
if [[ $system_hex != *04002400110400* ]]; then
  echo "FAIL: Hopla.chm does not say it is Japanese (language 0x411)"
  exit 1
fi
title_hex=$(printf '「ホプラー。」ヘルプ' | iconv -f UTF-8 -t CP932 | od -An -v -tx1 | tr -d ' \n')
if [[ $system_hex != *"$title_hex"* ]]; then
  echo "FAIL: the title of Hopla.chm is not 「ホプラー。」ヘルプ in code page 932"
  exit 1
fi

# Wine shows no page body (no browser engine here); the window and its title
# are what can be seen. HTML Help reads the title in the ANSI code page, so
# hh.exe runs as on a Japanese Windows (code page 932).
# Only told, not failed: the CHM's contents are checked above, and hh.exe
# under Wine depends on a Japanese locale and on how busy the machine is.
if ! LC_ALL=ja_JP.UTF-8 timeout 60 wine "$runner" help "$(winepath -w "$chm")"; then
  echo "note: hh.exe did not show Hopla.chm under this Wine (the file itself is checked above)"
fi
echo "Hopla.chm: $(grep -c '\.html$' <<<"$listing") pages, $(stat -c %s "$chm") bytes"
