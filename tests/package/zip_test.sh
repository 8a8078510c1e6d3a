#!/usr/bin/env bash
# The zip holds exactly its six files in the folder Hopla-2.10/, its
# read-me shows right in Notepad (UTF-8 with a byte order mark, CR LF), and
# unpacked into a fresh folder Hopla.exe starts there (with no joystick, as
# under Wine) and leaves its settings file there when it is quit properly.
#   zip_test.sh ZIP HOPLA_UNPACKED_EXE WORK_DIR
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "FAIL: no Wine session (WINEPREFIX, DISPLAY): run it through ./test.sh windows"
  exit 1
fi
zip=$1 runner=$2 work=$3
top=Hopla-2.10

expected=$(printf '%s\n' "$top/Hopla.exe" "$top/pu.wav" "$top/Pomclick.wav" \
  "$top/Hopla.chm" "$top/Hopla-en.chm" "$top/README.txt" | sort)
members=$(cmake -E tar tf "$zip" | sort)
if [ "$members" != "$expected" ]; then
  echo "FAIL: the zip does not hold exactly its six files:"
  diff <(echo "$expected") <(echo "$members") || true
  exit 1
fi

rm -rf "$work"
mkdir -p "$work"
(cd "$work" && cmake -E tar xf "$zip")
folder=$work/$top

readme=$folder/README.txt
if [ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' ')" != efbbbf ]; then
  echo "FAIL: README.txt does not begin with the UTF-8 byte order mark"
  exit 1
fi
if grep -qv $'\r$' "$readme"; then
  echo "FAIL: README.txt has lines that do not end in CR LF"
  exit 1
fi

if ! timeout 90 wine "$runner" quit "$(winepath -w "$folder")"; then
  echo "FAIL: Hopla.exe from the zip did not start and quit properly"
  exit 1
fi
if [ ! -f "$folder/Hoplar.ini" ]; then
  echo "FAIL: no Hoplar.ini in the folder Hopla.exe was started from"
  ls -la "$folder"
  exit 1
fi
if ! iconv -f CP932 -t UTF-8 "$folder/Hoplar.ini" | grep -q 'Ver=「ホプラー。」Ver2.10'; then
  echo "FAIL: Hoplar.ini is not the settings Hopla writes:"
  iconv -f CP932 -t UTF-8 "$folder/Hoplar.ini" || true
  exit 1
fi
echo "zip: $(stat -c %s "$zip") bytes; Hopla.exe ran from it and wrote Hoplar.ini"
