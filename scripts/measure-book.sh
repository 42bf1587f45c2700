#!/usr/bin/env bash
# Measures the calculation book: one route's book to PDF (target ≤ 300 ms, the median of five
# runs in one process each), then ventora-report on batches of one route repeated (typed rate
# 10000 kg/h, full-lift gas valve d1 = 50: five pages a route) with its wall and CPU time, peak
# memory and the pages, each page checked for its "共 M 页". Targets: 1,000 routes ≤ 60 s;
# 10,000 routes ≤ 10 minutes on one core and ≤ 300 MB. Runs niced, one batch at a time.
# Usage: scripts/measure-book.sh [BUILD_DIR [ROUTES...]]   (default 1000 3000 10000; needs the
# write_sample_book and ventora-report targets built)
set -euo pipefail
build=${1:-build}
shift || true
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(1000 3000 10000)
tool="$build/tests/book/write_sample_book"
report="$build/src/cli/ventora-report"
[ -x "$tool" ] && [ -x "$report" ] || { echo "build write_sample_book and ventora-report first" >&2; exit 2; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

times=()
for i in 1 2 3 4 5; do
  times+=("$(nice "$tool" "$out/one.pdf" 1 2>/dev/null | sed -n 's/.*: \([0-9.]*\) ms/\1/p')")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
echo "one route to PDF: median ${median} ms of (${times[*]}) ms; $(pdfinfo "$out/one.pdf" | grep Pages)"

route='{"calc":"route","relief":{"case":"typed_rate","W_t":"10000"},"device":{"calc":"valve","valve_type":"full_lift","medium":"gas","d1":"50","C":"356","Ps":"1","M":"29","T":"300","Z":"1","k":"1.4","Po":"0.1"}}'
for n in "${counts[@]}"; do
  awk -v n="$n" -v line="$route" 'BEGIN { for (i = 0; i < n; i++) print line }' > "$out/routes.jsonl"
  status=0
  /usr/bin/time -v -o "$out/time" nice "$report" -o "$out/book.pdf" "$out/routes.jsonl" 2>/dev/null || status=$?
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$out/time")
  user=$(sed -n 's/.*User time (seconds): //p' "$out/time")
  sys=$(sed -n 's/.*System time (seconds): //p' "$out/time")
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$out/time")
  pages=$(pdfinfo "$out/book.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
  numbered=$(pdftotext "$out/book.pdf" - 2>/dev/null | grep -c "共 ${pages:-0} 页" || true)
  echo "$n routes: exit $status; ${wall} wall, ${user} s user + ${sys} s sys;" \
       "peak $((rss / 1024)) MB; ${pages:-no} pages, ${numbered} carry 共 ${pages:-?} 页;" \
       "$(du -h "$out/book.pdf" 2>/dev/null | cut -f1)"
  rm -f "$out/book.pdf"
done
