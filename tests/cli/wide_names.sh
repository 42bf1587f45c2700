#!/usr/bin/env bash
# Chinese file names with spaces through the command line of ventora-calc and ventora-report: on
# Windows they travel the wide command line, not the ANSI code page (936 under the tests), and the
# files are opened by their UTF-16 names. An input that is the output file is refused when named
# this way too (file identity, not the name).
#   wide_names.sh CALC REPORT [WINE_RUN CALC_EXE]
# Under Wine the output file for that check is opened by Windows' own cmd.exe (a handle Windows
# knows the file of, as on Windows); Wine's handle for a file a Linux shell opened has no identity.
set -uo pipefail
calc=$1
report=$2
wine_run=${3:-}
calc_exe=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

dir="$work/安全阀 算例"
mkdir "$dir"
input="$dir/储罐 V-101（氮气）.jsonl"
# Gas storage tank ρ = 10, d = 100, v = 20: W_s = 5660 kg/h.
echo '{"calc":"route","relief":{"case":"compressed_gas","compressed_kind":"gas_storage_tank","rho":10,"d":100,"v":20}}' >"$input"

"$calc" "$input" >"$work/out" 2>"$work/err" || fail "ventora-calc reads $input (status $?): $(cat "$work/err")"
grep -q '"ws":5660' "$work/out" || fail "ventora-calc answered the request in $input: $(cat "$work/out")"

# A missing Chinese name is reported in UTF-8, whole (on Windows too, stderr redirected).
"$calc" "$dir/不存在的算例.jsonl" >"$work/out" 2>"$work/err"
[ $? -eq 2 ] || fail "a missing file exits 2"
grep -qF "不存在的算例.jsonl" "$work/err" || fail "the message names the missing file: $(cat "$work/err")"

# The same file as input and output, named with Chinese characters.
cp "$input" "$dir/追加 结果.jsonl"
if [ -n "$wine_run" ]; then
  # A batch file, read by cmd.exe in the ANSI code page (936).
  both="Z:${dir//\//\\}\\追加 结果.jsonl"
  printf '@"Z:%s" "%s" >> "%s"\r\n@exit /b %%errorlevel%%\r\n' "${calc_exe//\//\\}" "$both" "$both" |
    iconv -f UTF-8 -t GBK >"$work/append.bat"
  timeout 120 "$wine_run" cmd /c "Z:${work//\//\\}\\append.bat" 2>"$work/err"
else
  timeout 120 "$calc" "$dir/追加 结果.jsonl" >>"$dir/追加 结果.jsonl" 2>"$work/err"
fi
[ $? -eq 2 ] || fail "an input that is the output file exits 2"
grep -qF "追加 结果.jsonl: input file is output file" "$work/err" || fail "the refusal names the file: $(cat "$work/err")"

"$report" -o "$dir/计算书 一.pdf" "$input" 2>"$work/err" || fail "ventora-report with Chinese names (status $?): $(cat "$work/err")"
[ -s "$dir/计算书 一.pdf" ] || fail "ventora-report wrote 计算书 一.pdf"
echo "Chinese names with spaces: read, refused by identity, written"
