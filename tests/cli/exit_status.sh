#!/usr/bin/env bash
# ventora-calc as a process: exit status 0, 1 and 2, the command line, several inputs, and an
# answer arriving while standard input is still open.
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
# expect_status WANT DESCRIPTION -- COMMAND...: runs the command, output in $work/out and $work/err.
expect_status() {
    local want=$1 what=$2
    shift 3
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    checks=$((checks + 1))
    [ "$got" -eq "$want" ] || fail "$what: exit status $got, expected $want"
}
expect_out() {
    checks=$((checks + 1))
    printf '%s' "$2" | cmp -s - "$work/out" || {
        fail "$1: standard output differs"
        echo "--- expected"; printf '%s' "$2"; echo "--- got"; cat "$work/out"
    }
}

good='{"calc":"relief","case":"typed_rate","W_t":800}'
good_out='"calc":"relief","status":"ok","messages":["当前计算出的安全泄放量(kg/h)： 800"],"ws":800,"stored":800}'
printf '%s\n' "$good" >"$work/good.jsonl"
printf '%s\n%s\n' "$good" '{"calc":"relief"}' >"$work/bad.jsonl"
printf '%s' "$good" >"$work/no_newline.jsonl"
: >"$work/empty.jsonl"

expect_status 0 "every line answered" -- "$calc" "$work/good.jsonl"
expect_out "one good line" "{\"line\":1,$good_out
"
[ -s "$work/err" ] && fail "a good run wrote to standard error"

expect_status 1 "a line in error" -- "$calc" "$work/bad.jsonl"
expect_out "the good line is still answered before the bad one" "{\"line\":1,$good_out
{\"line\":2,\"error\":\"relief request without field \\\"case\\\" (expected \\\"compressed_gas\\\", \\\"liquefied_gas\\\" or \\\"typed_rate\\\")\"}
"

expect_status 2 "a missing file" -- "$calc" "$work/missing.jsonl"
grep -q "missing.jsonl" "$work/err" || fail "the error does not name the missing file"
[ -s "$work/out" ] && fail "a missing file still produced output"

expect_status 2 "a good file before a missing one" -- "$calc" "$work/good.jsonl" "$work/missing.jsonl"
[ -s "$work/out" ] && fail "output was written although an input cannot be read"

expect_status 2 "a directory" -- "$calc" "$work"
grep -q "$work" "$work/err" || fail "the error does not name the directory"

chmod 000 "$work/bad.jsonl"
if [ "$(id -u)" -ne 0 ]; then
    expect_status 2 "an unreadable file" -- "$calc" "$work/bad.jsonl"
fi
chmod 644 "$work/bad.jsonl"

expect_status 2 "an unknown option" -- "$calc" --fast
grep -q -- "--fast" "$work/err" || fail "the error does not name the unknown option"

expect_status 0 "--help" -- "$calc" --help
grep -q "^Usage: ventora-calc" "$work/out" || fail "--help prints no usage line"
for word in relief valve disc route project vessel_ws '"line":N' "Exit status"; do
    grep -qF -- "$word" "$work/out" || fail "--help does not describe $word"
done

expect_status 0 "an empty input" -- "$calc" "$work/empty.jsonl"
expect_out "an empty input has no lines" ""

expect_status 0 "empty standard input" -- bash -c "\"$calc\" </dev/null"
expect_out "empty standard input has no lines" ""

# Lines are numbered across inputs; a file's last line without newline stays a line of its own.
expect_status 0 "several inputs" -- bash -c "printf '%s\n' '$good' | \"$calc\" \"$work/no_newline.jsonl\" - \"$work/good.jsonl\""
expect_out "numbering across inputs" "{\"line\":1,$good_out
{\"line\":2,$good_out
{\"line\":3,$good_out
"

# A pipe named as a file (process substitution) is read once, when its turn comes.
expect_status 0 "a pipe named as a file" -- bash -c "\"$calc\" \"$work/good.jsonl\" <(printf '%s\n' '$good')"
expect_out "a pipe named as a file" "{\"line\":1,$good_out
{\"line\":2,$good_out
"

expect_status 0 "a file after --" -- "$calc" -- "$work/good.jsonl"
expect_out "a file after --" "{\"line\":1,$good_out
"

# --steps is an option, not a file, and may come before or after the files; after -- it is a file.
expect_status 0 "--steps after a file" -- "$calc" "$work/good.jsonl" --steps
grep -q '"steps":\[{"title":"安全泄放量"' "$work/out" || fail "--steps after a file gave no steps"
expect_status 2 "--steps after --" -- "$calc" -- --steps
grep -q -- "--steps" "$work/err" || fail "a file named --steps is not named in the error"

expect_status 0 "--list-substances" -- "$calc" --list-substances
[ "$(wc -l <"$work/out")" -eq 25 ] || fail "--list-substances does not list 25 media"
grep -qxF "$(printf 'propane\t丙烷\tpropane\tC3H8\t74-98-6')" "$work/out" ||
    fail "--list-substances has no propane line"
[ -s "$work/err" ] && fail "--list-substances wrote to standard error"

# An interactive caller gets each answer as soon as its line is complete.
checks=$((checks + 1))
coproc CALC { "$calc"; }
# Bash unsets CALC and CALC_PID as soon as the coprocess has exited, which can happen before the
# lines below run: keep the pid and the descriptors while they exist.
calc_pid=$CALC_PID
calc_in=${CALC[1]}
calc_out=${CALC[0]}
printf '%s\n' "$good" >&"$calc_in"
if IFS= read -r -t 10 reply <&"$calc_out"; then
    [ "$reply" = "{\"line\":1,$good_out" ] || fail "interactive answer: $reply"
else
    fail "no answer within 10 s while standard input stays open"
fi
exec {calc_in}>&-
wait "$calc_pid" || fail "interactive run ended with status $?"

echo "$checks checks"
[ "$checks" -gt 0 ] || fail "nothing was checked"
exit "$failed"
