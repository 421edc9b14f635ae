#!/usr/bin/env bash
# The Debian package on a fresh Debian 12, as a unit's computer gets it: apt installs it
# with its dependencies, `vantrel --version` answers, a user's first start under Xvfb asks
# for the settings and saves settings, unit information and a report in the user's own
# folders, the report is recognised as a Vantrel report, and purging leaves the system
# folders as they were. Needs root and the Debian mirror; otherwise it says why and skips.
#   scripts/deb-smoke.sh [path/to/vantrel_*.deb]
# The minbase system is made once with debootstrap and kept, with downloaded packages,
# under /var/tmp/vantrel-deb-smoke (VANTREL_SMOKE_CACHE), so a second run is quick.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mirror=${VANTREL_DEBIAN_MIRROR:-http://deb.debian.org/debian}
cache=${VANTREL_SMOKE_CACHE:-/var/tmp/vantrel-deb-smoke}
suite=bookworm
tools=(xvfb xauth xdg-utils libfile-mimeinfo-perl)

skip() { echo "deb-smoke: skipped: $*"; exit 0; }
[ "$(id -u)" -eq 0 ] || skip "needs root to make and enter a chroot"
command -v debootstrap >/dev/null 2>&1 || skip "debootstrap is not installed (apt-get install debootstrap)"
command -v curl >/dev/null 2>&1 || skip "curl is not installed, so the Debian mirror cannot be checked"
curl -fsS --max-time 20 -o /dev/null "$mirror/dists/$suite/Release" 2>/dev/null \
  || skip "the Debian mirror $mirror cannot be reached"

deb=${1:-}
if [ -z "$deb" ]; then
  deb=$("$here/scripts/package.sh" | tail -n 1)
fi
[ -f "$deb" ] || { echo "deb-smoke: no package at $deb" >&2; exit 1; }
deb=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")

# ---- A minbase Debian 12 with the test tools, made once ---------------------------------------
mkdir -p "$cache/archives/partial"
base="$cache/$suite-minbase.tar"
if [ ! -f "$base" ]; then
  echo "deb-smoke: making a fresh $suite minbase system (once)"
  fresh="$cache/bootstrap"
  # What an interrupted run left mounted there must not be deleted with it.
  umount -R -l "$fresh/dev" "$fresh/proc" 2>/dev/null || true
  rm -rf --one-file-system "$fresh"
  debootstrap --variant=minbase --cache-dir="$cache/archives" "$suite" "$fresh" "$mirror" >/dev/null
  mount -t proc proc "$fresh/proc"
  mount --rbind /dev "$fresh/dev" && mount --make-rslave "$fresh/dev"
  status=0
  chroot "$fresh" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${tools[@]}" >/dev/null \
    || status=$?
  umount -l "$fresh/dev"
  umount "$fresh/proc"
  [ "$status" -eq 0 ] || { echo "deb-smoke: could not install ${tools[*]} into the fresh system" >&2; exit 1; }
  chroot "$fresh" apt-get clean
  tar -C "$fresh" -cf "$base.part" . && mv "$base.part" "$base"
  rm -rf --one-file-system "$fresh"
fi

root=$(mktemp -d /var/tmp/vantrel-smoke-root.XXXXXX)
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT
tar -C "$root" -xf "$base"
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev" && mounted+=("$root/dev")
# Downloaded packages are kept between runs.
mount --bind "$cache/archives" "$root/var/cache/apt/archives" && mounted+=("$root/var/cache/apt/archives")
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }
fail() { echo "deb-smoke: FAILED: $*" >&2; exit 1; }
# The system folders, as file names; caches that other packages' triggers rebuild are left out.
system_files() {
  in_root find /usr /etc /opt /var/lib -xdev \
    -path /var/lib/apt -prune -o -path /var/lib/dpkg -prune -o -path /var/lib/ucf -prune -o -print | sort
}

in_root useradd --create-home --shell /bin/sh clerk
before=$(mktemp)
trap 'rm -f "$before"; cleanup' EXIT
system_files >"$before"

echo "deb-smoke: apt-get install ./$(basename "$deb")"
in_root apt-get update -q >/dev/null
in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" >/dev/null \
  || fail "apt-get could not install the package"

version=$(in_root vantrel --version) || fail "vantrel --version did not exit 0"
[[ "$version" == *1.1.1* ]] || fail "vantrel --version printed '$version'"
echo "deb-smoke: $version"

# A user's first start: the settings, the unit information and a report, through the dialogs.
script='message;frmOptions/Text1=410101;frmOptions/cmdOK;message;message;'
script+='frmCorpInfo/Text2=郑州市博物馆;frmCorpInfo/Text27=张三;frmCorpInfo/cmdOK;'
script+='frmMain/Text1=P001;frmMain/Text2=测试项目;frmMain/M_FileSave'
log="$root/tmp/first-start.log"
# In a session of its own, so that the program, Xvfb and all are stopped together.
setsid chroot "$root" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
  setpriv --reuid=clerk --regid=clerk --init-groups env HOME=/home/clerk VANTREL_PROBE_SCRIPT="$script" \
  timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" vantrel >"$log" 2>&1 &
starter=$!
for _ in $(seq 1 600); do
  grep -q "vantrel-probe: done" "$log" 2>/dev/null && break
  kill -0 "$starter" 2>/dev/null || break
  sleep 0.5
done
kill -TERM -- "-$starter" 2>/dev/null || true
wait "$starter" 2>/dev/null || true
first=$(grep -m1 '^vantrel-message: ' "$log" | cut -d' ' -f2- || true)
[ "$first" = "请配置参数信息" ] || { cat "$log" >&2; fail "the first message was '$first'"; }
grep -q "vantrel-probe: done" "$log" || { cat "$log" >&2; fail "the first start did not finish its dialogs"; }
echo "deb-smoke: first start showed 请配置参数信息 and saved through the dialogs"
[ -f "$root/home/clerk/.config/Vantrel/config.pz" ] || fail "no config.pz in the user's configuration folder"
report=/home/clerk/Documents/Vantrel/qzrt_410101_P001.xm
[ -f "$root$report" ] || fail "no report in the user's documents folder"

type=$(in_root setpriv --reuid=clerk --regid=clerk --init-groups env HOME=/home/clerk xdg-mime query filetype "$report")
[ "$type" = "application/x-vantrel-report" ] || fail "xdg-mime calls a saved report '$type'"
echo "deb-smoke: xdg-mime query filetype: $type"

in_root apt-get purge -y -q vantrel >/dev/null || fail "apt-get purge vantrel failed"
in_root apt-get autoremove --purge -y -q >/dev/null || fail "apt-get autoremove failed"
# The user's own files are the user's; the rest of the system must be as before.
if ! diff <(cat "$before") <(system_files) >"$root/tmp/left-behind"; then
  cat "$root/tmp/left-behind" >&2
  fail "purging left the system folders changed"
fi
echo "deb-smoke: purge left the system folders as they were"
echo "deb-smoke: passed"
