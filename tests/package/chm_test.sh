#!/usr/bin/env bash
# A help file is a CHM that holds every source page, its contents and index,
# says its language (0x411 Japanese, 0x409 English) and carries its title in
# code page 932 (the English one's is ASCII); under Wine, hh.exe opens it.
#   chm_test.sh CHMLS CHM HELP_SOURCE_DIR HOPLA_UNPACKED_EXE LANGUAGE TITLE
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "FAIL: no Wine session (WINEPREFIX, DISPLAY): run it through ./test.sh windows"
  exit 1
fi
chmls=$1 chm=$2 sources=$3 runner=$4 language=$5 title=$6
name=$(basename "$chm")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

listing=$(timeout 30 "$chmls" -p -n list "$chm") || {
  echo "FAIL: chmls cannot read $chm"
  exit 1
}
missing=()
shopt -s nullglob
for page in "$sources"/*.html "$sources"/*.css "$sources"/*.hhc "$sources"/*.hhk; do
  member=/$(basename "$page")
  grep -qxF "$member" <<<"$listing" || missing+=("$member")
done
# The shared style sheet, wherever its pages come from.
grep -qxF /style.css <<<"$listing" || missing+=(/style.css)
if ((${#missing[@]})); then
  echo "FAIL: not in $name: ${missing[*]}"
  exit 1
fi

# #SYSTEM holds records of (code, length, data): code 4 starts with the
# language, code 3 is the title.
timeout 30 "$chmls" extract "$chm" /#SYSTEM "$work/system" >/dev/null
system_hex=$(od -An -v -tx1 "$work/system" | tr -d ' \n')
# The language as the record holds it: little-endian, after code 4 and the
# record's length.
language_hex=$(printf '04002400%02x%02x' $((language & 0xFF)) $((language >> 8)))
if [[ $system_hex != *"$language_hex"* ]]; then
  echo "FAIL: $name does not say its language is $language"
  exit 1
fi
title_hex=$(printf '%s' "$title" | iconv -f UTF-8 -t CP932 | od -An -v -tx1 | tr -d ' \n')
if [[ $system_hex != *"$title_hex"* ]]; then
  echo "FAIL: the title of $name is not $title in code page 932"
  exit 1
fi

# Wine shows no page body (no browser engine here); the window and its title
# are what can be seen. HTML Help reads the title in the ANSI code page, so
# hh.exe runs as on a Japanese Windows (code page 932).
# Only told, not failed: the CHM's contents are checked above, and hh.exe
# under Wine depends on a Japanese locale and on how busy the machine is.
if ! LC_ALL=ja_JP.UTF-8 timeout 60 wine "$runner" help "$(winepath -w "$chm")"; then
  echo "note: hh.exe did not show $name under this Wine (the file itself is checked above)"
fi
echo "$name: $(grep -c '\.html$' <<<"$listing") pages, $(stat -c %s "$chm") bytes"
