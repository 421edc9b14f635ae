#!/usr/bin/env bash
# Installs the Debian packages Vantrel needs to build and test, when missing,
# then configures and builds it. Safe to run again: it does nothing it need not.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${VANTREL_BUILD_DIR:-"$here/build"}

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-translations-l10n
          libxml2-dev libxslt1-dev libgmp-dev xvfb xauth fontconfig
          fonts-noto-cjk  # the CJK serif and sans the printed pages name first
          qt6-svg-dev shared-mime-info libfile-mimeinfo-perl desktop-file-utils appstream
          libxlsxwriter-dev libarchive-dev python3-openpyxl libxml2-utils ccache
          zlib1g-dev)  # libxlsxwriter's pkg-config names -lz, and its -dev package does not pull it in
[ "${VANTREL_EXTRA_PACKAGES:-}" ] && read -r -a extra <<<"$VANTREL_EXTRA_PACKAGES" && packages+=("${extra[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# A CJK font, or every Chinese character in a window or a picture is a box.
if ! command -v fc-list >/dev/null 2>&1 || [ -z "$(fc-list :lang=zh 2>/dev/null)" ]; then
  missing+=(fonts-wqy-microhei)
fi

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

[ "${VANTREL_SKIP_BUILD:-}" = 1 ] && exit 0

# The configurations are the presets in CMakePresets.json; the folder may be moved.
# Compiled objects are kept by ccache relative to the project folder, so a fresh clone
# elsewhere rebuilds from the cache.
export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S "$here" --preset default -B "$build_dir" "${launcher[@]}" ${VANTREL_CMAKE_ARGS:-}
fi
cmake --build "$build_dir" --parallel "$(nproc)"
