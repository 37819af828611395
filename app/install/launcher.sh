#!/bin/sh
# Starts Korvella Love with its program directory as the current directory:
# the program reads and writes its files there (Html/, System/). Where that
# directory cannot be written, as in an installation for all users, a
# working directory of the same shape in the user's data folder is used,
# with the shipped files linked into it.
set -e
self=$(readlink -f "$0")
prog=$(cd "$(dirname "$self")/../lib/korvella-love" && pwd)

if [ -w "$prog" ] && [ -w "$prog/Html" ] && [ -w "$prog/System" ]; then
  cd "$prog"
else
  work=${XDG_DATA_HOME:-$HOME/.local/share}/korvella-love
  mkdir -p "$work/Html" "$work/System"
  # Linked afresh each time, so that an upgrade's files are the ones used.
  ln -sfn "$prog/Html/images" "$work/Html/images"
  ln -sf "$prog/Html/gradus.txt" "$work/Html/gradus.txt"
  ln -sf "$prog/System/DayMoon.doc" "$work/System/DayMoon.doc"
  ln -sf "$prog/LoveHelp.chm" "$work/LoveHelp.chm"
  cd "$work"
fi
exec "$prog/korvella-love" "$@"
