#!/usr/bin/env bash
# Checks that the code's includes follow the order of layers the README
# documents: a file under src/ may include from its own folder and from the
# folders below it, never from one above it or beside it on the same layer
# (so no two folders include each other). The order is read from the
# README's line "Layers, top to bottom: a → b, c → d", so the order checked
# is the order documented. Prints each wrong include; exits 1 if there is one.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

order=$(sed -n 's/^Layers, top to bottom: *//p' README.md | head -1)
if [ -z "$order" ]; then
  echo "check-layers: README.md has no line \"Layers, top to bottom: ...\"" >&2
  exit 1
fi

find src -type f \( -name '*.cpp' -o -name '*.h' \) | sort |
  while read -r file; do
    sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file" |
      sed "s|^|${file#src/} |"
  done |
  awk -v order="$order" '
    BEGIN {
      # The layers from the top (0) down; folders on one layer are split by
      # commas.
      n = split(order, layers, "→")
      for (i = 1; i <= n; ++i) {
        m = split(layers[i], folders, ",")
        for (j = 1; j <= m; ++j) {
          name = folders[j]
          gsub(/^[ \t`]+|[ \t`\/]+$/, "", name)
          if (name != "") level[name] = i
        }
      }
    }
    # The folder a path belongs to: the longest documented folder it is in.
    function unit(path,    best, name) {
      best = ""
      for (name in level)
        if (index(path, name "/") == 1 && length(name) > length(best))
          best = name
      return best
    }
    {
      from = unit($1)
      if (from == "") {
        printf "src/%s: its folder is not in the README'"'"'s order of layers\n", $1
        bad = 1
        next
      }
      to = unit($2)
      if (to == "" || to == from) next  # system or own-folder include
      if (level[to] <= level[from]) {
        printf "src/%s includes \"%s\": %s/ is not below %s/\n", $1, $2, to, from
        bad = 1
      }
    }
    END { exit bad }
  '
