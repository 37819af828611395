#!/bin/sh
# Starts Korvella Love's programs with a main directory they may write in.
# Installed as PREFIX/bin/korvella-love (the window); PREFIX/bin/kvlove and
# PREFIX/bin/kvlove-help are links to it and start those programs instead.
#
# The programs read and write their files under their main directory
# (Html/, System/). The installed data directory PREFIX/share/korvella-love
# serves as that directory only when it is the user's own: inside the home
# directory and owned by the user, as with a --prefix in one's home. Any
# other installation, for all users or started by root, never has files
# written into it: a working directory of the same shape in the user's data
# folder is used, with the shipped files linked into it.
set -e
name=${0##*/}
self=$(readlink -f "$0")
prefix=$(cd "${self%/*}/.." && pwd -P)
exe=$prefix/libexec/korvella-love
data=$prefix/share/korvella-love

if [ "$name" = kvlove-help ]; then
  # Reads the help file only: the shipped one unless told otherwise.
  [ $# -gt 0 ] || set -- "$data/LoveHelp.chm"
  exec "$exe/kvlove-help" "$@"
fi

own=
home=$(cd "${HOME:-/nonexistent}" 2>/dev/null && pwd -P) || home=
if [ -n "$home" ] && [ "$home" != / ]; then
  case $data/ in
    "$home"/*) [ -O "$data" ] && [ -w "$data/Html" ] && [ -w "$data/System" ] && own=1 ;;
  esac
fi

if [ -n "$own" ]; then
  main=$data
else
  case ${XDG_DATA_HOME:-} in
    /*) main=$XDG_DATA_HOME/korvella-love ;;
    *)
      [ -n "$home" ] || { echo "$name: HOME is not set or not a directory: nowhere to keep the working directory" >&2; exit 1; }
      main=$home/.local/share/korvella-love ;;
  esac
  mkdir -p "$main/Html" "$main/System"
  # Linked afresh each time, so that an upgrade's files are the ones used.
  ln -sfn "$data/Html/images" "$main/Html/images"
  ln -sf "$data/Html/gradus.txt" "$main/Html/gradus.txt"
  ln -sf "$data/System/DayMoon.doc" "$main/System/DayMoon.doc"
  ln -sf "$data/LoveHelp.chm" "$main/LoveHelp.chm"
fi

if [ "$name" = kvlove ]; then
  # kvlove stays in the current directory, so that paths given to it keep
  # their meaning; its main directory comes from here unless --main-dir.
  export KVLOVE_MAIN_DIR="$main"
  exec "$exe/kvlove" "$@"
fi
cd "$main"
exec "$exe/korvella-love" "$@"
