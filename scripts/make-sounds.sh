#!/usr/bin/env bash
# Makes the two sounds of resources/ with sox, the same bytes on every run
# (no dither). The WAVs are committed, so the build does not need sox; run this
# only to change them. Both are mono 16-bit PCM at 44.1 kHz.
#   pu.wav        ~120 ms "pu": a clear 880 Hz beep falling a little in pitch,
#                 with a soft start and a fade, marks the long-press point.
#   Pomclick.wav  ~50 ms "pom": a low, round knock (520 Hz falling to 260 Hz,
#                 fast decay), easy to tell from "pu".
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../resources"
format=(-D -r 44100 -c 1 -b 16 -e signed-integer)

sox -n "${format[@]}" pu.wav \
  synth 0.12 sine 900-840 \
  fade q 0.006 0.12 0.05 gain -n -3

sox -n "${format[@]}" Pomclick.wav \
  synth 0.05 sine 520-260 \
  fade q 0.002 0.05 0.044 gain -n -3

for f in pu.wav Pomclick.wav; do
  printf '%s: %s bytes, %s s\n' "$f" "$(stat -c %s "$f")" "$(soxi -D "$f")"
done
