# Sourced by the checks of an installed tree: a scratch directory $tmp
# (removed at exit, readable by the ordinary user), running as that user,
# starting the window and waiting until it is up.

tmp=$(mktemp -d /tmp/kv_install.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"

fail() { echo "FAIL: $*" >&2; exit 1; }

# As an ordinary user (uid 65534) where we are root, so that permissions
# count; as ourselves otherwise.
as_user() {
  if [ "$(id -u)" = 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"; else "$@"; fi
}
as_self() { "$@"; }

# A home directory of that user.
make_home() {
  mkdir -p "$1"
  if [ "$(id -u)" = 0 ]; then chown 65534:65534 "$1"; fi
}

# Starts the window from LAUNCHER with HOME, as RUNNER (as_user or
# as_self), and waits until its start-up work has recorded its main
# directory in the settings; the window must still be up then. Stops it.
#   start_window RUNNER HOME LAUNCHER
start_window() {
  local run=$1 home=$2 launcher=$3
  local ini=$home/.config/Korvella_Love.ini log=$home/window.log tries=0
  rm -f "$ini"
  # Not through the function: $! must be the window itself (every step
  # execs), so that stopping it stops the window.
  local as=()
  if [ "$run" = as_user ] && [ "$(id -u)" = 0 ]; then as=(setpriv --reuid=65534 --regid=65534 --clear-groups --); fi
  "${as[@]}" env -i PATH="${launcher%/*}:/usr/bin:/bin" HOME="$home" QT_QPA_PLATFORM=offscreen \
    "$launcher" >"$log" 2>&1 &
  local pid=$!
  until grep -qs '^rMainDir=' "$ini"; do
    kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; fail "the window of $launcher ended before it was up"; }
    tries=$((tries + 1))
    [ $tries -le 600 ] || { kill "$pid"; fail "the window of $launcher was not up within a minute"; }
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; fail "the window of $launcher ended at start-up"; }
  # SIGTERM ends it as its close does: status 0, its lock and channel gone.
  kill "$pid"
  local status=0
  wait "$pid" 2>/dev/null || status=$?
  [ "$status" = 0 ] || { cat "$log" >&2; fail "the window of $launcher ended with status $status on SIGTERM"; }
  if compgen -G "$home/.cache/korvella-love/korvella-love-*" >/dev/null; then
    fail "the window of $launcher left its lock or channel: $(ls "$home/.cache/korvella-love")"
  fi
}

# Every file and link under the given directories, with size and time.
snapshot() { find "$@" -printf '%p %y %s %T@\n' 2>/dev/null | sort; }
