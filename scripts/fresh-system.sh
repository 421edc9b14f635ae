#!/usr/bin/env bash
# The README's two commands as a newcomer meets them: on a minimal Debian 12 (debootstrap
# minbase, nothing else), from a copy of this checkout,
#   - as root: scripts/run.sh, up to the first window under Xvfb;
#   - as a plain user with sudo, on another fresh copy of the system: scripts/test.sh (the
#     whole suite, plainly and under the sanitizers), then scripts/run.sh up to the first
#     window.
# Set-up must install every package the build needs, so a missing one fails here even
# when the machine running this happens to have it. The host's ccache is shared, so builds
# already made here are not made again.
#   scripts/fresh-system.sh [root|user]...   (default: both)
# Needs root, debootstrap and the Debian mirror (VANTREL_DEBIAN_MIRROR, else the one in
# this machine's apt sources); without them it says why in one line and exits with 75.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$here/scripts/lib/fresh-debian.sh"

roles=("$@")
[ ${#roles[@]} -eq 0 ] && roles=(root user)

skip() { echo "fresh-system: skipped: $*"; exit 75; }
if [ "$(id -u)" -eq 0 ] && ! { command -v debootstrap && command -v curl; } >/dev/null 2>&1; then
  fresh_host_install debootstrap curl || true
fi
why=$(fresh_unavailable)
[ -z "$why" ] || skip "$why"

base=$(fresh_base sudo)
log_dir=${VANTREL_FRESH_LOGS:-"$here/build-fresh"}
mkdir -p "$log_dir"

# The host's compiler cache, writable by the plain user in the fresh system too.
ccache_dir=$(ccache -k cache_dir 2>/dev/null || true)
[ -n "$ccache_dir" ] || ccache_dir=${CCACHE_DIR:-$HOME/.cache/ccache}
mkdir -p "$ccache_dir"
cache_env=(CCACHE_DIR=/var/cache/vantrel-ccache CCACHE_UMASK=000)

fail() { echo "fresh-system: FAILED: $*" >&2; exit 1; }
trap fresh_leave EXIT

# This checkout as a fresh clone has it (tracked and new files, no build folders), at the
# same path as here: Qt's test builds compile their folder in, and so hit the cache only there.
copy_checkout() {
  local to=$1
  mkdir -p "$to"
  git -C "$here" ls-files -z --cached --others --exclude-standard \
    | (cd "$here" && tar --null --ignore-failed-read -T - -cf - 2>/dev/null) | tar -C "$to" -xf -
}

enter() {
  # Opened to the plain user each time: what was cached here since was written by root.
  chmod -R a+rwX "$ccache_dir"
  fresh_enter "$base"
  mkdir -p "$fresh_root/var/cache/vantrel-ccache"
  mount --bind "$ccache_dir" "$fresh_root/var/cache/vantrel-ccache" && fresh_mounts+=("$fresh_root/var/cache/vantrel-ccache")
  fresh_start_display
}

# Runs the README's run command as the given user ("root" or a user name) and waits for
# its first window; the program is then stopped. The build before it may take minutes.
run_to_first_window() {
  local who=$1 checkout=$2 log=$3 starter window
  if [ "$who" = root ]; then
    setsid bash -c "$(declare -f fresh_as_root); fresh_root='$fresh_root' fresh_display='$fresh_display' \
      fresh_as_root env ${cache_env[*]} '$checkout/scripts/run.sh'" >"$log" 2>&1 </dev/null &
  else
    setsid bash -c "$(declare -f fresh_as_user); fresh_root='$fresh_root' fresh_display='$fresh_display' \
      fresh_as_user '$who' env ${cache_env[*]} '$checkout/scripts/run.sh'" >"$log" 2>&1 </dev/null &
  fi
  starter=$!
  # A first start without settings opens with the program's message asking for them.
  window=$(fresh_wait_window '^Vantrel' "$starter" || true)
  kill -TERM -- "-$starter" 2>/dev/null || true
  wait "$starter" 2>/dev/null || true
  [ -n "$window" ] || { tail -n 40 "$log" >&2; fail "scripts/run.sh as $who showed no window (log: $log)"; }
  echo "fresh-system: scripts/run.sh as $who showed its first window"
}

for role in "${roles[@]}"; do
  case "$role" in
    root)
      echo "fresh-system: as root on a fresh $fresh_suite: scripts/run.sh"
      enter
      copy_checkout "$fresh_root$here"
      run_to_first_window root "$here" "$log_dir/run-as-root.log"
      fresh_leave
      ;;
    user)
      echo "fresh-system: as a plain user with sudo on a fresh $fresh_suite: scripts/test.sh, then scripts/run.sh"
      enter
      fresh_as_root useradd --create-home --shell /bin/bash newcomer
      echo 'newcomer ALL=(ALL) NOPASSWD: ALL' >"$fresh_root/etc/sudoers.d/newcomer"
      chmod 0440 "$fresh_root/etc/sudoers.d/newcomer"
      copy_checkout "$fresh_root$here"
      fresh_as_root chown -R newcomer:newcomer "$here"
      if ! fresh_as_user newcomer env "${cache_env[@]}" "$here/scripts/test.sh" \
           >"$log_dir/test-as-user.log" 2>&1 </dev/null; then
        tail -n 60 "$log_dir/test-as-user.log" >&2
        fail "scripts/test.sh as a plain user failed (log: $log_dir/test-as-user.log)"
      fi
      grep -E '^(100% tests passed|[0-9]+% tests passed)' "$log_dir/test-as-user.log" | sed 's/^/fresh-system: /'
      run_to_first_window newcomer "$here" "$log_dir/run-as-user.log"
      fresh_leave
      ;;
    *) echo "fresh-system: unknown role '$role' (root or user)" >&2; exit 2 ;;
  esac
done
echo "fresh-system: passed"
