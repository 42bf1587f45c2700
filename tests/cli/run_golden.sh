#!/usr/bin/env bash
# Runs ventora-calc on every golden/<name>.in.jsonl, both as a file argument and on standard
# input, and compares standard output with golden/<name>.out.jsonl byte for byte. The expected
# exit status follows from the expected output: 1 when some response is an error line, else 0.
# When golden/<name>.args exists, its words (one option per line) come before the input.
# Fails when a pair is incomplete or when nothing at all was compared.
set -u
calc=$1
dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

compared=0
failed=0
shopt -s nullglob
for expected in "$dir"/*.out.jsonl; do
    [ -f "${expected%.out.jsonl}.in.jsonl" ] || { echo "FAIL: $expected has no input file"; failed=1; }
done
for input in "$dir"/*.in.jsonl; do
    name=$(basename "$input" .in.jsonl)
    expected=$dir/$name.out.jsonl
    if [ ! -f "$expected" ]; then
        echo "FAIL: $input has no expected output $expected"
        failed=1
        continue
    fi
    if grep -q '^{"line":[0-9]*,"error":' "$expected"; then want=1; else want=0; fi
    args=()
    if [ -f "$dir/$name.args" ]; then
        mapfile -t args <"$dir/$name.args"
    fi
    for mode in file stdin; do
        if [ "$mode" = file ]; then
            "$calc" "${args[@]}" "$input" >"$work/out" 2>"$work/err"
        else
            "$calc" "${args[@]}" <"$input" >"$work/out" 2>"$work/err"
        fi
        status=$?
        if ! diff -u "$expected" "$work/out" >"$work/diff"; then
            echo "FAIL: $name ($mode): output differs from $expected"
            cat "$work/diff"
            failed=1
        fi
        if [ "$status" -ne "$want" ]; then
            echo "FAIL: $name ($mode): exit status $status, expected $want"
            failed=1
        fi
        if [ -s "$work/err" ]; then
            echo "FAIL: $name ($mode): unexpected standard error:"
            cat "$work/err"
            failed=1
        fi
        compared=$((compared + 1))
    done
    echo "compared $name${args[*]:+ (${args[*]})}: $(wc -l <"$expected") responses"
done

if [ "$compared" -eq 0 ]; then
    echo "FAIL: no golden file found in $dir: nothing was compared"
    exit 1
fi
echo "$compared golden comparisons"
exit "$failed"
