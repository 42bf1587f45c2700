#!/usr/bin/env bash
# Cases saved by the program, run through ventora-calc: the messages must be those the windows
# showed when the case was saved (NAME.messages beside NAME.ventora, one message a line).
set -euo pipefail
calc=$1
dir=$2
compared=0
for case_file in "$dir"/*.ventora; do
    expected=${case_file%.ventora}.messages
    actual=$("$calc" "$case_file" | python3 -c '
import json, sys
r = json.loads(sys.stdin.readline())
for part in ("relief", "device"):
    if r.get(part):
        for m in r[part]["messages"]:
            print(m)
')
    if [ "$actual" != "$(cat "$expected")" ]; then
        echo "FAIL: $case_file"
        diff <(echo "$actual") "$expected" || true
        exit 1
    fi
    compared=$((compared + 1))
done
[ "$compared" -gt 0 ] || { echo "no case compared"; exit 1; }
echo "$compared saved cases give the windows' messages"
