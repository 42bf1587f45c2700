#!/usr/bin/env bash
# ventora-report: the book's content and page count, and the exit status for a good file (0), a
# refused route or a line in error (1), and an unreadable input or unwritable output (2).
set -uo pipefail
report=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Gas storage tank ρ = 10, d = 100, v = 20: W_s = 5660; full-lift gas valve d1 = 50:
# A = 1962, W = 12873 ≥ 5660: 合格.
good='{"calc":"route","project":{"project":"示例工程","tag":"V-101"},"relief":{"case":"compressed_gas","compressed_kind":"gas_storage_tank","rho":"10","d":"100","v":"20"},"device":{"calc":"valve","valve_type":"full_lift","medium":"gas","d1":"50","C":"356","Ps":"1","M":"29","T":"300","Z":"1","k":"1.4","Po":"0.1"}}'
echo "$good" > "$work/good.jsonl"
"$report" -o "$work/one.pdf" "$work/good.jsonl" 2>/dev/null
[ $? -eq 0 ] || fail "a good route exits 0"
text=$(pdftotext "$work/one.pdf" - | tr -d ' ')
for expected in 压力容器安全泄放装置计算书 示例工程 V-101 5660 1962 12873 合格 依据：1999年版《容规》; do
    grep -q "$expected" <<<"$text" || fail "the book holds $expected"
done
pages=$(pdfinfo "$work/one.pdf" | awk '/^Pages:/ {print $2}')
grep -q "第1页共${pages}页" <<<"$text" || fail "first page says 第 1 页 共 $pages 页"
grep -q "第${pages}页共${pages}页" <<<"$text" || fail "last page says 第 $pages 页 共 $pages 页"

# A refused relief rate (W_t "abc") and a line that is no JSON: 1, both named on standard error,
# both in the book with no verdict of their own.
{ echo "$good"; echo '{"calc":"route","relief":{"case":"typed_rate","W_t":"abc"}}'; echo 'not json'; } > "$work/mixed.jsonl"
"$report" "$work/mixed.odt" "$work/mixed.jsonl" 2>"$work/err"
[ $? -eq 1 ] || fail "a refused route exits 1"
grep -q "第 2 行" "$work/err" && grep -q "第 3 行" "$work/err" || fail "both problems named on standard error"
unzip -p "$work/mixed.odt" content.xml | grep -q "未正确输入数据" || fail "the ODT holds the refusal"

"$report" -o "$work/x.pdf" "$work/missing.jsonl" 2>/dev/null
[ $? -eq 2 ] || fail "an unreadable input exits 2"
echo old > "$work/keep.pdf"; chmod a-w "$work"
"$report" -o "$work/keep.pdf" "$work/good.jsonl" 2>/dev/null; status=$?
chmod u+w "$work"
if [ "$(id -u)" -ne 0 ]; then
    [ $status -eq 2 ] || fail "an unwritable folder exits 2"
    [ "$(cat "$work/keep.pdf")" = old ] || fail "the older book is left as it was"
fi
# A book larger than the output can hold (a file-size limit stands for a full disk): 2, the
# reason on standard error, and nothing left behind, not even the temporary file.
if [ -n "${VENTORA_NO_FILE_SIZE_LIMIT:-}" ]; then
    echo "SKIPPED: a book the output cannot hold (the file-size limit that stands for a full disk is POSIX; Linux runs it)"
else
    for _ in $(seq 20); do echo "$good"; done > "$work/twenty.jsonl"
    mkdir "$work/full"
    ( ulimit -f 64; "$report" -o "$work/full/book.pdf" "$work/twenty.jsonl" 2>"$work/err" ); status=$?
    [ $status -eq 2 ] || fail "a book the output cannot hold exits 2, not $status"
    grep -q "无法写入文件" "$work/err" || fail "the write failure is named on standard error"
    [ -z "$(ls -A "$work/full")" ] || fail "a failed book leaves nothing behind: $(ls -A "$work/full")"
    "$report" -o "$work/full/book.pdf" "$work/twenty.jsonl" 2>/dev/null
    [ "$(stat -c %s "$work/full/book.pdf")" -gt 65536 ] || fail "the twenty routes' book is larger than the limit"
fi

"$report" -o /nonexistent-folder/book.pdf "$work/good.jsonl" 2>/dev/null
[ $? -eq 2 ] || fail "an output folder that does not exist exits 2"
echo "ventora-report: contents and exit statuses as expected"
