#!/usr/bin/env bash
# Measures the calculation book: one route's book to PDF (target ≤ 300 ms, the median of five
# runs in one process each) and 1,000 routes to one PDF (target ≤ 60 s), with the page count.
# Usage: scripts/measure-book.sh [BUILD_DIR]   (needs the write_sample_book target built)
set -euo pipefail
build=${1:-build}
tool="$build/tests/book/write_sample_book"
[ -x "$tool" ] || { echo "build the write_sample_book target first" >&2; exit 2; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

times=()
for i in 1 2 3 4 5; do
  times+=("$("$tool" "$out/one.pdf" 1 2>/dev/null | sed -n 's/.*: \([0-9.]*\) ms/\1/p')")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
echo "one route to PDF: median ${median} ms of (${times[*]}) ms; $(pdfinfo "$out/one.pdf" | grep Pages)"

start=$(date +%s.%N)
"$tool" "$out/many.pdf" 1000 2>/dev/null
end=$(date +%s.%N)
echo "1000 routes to PDF: $(echo "$end - $start" | bc) s wall, process included;" \
     "$(pdfinfo "$out/many.pdf" | grep Pages); $(du -h "$out/many.pdf" | cut -f1)"
