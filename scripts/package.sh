#!/usr/bin/env bash
# Builds the Debian package: a release build with Debian's hardening flags (no tests, no
# benchmarks) in build-deb/, then `cpack -G DEB`; the package lands in dist/ as
# vantrel_<version>_amd64.deb and lintian checks it when installed.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${VANTREL_PACKAGE_BUILD_DIR:-"$here/build-deb"}
dist_dir=${VANTREL_DIST_DIR:-"$here/dist"}

# dpkg-dev computes the dependencies from the binaries (dpkg-shlibdeps).
VANTREL_SKIP_BUILD=1 VANTREL_EXTRA_PACKAGES="dpkg-dev ${VANTREL_EXTRA_PACKAGES:-}" "$here/scripts/setup.sh"

# Debian's hardening flags, given on every run so that a changed flag reaches the build.
export DEB_BUILD_MAINT_OPTIONS=${DEB_BUILD_MAINT_OPTIONS:-hardening=+all}
cxx_flags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
linker_flags=$(dpkg-buildflags --get LDFLAGS)
generator=()
[ ! -f "$build_dir/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
cmake -S "$here" -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_FLAGS="$cxx_flags" -DCMAKE_EXE_LINKER_FLAGS="$linker_flags" \
      -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_BENCH=OFF ${VANTREL_CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"

mkdir -p "$dist_dir"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
deb="$dist_dir/vantrel_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
(cd "$build_dir" && cpack -G DEB -B "$build_dir/cpack" >/dev/null)
mv "$build_dir/cpack/$(basename "$deb")" "$deb"

if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$deb" || {
    echo "lintian found errors in $deb" >&2
    exit 1
  }
fi
echo "$deb"
