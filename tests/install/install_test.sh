#!/usr/bin/env bash
# Installs the build into scratch places and starts the installed program
# as a user would: from the launcher on the PATH, in an installation for
# all users (check_installed.sh) and in a prefix of one's own, which is
# used directly.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"

echo "== the tree under a staging root"
DESTDIR=$tmp/root cmake --install "$build" --prefix /usr >/dev/null
u=$tmp/root/usr
for f in bin/korvella-love libexec/korvella-love/korvella-love libexec/korvella-love/kvlove \
         libexec/korvella-love/kvlove-help share/korvella-love/LoveHelp.chm \
         share/korvella-love/Html/gradus.txt share/korvella-love/Html/images/moon.jpg \
         share/korvella-love/Html/images/12.gif share/korvella-love/Html/images/12@2x.gif \
         share/korvella-love/Html/images/moon@2x.jpg share/korvella-love/System/DayMoon.doc \
         share/applications/korvella-love.desktop share/icons/hicolor/scalable/apps/korvella-love.svg \
         share/man/man1/korvella-love.1 share/man/man1/kvlove.1 share/man/man1/kvlove-help.1 \
         share/man/ru/man1/korvella-love.1 share/man/ru/man1/kvlove.1 \
         share/man/ru/man1/kvlove-help.1; do
  [ -e "$u/$f" ] || fail "missing $f"
done
for size in 48 64 128 256; do
  png=$u/share/icons/hicolor/${size}x$size/apps/korvella-love.png
  file "$png" | grep -q "$size x $size" || fail "icon $png is not $size px"
done
[ -x "$u/bin/korvella-love" ] || fail "the launcher is not executable"
for link in kvlove kvlove-help; do
  [ "$(readlink "$u/bin/$link")" = korvella-love ] || fail "bin/$link is not a link to the launcher"
done
desktop=$u/share/applications/korvella-love.desktop
grep -qx 'Exec=korvella-love' "$desktop" || fail "desktop entry Exec"
grep -qx 'Icon=korvella-love' "$desktop" || fail "desktop entry Icon"
desktop-file-validate "$desktop" || fail "desktop entry invalid"
metainfo=$(echo "$u"/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo" >/dev/null || { appstreamcli validate --no-net "$metainfo"; fail "metainfo invalid"; }
grep -q '<launchable type="desktop-id">korvella-love.desktop</launchable>' "$metainfo" ||
  fail "the metainfo does not launch the desktop entry"
# Nothing but the shipped files in the program's own directories.
extra=$(cd "$u" && find libexec/korvella-love share/korvella-love -type f |
        grep -Ev '^libexec/korvella-love/(korvella-love|kvlove|kvlove-help|kvlove-png\.so|kvlove-help-print\.so|korvella-love-print\.so)$|^share/korvella-love/(LoveHelp\.chm|Html/gradus\.txt|Html/images/[0-9a-z]+(@2x)?\.(gif|jpg)|System/DayMoon\.doc)$' || true)
[ -z "$extra" ] || fail "unexpected files: $extra"

"$here/check_installed.sh" "$u"

echo "== a prefix of one's own, inside one's home: its data directory itself"
home=$tmp/home
make_home "$home"
prefix=$home/opt/korvella-love
cmake --install "$build" --prefix "$prefix" >/dev/null
if [ "$(id -u)" = 0 ]; then chown -R 65534:65534 "$home/opt"; fi
# Without XDG_RUNTIME_DIR, a file of someone else's at the name the lock
# once had in the shared temporary folder does not keep the window from
# starting: the lock lives in a folder of the user's own.
uid=$(id -u); if [ "$uid" = 0 ]; then uid=65534; fi
old_lock=/tmp/korvella-love-$(printf '%s\0%s' "$(cd "$prefix/share/korvella-love" && pwd -P)" "$uid" |
                               sha256sum | cut -c1-24).lock
printf '1\nsomeone-else\n' >"$old_lock"
chmod 644 "$old_lock"
start_window as_user "$home" "$prefix/bin/korvella-love"
[ -f "$old_lock" ] || fail "the foreign file at the old lock name was touched"
rm -f "$old_lock"
[ "$(stat -c %a "$home/.cache/korvella-love")" = 700 ] || fail "the lock's folder is not private"
grep -qx "rMainDir=$prefix/share/korvella-love/" "$home/.config/Korvella_Love.ini" || fail "own prefix not used"
[ ! -e "$home/.local/share/korvella-love" ] || fail "a working directory was made needlessly"
echo "install test passed"
