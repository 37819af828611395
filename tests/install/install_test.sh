#!/usr/bin/env bash
# Installs the build into scratch places and starts the installed program
# as a user would: from the launcher on the PATH, with the program
# directory writable (a prefix of one's own) and not (an installation for
# all users, whose files belong to root).
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d /tmp/kv_install.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
fail() { echo "FAIL: $*" >&2; exit 1; }

# As a user other than root where we are root: permissions then count.
as_user() {
  if [ "$(id -u)" = 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"; else "$@"; fi
}

echo "== the tree under a staging root"
DESTDIR=$tmp/root cmake --install "$build" --prefix /usr >/dev/null
u=$tmp/root/usr
for f in bin/korvella-love bin/kvlove lib/korvella-love/korvella-love lib/korvella-love/kvlove \
         lib/korvella-love/kvlove-help lib/korvella-love/LoveHelp.chm lib/korvella-love/Html/gradus.txt \
         lib/korvella-love/Html/images/moon.jpg lib/korvella-love/Html/images/12.gif \
         lib/korvella-love/System/DayMoon.doc share/applications/korvella-love.desktop \
         share/icons/hicolor/256x256/apps/korvella-love.png; do
  [ -e "$u/$f" ] || fail "missing $f"
done
[ -x "$u/bin/korvella-love" ] || fail "the launcher is not executable"
grep -qx 'Exec=korvella-love' "$u/share/applications/korvella-love.desktop" || fail "desktop entry Exec"
grep -qx 'Icon=korvella-love' "$u/share/applications/korvella-love.desktop" || fail "desktop entry Icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$u/share/applications/korvella-love.desktop" || fail "desktop entry invalid"
fi
# Nothing but the shipped files in the program directory.
extra=$(cd "$u/lib/korvella-love" && find . -type f | grep -Ev '^\./(korvella-love|kvlove|kvlove-help|LoveHelp\.chm|Html/gradus\.txt|Html/images/[0-9a-z]+\.(gif|jpg)|System/DayMoon\.doc)$' || true)
[ -z "$extra" ] || fail "unexpected files: $extra"

# Starts the launcher for a few seconds; the window must still be up.
start() {
  local home=$1 launcher=$2
  set +e
  as_user env -i PATH="$(dirname "$launcher"):/usr/bin:/bin" HOME="$home" QT_QPA_PLATFORM=offscreen \
    timeout 8 "$launcher" >"$home/out.log" 2>&1
  local rc=$?
  set -e
  [ $rc = 124 ] || { cat "$home/out.log" >&2; fail "the window ended with status $rc"; }
}

echo "== an installation for all users: a working directory of the user's own"
home=$tmp/home
mkdir -p "$home" && chown 65534:65534 "$home" 2>/dev/null || true
start "$home" "$u/bin/korvella-love"
work=$home/.local/share/korvella-love
for f in Html/gradus.txt Html/images/moon.jpg System/DayMoon.doc LoveHelp.chm; do
  [ -r "$work/$f" ] || fail "working directory lacks $f"
done
ini=$home/.config/Korvella_Love.ini
[ -f "$ini" ] || fail "no settings file"
grep -q "rMainDir=$work/" "$ini" || { cat "$ini" >&2; fail "main directory not recorded"; }
# A second start keeps what the user's runs wrote.
echo keep > "$work/Html/Scan1.txt"
start "$home" "$u/bin/korvella-love"
[ "$(cat "$work/Html/Scan1.txt")" = keep ] || fail "a second start lost a result"

echo "== kvlove from the PATH"
out=$(as_user "$u/bin/kvlove" --main-dir "$work" eclipses 1999) || fail "kvlove eclipses"
grep -q '11.08.1999' <<<"$out" || fail "kvlove printed no eclipse of 11.08.1999"

echo "== a prefix of one's own: the program directory itself"
prefix=$tmp/own
cmake --install "$build" --prefix "$prefix" >/dev/null
[ "$(id -u)" = 0 ] && chown -R 65534:65534 "$prefix"
home2=$tmp/home2
mkdir -p "$home2" && chown 65534:65534 "$home2" 2>/dev/null || true
start "$home2" "$prefix/bin/korvella-love"
grep -q "rMainDir=$prefix/lib/korvella-love/" "$home2/.config/Korvella_Love.ini" || fail "own prefix not used"
[ ! -e "$home2/.local/share/korvella-love" ] || fail "a working directory was made needlessly"
echo "install test passed"
