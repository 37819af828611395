#!/usr/bin/env bash
# lupdate over cli/ into a copy of kvlove_ru.ts changes nothing, and no
# string is left without Russian: a string added or changed in the sources
# shows here until scripts/translations has been run and the Russian written.
#   translations_test.sh SOURCE_DIR LUPDATE OPTIONS...
set -euo pipefail
src=$1 lupdate=$2
shift 2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
ts=$src/cli/translations/kvlove_ru.ts
cp "$ts" "$out/kvlove_ru.ts"
"$lupdate" "$@" "$src"/cli/*.cpp "$src"/cli/*.h -ts "$out/kvlove_ru.ts" 2>/dev/null
# Where a string stands in the sources is lupdate's help for the translator
# (it carries an old translation over to a changed string), not a fault.
messages() { grep -v '<location ' "$1"; }
if ! diff -u <(messages "$ts") <(messages "$out/kvlove_ru.ts") >"$out/diff"; then
  head -40 "$out/diff"
  echo "kvlove_ru.ts is behind the sources: run scripts/translations" >&2
  exit 1
fi
if grep -q 'type="unfinished"' "$ts"; then
  grep -B2 'type="unfinished"' "$ts" | head -40
  echo "kvlove_ru.ts has strings without Russian" >&2
  exit 1
fi
