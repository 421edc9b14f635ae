#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for the given
# number of seconds (default 30), starting from the seeds in tests/corpus/<target>/.
# New inputs go to build-fuzz/corpus/<target>/, crashes to build-fuzz/artifacts/.
# Usage: scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(xml_document settings report_page report_window unit_window check_input)
build_dir=${VANTREL_FUZZ_BUILD_DIR:-"$here/build-fuzz"}

# The program's own packages first, then clang and its fuzzing runtime.
VANTREL_SKIP_BUILD=1 "$here/scripts/setup.sh"
if ! command -v clang++ >/dev/null 2>&1 || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q 'install ok installed'; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends clang libclang-rt-14-dev
fi
export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S "$here" --preset fuzz -B "$build_dir" "${launcher[@]}" ${VANTREL_CMAKE_ARGS:-}
fi
cmake --build "$build_dir" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

status=0
for t in "${targets[@]}"; do
  corpus="$build_dir/corpus/$t"
  artifacts="$build_dir/artifacts"
  mkdir -p "$corpus" "$artifacts"
  log="$build_dir/fuzz_$t.log"
  echo "== fuzz_$t for ${seconds}s (log: $log)"
  if ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
     "$build_dir/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
       -dict="$here/fuzz/xml.dict" -artifact_prefix="$artifacts/$t-" -print_final_stats=1 \
       "$corpus" "$here/tests/corpus/$t" >"$log" 2>&1; then
    grep -E '^#[0-9]+.*(DONE|pulse)' "$log" | tail -1
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log" || true
  else
    status=1
    echo "fuzz_$t found a failure:"
    grep -E 'ERROR|INVARIANT|SUMMARY|Test unit written' "$log" | head -20
  fi
done
exit $status
