#!/usr/bin/env bash
# The case files' MIME type: a valid shared-mime-info package that a scratch database built with
# update-mime-database resolves, by name and by content, to application/x-ventora-case.
# Usage: mime_type.sh PACKAGE.xml
set -euo pipefail
package=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

xmllint --noout "$package"
mkdir -p "$scratch/packages"
cp "$package" "$scratch/packages/com.corvalent.ventora.xml"
# Warnings (an unknown element, a bad attribute) fail the test as errors do.
out=$(update-mime-database -V "$scratch" 2>&1)
if grep -qiE 'warning|error|invalid' <<<"$out"; then
  echo "$out"
  exit 1
fi

fail=0
expect() {  # expect FILE LINE: the database's FILE holds LINE exactly
  if ! grep -qxF -- "$2" "$scratch/$1"; then
    echo "missing in $1: $2"
    fail=1
  fi
}
expect globs 'application/x-ventora-case:*.ventora'
expect subclasses 'application/x-ventora-case application/json'
grep -q 'ventora-case' "$scratch/magic" || { echo "no content match in magic"; fail=1; }
# Not a catch-all: a plain JSON name is not claimed.
if grep -q 'application/x-ventora-case:\*\.json' "$scratch/globs"; then
  echo "claims *.json"
  fail=1
fi
exit $fail
