#!/usr/bin/env bash
# Sets everything up (packages, build) and starts Vantrel.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/setup.sh"
build_dir=${VANTREL_BUILD_DIR:-"$here/build"}
exec "$build_dir/vantrel" "$@"
