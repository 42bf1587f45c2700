#!/usr/bin/env bash
# The installer under Wine: a silent install (/S), the files, the Start-menu entry, the .ventora
# association (its command line quoting a path with spaces, as Windows itself splits it), then a
# silent uninstall that leaves only what a user saved there.
#   tests/windows/installer_test.sh <build-windows> <ventora-…-setup.exe>
set -uo pipefail
build=$(cd "$1" && pwd)
setup=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
run=$build/wine-run.sh
eval "$(grep '^export WINEPREFIX=' "$run")"
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
fail() { echo "FAIL: $*"; exit 1; }
# Waits for every program in the prefix to end (the uninstaller runs a copy of itself).
settle() { timeout 300 "$wineserver" -w || fail "Wine's programs did not end within 5 minutes"; }

dir="$WINEPREFIX/drive_c/Program Files/Ventora"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ventora 安全泄放计算.lnk"
[ -e "$dir" ] && fail "Ventora is already installed in the test prefix ($dir)"

timeout 300 "$run" "$setup" /S || fail "the silent install failed"
settle
stage=$(ls -d "$build"/stage/ventora-*-win64)
(cd "$stage" && find . -type f) | while read -r f; do
  cmp -s "$stage/$f" "$dir/$f" || { echo "FAIL: installed $f differs or is missing"; exit 1; }
done || exit 1
[ -f "$dir/uninstall.exe" ] || fail "no uninstaller"
[ -f "$shortcut" ] || fail "no Start-menu entry"

query() { "$run" reg query "$1" /ve 2>/dev/null | tr -d '\r'; }
query 'HKLM\Software\Classes\.ventora' | grep -q 'Ventora.Case' || fail ".ventora is not registered"
query 'HKLM\Software\Classes\Ventora.Case\shell\open\command' |
  grep -qF '"C:\Program Files\Ventora\ventora.exe" "%1"' || fail "the open command is not as expected"
"$run" "$build/tests/windows/association_check.exe" 'C:\Program Files\Ventora\ventora.exe' \
  'C:\Users\工程师\My Documents\安全阀 算例 V-101.ventora' || fail "a double-clicked case would not arrive whole"

# A case the user saved in the folder stays, and so does the folder holding it.
echo '{}' >"$dir/我的算例.ventora"
timeout 300 "$run" "$dir/uninstall.exe" /S || fail "the silent uninstall failed"
settle
left=$(cd "$dir" && find . -mindepth 1)
[ "$left" = "./我的算例.ventora" ] || fail "the uninstaller left or took: $left"
rm -rf "$dir"
[ -e "$shortcut" ] && fail "the Start-menu entry is still there"
query 'HKLM\Software\Classes\.ventora' | grep -q 'Ventora.Case' && fail ".ventora is still registered"
"$run" reg query 'HKLM\Software\Classes\Ventora.Case' >/dev/null 2>&1 && fail "Ventora.Case is still registered"
"$run" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ventora' >/dev/null 2>&1 &&
  fail "the uninstall entry is still there"
echo "installer: silent install, files, Start menu, association and silent uninstall checked"
