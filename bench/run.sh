#!/usr/bin/env bash
# Builds Vantrel and prints the benchmark table (times in ms, medians).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh" >/dev/null
python3 "$here/bench/run.py" "${VANTREL_BUILD_DIR:-$here/build}"
