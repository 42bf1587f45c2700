#!/usr/bin/env bash
# ventora-calc against hostile input: an error quotes at most 64 characters of the line; an input
# that is the output file is refused before anything is read; a 10 MB list and a 3-million-key
# object are refused within a virtual-memory limit of three times the line plus 10 MB.
set -u
calc=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
checks=0
fail() {
    echo "FAIL: $*"
    failed=1
}
check_out() {  # WHAT EXPECTED FILE
    checks=$((checks + 1))
    printf '%s\n' "$2" | cmp -s - "$3" || {
        fail "$1: output differs"
        echo "--- expected"; printf '%s\n' "$2"; echo "--- got"; head -c 400 "$3"; echo
    }
}

good='{"calc":"relief","case":"typed_rate","W_t":800}'

# A vessel_ws literal of 100,000 digits: the message quotes its first 64 and "...".
digits=$(printf '%0100000d' 0 | tr 0 7)
printf '{"calc":"valve","vessel_ws":%s}\n' "$digits" >"$work/long.jsonl"
"$calc" "$work/long.jsonl" >"$work/out" 2>"$work/err"
[ $? -eq 1 ] || fail "a long literal: exit status is not 1"
check_out "a long literal" "{\"line\":1,\"error\":\"field \\\"vessel_ws\\\" (${digits:0:64}...) is beyond the single-precision range\"}" "$work/out"
# 64 digits are quoted whole.
printf '{"calc":"valve","vessel_ws":%s}\n' "${digits:0:64}" >"$work/long64.jsonl"
"$calc" "$work/long64.jsonl" >"$work/out" 2>"$work/err"
check_out "a 64-digit literal" "{\"line\":1,\"error\":\"field \\\"vessel_ws\\\" (${digits:0:64}) is beyond the single-precision range\"}" "$work/out"

# Input = output, as a named file and as standard input: exit 2, the file untouched.
printf '%s\n' "$good" >"$work/f.jsonl"
cp "$work/f.jsonl" "$work/f.orig"
checks=$((checks + 1))
# Bounded: a tool that reads its own answers back would grow the file without end, so the file
# may not pass 64 KiB (SIGXFSZ) and the run may not pass 10 seconds.
bounded() {
    (ulimit -f 64; exec timeout 10 "$@")
}
bounded "$calc" "$work/f.jsonl" >>"$work/f.jsonl" 2>"$work/err"
status=$?
[ $status -eq 2 ] || fail "input = output: exit status $status, expected 2"
cmp -s "$work/f.jsonl" "$work/f.orig" || fail "input = output: the file was changed"
grep -q "f.jsonl: input file is output file" "$work/err" || fail "input = output: stderr says $(cat "$work/err")"
checks=$((checks + 1))
bounded "$calc" <"$work/f.jsonl" >>"$work/f.jsonl" 2>"$work/err"
status=$?
[ $status -eq 2 ] || fail "standard input = output: exit status $status, expected 2"
cmp -s "$work/f.jsonl" "$work/f.orig" || fail "standard input = output: the file was changed"
# A copy of the file is another file: answered and appended.
checks=$((checks + 1))
cp "$work/f.orig" "$work/g.jsonl"
"$calc" "$work/f.orig" >>"$work/g.jsonl" 2>"$work/err" || fail "a copy as input: exit status $?"
[ "$(wc -l <"$work/g.jsonl")" -eq 2 ] || fail "a copy as input: the answer was not appended"

# Address space limits in KiB. A sanitizer build reserves terabytes of shadow memory at start and
# cannot run under any such limit: there the answers are checked without it.
limit_memory() {
    [ -n "${VENTORA_SANITIZED:-}" ] || ulimit -v "$1"
}

# A 10 MB line holding a list of 5 million numbers, under 3 x 10 MB + 10 MB of address space.
{
    printf '{"calc":"relief","case":"typed_rate","W_t":['
    yes 1, | tr -d '\n' | head -c 9999998
    printf '1]}\n'
} >"$work/list.jsonl"
checks=$((checks + 1))
(limit_memory $((40 * 1024)); exec "$calc" "$work/list.jsonl") >"$work/out" 2>"$work/err"
status=$?
[ $status -eq 1 ] || fail "a 10 MB list: exit status $status, expected 1 ($(head -c 200 "$work/err"))"
# The 1024th value, the list being the 4th, is the 1021st number: byte 44 + 2 * 1020 + 1.
check_out "a 10 MB list" '{"line":1,"error":"not a request: more than 1024 values in one line at byte 2085"}' "$work/out"

# An object of 3 million keys (38 MB), under 3 x 38 MB + 10 MB.
awk 'BEGIN { printf "{"; for (i = 0; i < 3000000; i++) printf "%s\"k%d\":1", (i ? "," : ""), i; print "}" }' >"$work/keys.jsonl"
checks=$((checks + 1))
(limit_memory $((124 * 1024)); exec "$calc" "$work/keys.jsonl") >"$work/out" 2>"$work/err"
status=$?
[ $status -eq 1 ] || fail "3 million keys: exit status $status, expected 1 ($(head -c 200 "$work/err"))"
# The 1025th value is key k1023's: "{", then 10 keys of 6 bytes, 90 of 7, 900 of 8 and 23 of 9,
# each with its comma (9120 bytes), then "k1023":1 whose value is its 9th byte: 1 + 9120 + 9.
check_out "3 million keys" '{"line":1,"error":"not a request: more than 1024 values in one line at byte 9130"}' "$work/out"

echo "$checks checks"
exit "$failed"
