# A minimal Debian 12 (debootstrap minbase) to try things in as a fresh machine would,
# shared by scripts/deb-smoke.sh and scripts/fresh-system.sh. Sourced, not run.
#
# The system is made once per list of extra tools and kept as a tar file, with the
# downloaded packages, under /var/tmp/vantrel-deb-smoke (VANTREL_SMOKE_CACHE). Programs in it
# reach an Xvfb of the host through a shared /tmp/.X11-unix, so that xdotool on the host
# can watch and drive them without installing anything graphical into the fresh system.

fresh_suite=bookworm
fresh_cache=${VANTREL_SMOKE_CACHE:-/var/tmp/vantrel-deb-smoke}

# The package mirror: VANTREL_DEBIAN_MIRROR, else the first one this machine's own apt
# sources use for the suite, else none (the caller skips).
fresh_mirror() {
  if [ -n "${VANTREL_DEBIAN_MIRROR:-}" ]; then
    echo "$VANTREL_DEBIAN_MIRROR"
    return
  fi
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    # deb822 stanzas: the URIs of a "deb" stanza whose suites include the plain suite.
    awk -v suite="$fresh_suite" '
      function flush() { if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") && uri != "") { print uri; found = 1; exit } types = suites = uri = "" }
      /^[[:space:]]*$/ { flush(); next }
      /^Types:/ { sub(/^Types:[[:space:]]*/, ""); types = $0 }
      /^Suites:/ { sub(/^Suites:[[:space:]]*/, ""); suites = $0 }
      /^URIs:/ { sub(/^URIs:[[:space:]]*/, ""); split($0, u, /[[:space:]]+/); uri = u[1] }
      END { if (!found) flush() }' "$file" | head -n 1 | grep . && return
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    # deb [options] URI suite components
    sed -e 's/#.*//' -e 's/\[[^]]*\]//' "$file" \
      | awk -v suite="$fresh_suite" '$1 == "deb" && $3 == suite { print $2; exit }' | grep . && return
  done
  return 0
}

# Installs packages on this machine (root), reading the package lists first when they are
# missing or out of date.
fresh_host_install() {
  env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@" >/dev/null 2>&1 && return
  env DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null 2>&1 || true
  env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@" >/dev/null
}

# Why a fresh system cannot be made here, or nothing when it can.
fresh_unavailable() {
  [ "$(id -u)" -eq 0 ] || { echo "needs root to make and enter a chroot"; return; }
  command -v debootstrap >/dev/null 2>&1 || { echo "debootstrap is not installed (apt-get install debootstrap)"; return; }
  command -v curl >/dev/null 2>&1 || { echo "curl is not installed, so the Debian mirror cannot be checked"; return; }
  local mirror
  mirror=$(fresh_mirror)
  [ -n "$mirror" ] || { echo "no Debian mirror in this machine's apt sources (set VANTREL_DEBIAN_MIRROR)"; return; }
  curl -fsS --max-time 20 -o /dev/null "$mirror/dists/$fresh_suite/Release" 2>/dev/null \
    || { echo "the Debian mirror $mirror cannot be reached"; return; }
}

# Makes (once) the minbase system with the given extra packages; prints its tar file.
fresh_base() {
  local mirror key base fresh status=0
  mirror=$(fresh_mirror)
  key=$(printf '%s\n' "$fresh_suite" "$mirror" "$@" | md5sum | cut -c1-10)
  base="$fresh_cache/$fresh_suite-minbase-$key.tar"
  mkdir -p "$fresh_cache/archives/partial"
  if [ ! -f "$base" ]; then
    echo "fresh-debian: making a fresh $fresh_suite minbase system (once)" >&2
    fresh="$fresh_cache/bootstrap-$key"
    # What an interrupted run left mounted there must not be deleted with it.
    umount -R -l "$fresh/dev" "$fresh/proc" 2>/dev/null || true
    rm -rf --one-file-system "$fresh"
    debootstrap --variant=minbase --cache-dir="$fresh_cache/archives" "$fresh_suite" "$fresh" "$mirror" >/dev/null \
      || { echo "fresh-debian: debootstrap failed" >&2; return 1; }
    # As an installed system has them: the suite and its updates.
    printf 'deb %s %s main\ndeb %s %s-updates main\n' "$mirror" "$fresh_suite" "$mirror" "$fresh_suite" \
      >"$fresh/etc/apt/sources.list"
    if [ $# -gt 0 ]; then
      mount -t proc proc "$fresh/proc"
      mount --rbind /dev "$fresh/dev" && mount --make-rslave "$fresh/dev"
      cp /etc/resolv.conf "$fresh/etc/resolv.conf" 2>/dev/null || true
      chroot "$fresh" env DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null || status=$?
      [ "$status" -eq 0 ] && { chroot "$fresh" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "$@" >/dev/null || status=$?; }
      umount -l "$fresh/dev"
      umount "$fresh/proc"
      [ "$status" -eq 0 ] || { echo "fresh-debian: could not install $* into the fresh system" >&2; return 1; }
      chroot "$fresh" apt-get clean
    fi
    tar -C "$fresh" -cf "$base.part" . && mv "$base.part" "$base"
    rm -rf --one-file-system "$fresh"
  fi
  echo "$base"
}

fresh_root=""
fresh_mounts=()
fresh_display=""
fresh_xvfb=""

# Unpacks a fresh copy of the system in the given tar file into $fresh_root and mounts
# what programs in it need; fresh_leave undoes it.
fresh_enter() {
  fresh_root=$(mktemp -d /var/tmp/vantrel-fresh-root.XXXXXX)
  tar -C "$fresh_root" -xf "$1"
  mount -t proc proc "$fresh_root/proc" && fresh_mounts+=("$fresh_root/proc")
  mount --rbind /dev "$fresh_root/dev" && mount --make-rslave "$fresh_root/dev" && fresh_mounts+=("$fresh_root/dev")
  # Downloaded packages are kept between runs.
  mount --bind "$fresh_cache/archives" "$fresh_root/var/cache/apt/archives" \
    && fresh_mounts+=("$fresh_root/var/cache/apt/archives")
  cp /etc/resolv.conf "$fresh_root/etc/resolv.conf" 2>/dev/null || true
}

fresh_leave() {
  local i
  [ -n "$fresh_xvfb" ] && kill "$fresh_xvfb" 2>/dev/null && wait "$fresh_xvfb" 2>/dev/null
  fresh_xvfb=""
  for ((i = ${#fresh_mounts[@]} - 1; i >= 0; i--)); do umount -l "${fresh_mounts[i]}" 2>/dev/null || true; done
  fresh_mounts=()
  [ -n "$fresh_root" ] && rm -rf --one-file-system "$fresh_root"
  fresh_root=""
}

# Runs a command in the fresh system as root, with a clean environment.
fresh_as_root() {
  chroot "$fresh_root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 HOME=/root \
    DEBIAN_FRONTEND=noninteractive ${fresh_display:+DISPLAY=$fresh_display} "$@"
}

# Runs a command in the fresh system as the given user, from a login-like environment.
fresh_as_user() {
  local user=$1
  shift
  chroot "$fresh_root" env -i PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 \
    ${fresh_display:+DISPLAY=$fresh_display} \
    setpriv --reuid="$user" --regid="$user" --init-groups env HOME="/home/$user" USER="$user" "$@"
}

# An Xvfb on the host whose socket the fresh system shares; sets fresh_display.
fresh_start_display() {
  command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 || fresh_host_install xvfb xdotool
  local number_file
  number_file=$(mktemp)
  # No access control: only programs on this machine reach the socket, and the
  # programs in the fresh system have no host's cookie to show.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac 3>"$number_file" >/dev/null 2>&1 &
  fresh_xvfb=$!
  local _
  for _ in $(seq 1 100); do
    [ -s "$number_file" ] && break
    kill -0 "$fresh_xvfb" 2>/dev/null || break
    sleep 0.1
  done
  fresh_display=":$(tr -d '\n' <"$number_file")"
  rm -f "$number_file"
  [ "$fresh_display" != ":" ] || { echo "fresh-debian: Xvfb did not start" >&2; return 1; }
  mkdir -p "$fresh_root/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$fresh_root/tmp/.X11-unix" && fresh_mounts+=("$fresh_root/tmp/.X11-unix")
}

# The id of the first visible window whose title matches the pattern, waiting while the
# process given lives; nothing when it ended first.
fresh_wait_window() {
  local pattern=$1 pid=$2 id
  while kill -0 "$pid" 2>/dev/null; do
    id=$(DISPLAY=$fresh_display xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.5
  done
  return 1
}
