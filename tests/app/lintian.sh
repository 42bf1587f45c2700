#!/usr/bin/env bash
# The Debian package as cpack builds it, checked by lintian: no error and no warning (the
# changelog, manual pages, description lines and the rest of Debian's policy).
#   tests/app/lintian.sh <build>
set -uo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"; echo "FAIL: cpack could not build the package"; exit 1; }
deb=$(ls "$work"/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: cpack wrote no .deb"; exit 1; }
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
cat "$work/lintian.log"
if grep -q '^[EW]: ' "$work/lintian.log"; then
  echo "FAIL: lintian reports errors or warnings on $(basename "$deb")"
  exit 1
fi
echo "lintian: $(basename "$deb") clean"
