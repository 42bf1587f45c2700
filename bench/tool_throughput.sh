#!/usr/bin/env bash
# ventora-calc's throughput as a whole process on one core: a generated file of mixed requests
# (100,000 lines unless told otherwise), timed with hyperfine. Target: above 200,000 requests/s.
#
#   bash bench/tool_throughput.sh [BUILD_DIR [LINES]]     (BUILD_DIR defaults to build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
lines=${2:-100000}
calc=$build/src/cli/ventora-calc
make=$build/bench/make_requests
for program in "$calc" "$make"; do
    [ -x "$program" ] || { echo "missing $program: build ventora-calc and make_requests in $build" >&2; exit 2; }
done
command -v hyperfine >/dev/null || { echo "hyperfine is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$make" "$lines" >"$work/requests.jsonl"
# Every line must be answered, and without an error, for the figure to mean anything.
"$calc" "$work/requests.jsonl" >"$work/responses.jsonl"
answered=$(wc -l <"$work/responses.jsonl")
[ "$answered" -eq "$lines" ] || { echo "answered $answered of $lines lines" >&2; exit 1; }

taskset -c 0 hyperfine --warmup 3 --runs 20 --export-json "$work/times.json" \
    "$calc $work/requests.jsonl"
mean=$(grep -o '"mean": *[0-9.eE+-]*' "$work/times.json" | head -n 1 | sed 's/.*: *//')
awk -v n="$lines" -v t="$mean" 'BEGIN { printf "%d requests in %.1f ms: %.0f requests/s\n", n, t * 1000, n / t }'
