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
. "$here/scripts/lib/fresh-debian.sh"
# xdg-mime and the MIME database's tools, as a desktop has them; no display of its own:
# the program shows its windows on an Xvfb of the host, where xdotool drives them.
tools=(xdg-utils libfile-mimeinfo-perl)

skip() { echo "deb-smoke: skipped: $*"; exit 0; }
why=$(fresh_unavailable)
[ -z "$why" ] || skip "$why"

deb=${1:-}
if [ -z "$deb" ]; then
  deb=$("$here/scripts/package.sh" | tail -n 1)
fi
[ -f "$deb" ] || { echo "deb-smoke: no package at $deb" >&2; exit 1; }
deb=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")

base=$(fresh_base "${tools[@]}")
trap fresh_leave EXIT
fresh_enter "$base"
root=$fresh_root
cp "$deb" "$root/tmp/"
in_root() { fresh_as_root "$@"; }
fail() { echo "deb-smoke: FAILED: $*" >&2; exit 1; }
# The system folders, as file names; caches that other packages' triggers rebuild are left out.
system_files() {
  in_root find /usr /etc /opt /var/lib -xdev \
    -path /var/lib/apt -prune -o -path /var/lib/dpkg -prune -o -path /var/lib/ucf -prune -o -print | sort
}

in_root useradd --create-home --shell /bin/sh clerk
before=$(mktemp)
trap 'rm -f "$before"; fresh_leave' EXIT
system_files >"$before"

echo "deb-smoke: apt-get install ./$(basename "$deb")"
in_root apt-get update -q >/dev/null
in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" >/dev/null \
  || fail "apt-get could not install the package"

version=$(in_root vantrel --version) || fail "vantrel --version did not exit 0"
[[ "$version" == *1.1.1* ]] || fail "vantrel --version printed '$version'"
echo "deb-smoke: $version"

# A user's first start, driven from outside as a user would: the settings, the unit
# information and a report, through the dialogs, with the keyboard.
fresh_start_display
x() { DISPLAY=$fresh_display xdotool "$@"; }
log="$root/tmp/first-start.log"
# In a session of its own, so that the program and all are stopped together.
setsid bash -c "$(declare -f fresh_as_user); fresh_root='$root' fresh_display='$fresh_display' \
  fresh_as_user clerk timeout 300 vantrel" >"$log" 2>&1 </dev/null &
starter=$!
stopped() { kill -TERM -- "-$starter" 2>/dev/null || true; wait "$starter" 2>/dev/null || true; }
# The next window whose title matches and that was not answered before (an answered message
# box may linger for a moment), focused; it waits two minutes at most.
answered=" "
step() {
  local pattern=$1 what=$2 window="" id _
  for _ in $(seq 1 240); do
    kill -0 "$starter" 2>/dev/null || break
    for id in $(x search --onlyvisible --name "$pattern" 2>/dev/null); do
      [[ "$answered" == *" $id "* ]] || { window=$id; break; }
    done
    [ -n "$window" ] && break
    sleep 0.5
  done
  [ -n "$window" ] || { stopped; cat "$log" >&2; fail "no window '$pattern' $what"; }
  answered+="$window "
  x windowfocus --sync "$window"
  current=$window
}
# Without settings, the program opens with its message asking for them, before any window.
step '^Vantrel$' "at the first start"
x key Return
step '^选项$' "after the first message"
# Unit code; Tab past the local folder (left empty: the user's documents) and its button to 确定.
x type --delay 20 410101
x key Tab Tab Tab space
# The notice about unit codes, then the message asking for the unit information.
step '^Vantrel$' "after the settings"
x key Return
step '^Vantrel$' "after the notice about unit codes"
x key Return
step '^单位信息$' "after the settings were saved"
# From the tabs, past the unit code shown, to 填报人 and 单位全称; back to 保存.
x key Tab Tab
x type --delay 20 Clerk
x key Tab
x type --delay 20 Museum
x key shift+Tab shift+Tab shift+Tab shift+Tab space
step '^Vantrel - ' "after the unit information"
# The main window, focused, has the cursor waiting in 项目编号.
x type --delay 20 P001
x key Tab
x type --delay 20 Project
x key ctrl+s
report=/home/clerk/Documents/Vantrel/qzrt_410101_P001.xm
for _ in $(seq 1 120); do
  [ -f "$root$report" ] && break
  kill -0 "$starter" 2>/dev/null || break
  sleep 0.5
done
stopped
[ -f "$root/home/clerk/.config/Vantrel/config.pz" ] || fail "no config.pz in the user's configuration folder"
[ -f "$root$report" ] || { ls -R "$root/home/clerk" >&2; cat "$log" >&2; fail "no report $report"; }
echo "deb-smoke: first start asked for the settings and saved settings, unit information and a report"

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
