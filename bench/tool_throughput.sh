#!/usr/bin/env bash
# ventora-calc's throughput as a whole process on one core, on a generated file of mixed requests
# (1,000,000 lines unless told otherwise), against bench/python_batch.py (json.loads, the same
# formulas, json.dumps) and against bench/python_fluids_batch.py (json.loads, python3-fluids' API 520
# gas sizing, json.dumps: the loop a user would write instead) on the same file in the same run;
# and ventora-calc's peak memory on the file and on a tenth of it, which must not grow with the
# number of lines.
# Targets: at least 1,200,000 requests/s, and at least 6 times either Python loop.
#
#   bash bench/tool_throughput.sh [BUILD_DIR [LINES]]     (BUILD_DIR defaults to build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
lines=${2:-1000000}
calc=$build/src/cli/ventora-calc
make=$build/bench/make_requests
for program in "$calc" "$make"; do
    [ -x "$program" ] || { echo "missing $program: build ventora-calc and make_requests in $build" >&2; exit 2; }
done
for tool in hyperfine python3 taskset; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done
# python3-fluids is Debian's: the system interpreter has it, whatever python3 is first on PATH.
/usr/bin/python3 -c 'import fluids' 2>/dev/null || { echo "python3-fluids is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$make" "$lines" >"$work/requests.jsonl"
"$make" $((lines / 10)) >"$work/tenth.jsonl"
# Every line must be answered, without an error, and the Python loop must give the same bytes,
# for the figures to mean anything.
"$calc" "$work/requests.jsonl" >"$work/responses.jsonl"
answered=$(wc -l <"$work/responses.jsonl")
[ "$answered" -eq "$lines" ] || { echo "answered $answered of $lines lines" >&2; exit 1; }
taskset -c 0 python3 bench/python_batch.py "$work/requests.jsonl" >"$work/python.jsonl"
cmp -s "$work/responses.jsonl" "$work/python.jsonl" || { echo "python_batch.py answers differently" >&2; exit 1; }

taskset -c 0 hyperfine --warmup 2 --runs 10 --export-json "$work/calc.json" "$calc $work/requests.jsonl"
taskset -c 0 hyperfine --runs 3 --export-json "$work/python.json" \
    "python3 bench/python_batch.py $work/requests.jsonl"
taskset -c 0 hyperfine --runs 3 --export-json "$work/fluids.json" \
    "/usr/bin/python3 bench/python_fluids_batch.py $work/requests.jsonl"
mean() { grep -o '"mean": *[0-9.eE+-]*' "$1" | head -n 1 | sed 's/.*: *//'; }
calc_s=$(mean "$work/calc.json")
python_s=$(mean "$work/python.json")
fluids_s=$(mean "$work/fluids.json")
peak() { /usr/bin/time -f %M "$calc" "$1" 2>&1 >/dev/null | tail -n 1; }
peak_all=$(peak "$work/requests.jsonl")
peak_tenth=$(peak "$work/tenth.jsonl")

awk -v n="$lines" -v c="$calc_s" -v p="$python_s" -v f="$fluids_s" -v m="$peak_all" -v t="$peak_tenth" 'BEGIN {
    rate = n / c; ratio = p / c; fluids = f / c
    printf "ventora-calc:   %d requests in %.1f ms: %.0f requests/s (target 1200000: %s)\n", n, c * 1000, rate, (rate >= 1200000 ? "met" : "NOT met")
    printf "python batch:   %.1f ms: %.0f requests/s\n", p * 1000, n / p
    printf "ratio:          %.1f times the Python loop (target 6: %s)\n", ratio, (ratio >= 6 ? "met" : "NOT met")
    printf "fluids loop:    %.1f ms: %.0f requests/s\n", f * 1000, n / f
    printf "ratio:          %.1f times the python3-fluids loop (target 6: %s)\n", fluids, (fluids >= 6 ? "met" : "NOT met")
    printf "peak memory:    %d kB for %d lines, %d kB for %d lines\n", m, n, t, n / 10
}'
