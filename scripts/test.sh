#!/usr/bin/env bash
# Sets everything up (packages, build) and runs the whole test suite twice: first as
# built for use, then once more in a build of its own (build-asan) under
# AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer.
# Arguments go to both ctest runs. VANTREL_SKIP_SANITIZE=1 runs only the first.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
build_dir=${VANTREL_BUILD_DIR:-"$here/build"}
(cd "$build_dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" "$@")

[ "${VANTREL_SKIP_SANITIZE:-}" = 1 ] && exit 0

asan_dir=${VANTREL_ASAN_BUILD_DIR:-"$here/build-asan"}
# Configured every time, so a build folder left from another configuration is corrected.
export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$here" --preset asan -B "$asan_dir" "${launcher[@]}" ${VANTREL_CMAKE_ARGS:-} >/dev/null
cmake --build "$asan_dir" --parallel "$(nproc)"
cd "$asan_dir"
echo "== The suite again under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer =="
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" "$@"
