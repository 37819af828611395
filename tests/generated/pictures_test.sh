#!/usr/bin/env bash
# The shipped pictures drawn afresh by scripts/draw-pictures and compared,
# byte for byte, with the committed ones: a change to the script, or to what
# it draws with, shows here until the pictures are drawn and committed again.
#   pictures_test.sh SOURCE_DIR
set -euo pipefail
src=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
python3 "$src/scripts/draw-pictures" "$out"
drawn=0 differ=0
while IFS= read -r f; do
  drawn=$((drawn + 1))
  if ! cmp -s "$out/$f" "$src/$f"; then
    echo "not as drawn now: $f" >&2
    differ=$((differ + 1))
  fi
done < <(cd "$out" && find . -type f | sed 's|^\./||' | sort)
[ "$drawn" -gt 0 ] || { echo "draw-pictures drew nothing" >&2; exit 1; }
[ "$differ" -eq 0 ] || { echo "$differ of $drawn pictures differ: run scripts/draw-pictures" >&2; exit 1; }
echo "$drawn pictures as drawn"
