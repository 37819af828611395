#!/usr/bin/env bash
# Checks an installation for all users as its users meet it: the launcher
# PREFIX/bin/korvella-love started by an ordinary user and, when run as
# root, by root; the installed kvlove run from the user's home. Nothing may
# be written into the installation, whoever starts it.
#   check_installed.sh PREFIX
set -euo pipefail
prefix=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
installed=("$prefix/libexec/korvella-love" "$prefix/share/korvella-love")
before=$(snapshot "${installed[@]}")

echo "== an ordinary user: a working directory of the user's own"
home=$tmp/user
make_home "$home"
start_window as_user "$home" "$prefix/bin/korvella-love"
work=$home/.local/share/korvella-love
for f in Html/gradus.txt Html/images/moon.jpg System/DayMoon.doc LoveHelp.chm; do
  [ -r "$work/$f" ] || fail "the working directory lacks $f"
done
grep -qx "rMainDir=$work/" "$home/.config/Korvella_Love.ini" || fail "main directory not recorded as $work/"
# A second start keeps what the user's runs wrote.
echo keep > "$work/Html/Scan1.txt"
start_window as_user "$home" "$prefix/bin/korvella-love"
[ "$(cat "$work/Html/Scan1.txt")" = keep ] || fail "a second start lost a result"

echo "== kvlove from the PATH, in the user's home: the window's working directory"
kvlove() { (cd "$home" && as_user env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$home" kvlove "$@"); }
out=$(kvlove report Анна 15.06.1985 12:15) || fail "kvlove report"
[ "$out" = "$work/Html/Gradus_html.html" ] || fail "kvlove report wrote $out"
grep -q 'Анна' <(iconv -f CP1251 -t UTF-8 "$work/Html/Gradus_html.html") || fail "no report page in $work"
out=$(kvlove eclipses 1999) || fail "kvlove eclipses"
grep -q '11.08.1999' <<<"$out" || fail "kvlove printed no eclipse of 11.08.1999"
[ ! -e "$home/Html" ] && [ ! -e "$home/System" ] || fail "kvlove wrote into the current directory"
# Its Russian is built in: nothing to find beside the installed program.
(cd "$home" && as_user env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$home" LANG=ru_RU.UTF-8 \
  kvlove --help) | grep -q '^Использование: kvlove' || fail "kvlove --help is not Russian under LANG=ru_RU.UTF-8"

if [ "$(id -u)" = 0 ]; then
  echo "== root: a working directory in root's home, never the installation"
  roothome=$tmp/root
  mkdir -p "$roothome"
  start_window as_self "$roothome" "$prefix/bin/korvella-love"
  grep -qx "rMainDir=$roothome/.local/share/korvella-love/" "$roothome/.config/Korvella_Love.ini" ||
    fail "root's main directory is not in its home"
  (cd / && env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$roothome" kvlove phases 2000 >/dev/null) ||
    fail "kvlove phases as root"
  [ -s "$roothome/.local/share/korvella-love/System/F_LunDay.tmp" ] || fail "root's kvlove wrote elsewhere"
fi
[ "$(snapshot "${installed[@]}")" = "$before" ] || fail "something was written into the installation"
echo "installed tree checked"
