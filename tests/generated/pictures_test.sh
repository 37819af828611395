#!/usr/bin/env bash
# The shipped pictures drawn afresh by scripts/draw-pictures and compared
# with the committed ones by their decoded pixels, within the tolerance of
# compare_pictures.py (the SVG icon, text we write, byte for byte): a change
# to what the script draws shows here, a newer Pillow, libjpeg-turbo or
# librsvg rounding a little differently does not. The committed pictures
# were drawn on Debian 12 with Pillow 9.4.0, libjpeg-turbo 2.1.5, zlib
# 1.2.13 and librsvg 2.54.7.
#   pictures_test.sh SOURCE_DIR
set -euo pipefail
src=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
python3 "$src/scripts/draw-pictures" "$out"
# Pillow is Debian's python3-pil: the system interpreter, if the first
# python3 on PATH does not see it (as draw-pictures does).
python=python3
python3 -c 'import PIL' 2>/dev/null || python=/usr/bin/python3
"$python" "$src/tests/generated/compare_pictures.py" "$out" "$src"
