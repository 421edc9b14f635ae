#!/usr/bin/env bash
# vantrel-check against the parse floor: xmllint --noout parsing the same files in one
# process. Generates 1,000 reports (+100 unit files) and 20,000 reports (+2,000 unit
# files) with long texts, and 20,000 small reports (+2,000 unit files, gen_corpus.py
# --small), runs each once to warm the file cache, then times vantrel-check with and
# without the workbook, and xmllint, with /usr/bin/time -v. Prints one table row per corpus
# and mode: files, wall and processor time (user + system), time per file, peak memory,
# and the throughput of vantrel-check as a share of xmllint's. On a shared machine the
# processor times say more than the wall times: run it more than once.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VANTREL_BUILD_DIR:-"$here/build"}
check="$build/vantrel-check"
work=${VANTREL_BENCH_DIR:-$(mktemp -d)}
command -v xmllint >/dev/null || { echo "xmllint missing: apt-get install libxml2-utils" >&2; exit 2; }
[ -x "$check" ] || { echo "build vantrel-check first ($check)" >&2; exit 2; }

# Runs a command under /usr/bin/time -v; prints "seconds cpu_seconds peak_kib".
measure() {
  local log; log=$(mktemp)
  /usr/bin/time -v "$@" >/dev/null 2>"$log" || true
  local wall rss cpu
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$log")
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$log")
  cpu=$(awk -F': ' '/(User|System) time \(seconds\)/ {s += $2} END {print s}' "$log")
  rm -f "$log"
  # h:mm:ss or m:ss.ss to seconds
  python3 -c "import sys; p=[float(x) for x in sys.argv[1].split(':')]; print(sum(v*60**i for i,v in enumerate(reversed(p))), sys.argv[2], sys.argv[3])" "$wall" "$cpu" "$rss"
}

printf '| corpus | files | workbook | vantrel-check s (CPU s) | ms/file | peak RSS MiB | xmllint --noout s (CPU s) | xmllint peak MiB | throughput vs xmllint |\n'
printf '|---|---|---|---|---|---|---|---|---|\n'
for corpus in ${VANTREL_BENCH_CORPORA:-long:1000:100 long:20000:2000 small:20000:2000}; do
  shape=${corpus%%:*} sizes=${corpus#*:}
  reports=${sizes%%:*} units=${sizes##*:}
  dir="$work/corpus_${shape}_$reports"
  flag=(); [ "$shape" = small ] && flag=(--small)
  [ -d "$dir" ] || python3 "$here/bench/gen_corpus.py" "${flag[@]}" "$dir" "$reports" "$units" >/dev/null
  list="$work/files_${shape}_$reports"
  find "$dir" -type f \( -name '*.xm' -o -name '*.dw' \) | sort >"$list"
  files=$(wc -l <"$list")
  "$check" --quiet --xlsx "$work/warm.xlsx" "$dir" >/dev/null 2>&1 || true
  # One xmllint process for every file (xargs splits only beyond the argument limit).
  read -r lint_s lint_cpu lint_kib < <(measure sh -c "xargs -d '\n' xmllint --noout <'$list'")
  for book in yes no; do
    args=(--quiet); [ "$book" = yes ] && args+=(--xlsx "$work/book_${shape}_$reports.xlsx")
    read -r check_s check_cpu check_kib < <(measure "$check" "${args[@]}" "$dir")
    python3 - "$shape" "$reports" "$units" "$files" "$book" "$check_s" "$check_cpu" "$check_kib" "$lint_s" "$lint_cpu" "$lint_kib" <<'PY'
import sys
shape, reports, units, files, book = sys.argv[1:6]
check_s, check_cpu, check_kib, lint_s, lint_cpu, lint_kib = map(float, sys.argv[6:12])
label = f"{int(reports):,} {'small ' if shape == 'small' else ''}reports + {int(units):,} unit files"
print(f"| {label} | {int(files):,} | {book} | {check_s:.2f} ({check_cpu:.2f}) | "
      f"{1000 * check_s / int(files):.3f} | {check_kib / 1024:.1f} | {lint_s:.2f} ({lint_cpu:.2f}) | {lint_kib / 1024:.1f} | "
      f"{lint_s / check_s:.2f}× |")
PY
  done
done
