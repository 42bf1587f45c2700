#!/usr/bin/env bash
# The build step that turns data/media/media.tsv into code fails on a malformed table, naming the
# line and column, and writes no code: the build stops instead of carrying a gap.
#   media_table_gen_refuses.sh <media_table_gen> <media.tsv>
set -euo pipefail
gen=$1
table=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The real table passes.
"$gen" "$table" "$work/good.cpp"
grep -q '"propane"' "$work/good.cpp"

# Propane's psat_B (line 13, column 14) with letters in it.
awk -F'\t' 'BEGIN { OFS = "\t" } NR == 13 { $14 = $14 "abc" } { print }' "$table" > "$work/bad.tsv"
if "$gen" "$work/bad.tsv" "$work/bad.cpp" 2> "$work/err"; then
  echo "media_table_gen accepted a malformed table" >&2
  exit 1
fi
grep -q "line 13, column psat_B: '-3492.6abc' is not a number" "$work/err" || {
  echo "unexpected message:" >&2; cat "$work/err" >&2; exit 1; }
[ ! -e "$work/bad.cpp" ] || { echo "code written for a malformed table" >&2; exit 1; }
echo "refused: $(cat "$work/err")"
