#!/usr/bin/env bash
# Prints sample pages as a clerk would: builds when needed, writes a full report, a full
# unit and a stress report (a 500-character unbroken name, 10,000-character texts, 12-digit
# amounts) through the program's own transformation, prints each to PDF with headless
# Chromium and renders every sheet to PNG.
#   scripts/print-pages.sh [output folder]      (default: page-prints/ in the checkout)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${VANTREL_BUILD_DIR:-"$here/build"}
out=$(realpath -m "${1:-$here/page-prints}")

# Set-up installs the printer and the tools beside the program's own packages (the fonts
# the pages name first are among those); it builds only when nothing was built yet.
skip_build=""
[ -f "$build_dir/CMakeCache.txt" ] && skip_build=1
VANTREL_EXTRA_PACKAGES="chromium poppler-utils ${VANTREL_EXTRA_PACKAGES:-}" VANTREL_SKIP_BUILD="$skip_build" \
  VANTREL_BUILD_DIR="$build_dir" "$here/scripts/setup.sh"
cmake --build "$build_dir" --parallel "$(nproc)" --target pages_test_page_totals

rm -rf "$out"
mkdir -p "$out"
# The test binary's sample mode: documents saved, loaded back and transformed as on save.
VANTREL_SAMPLE_PAGES="$out" QT_QPA_PLATFORM=offscreen "$build_dir/tests/pages_test_page_totals"

profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
for page in "$out"/*.htm; do
  name=$(basename "$page" .htm)
  chromium --headless --no-sandbox --disable-gpu --no-pdf-header-footer \
    --disable-background-networking --disable-component-update --disable-sync --no-first-run \
    --user-data-dir="$profile" --print-to-pdf="$out/$name.pdf" "file://$page" 2>/dev/null
  pdftoppm -png -r 100 "$out/$name.pdf" "$out/$name"
  pdftotext -enc UTF-8 -layout "$out/$name.pdf" "$out/$name.txt"
  echo "$name: $(pdfinfo "$out/$name.pdf" | awk '/^Pages:/ {print $2}') sheet(s)"
done
echo "Pictures in $out:"
ls -1 "$out"/*.png
