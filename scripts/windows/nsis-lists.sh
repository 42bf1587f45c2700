#!/usr/bin/env bash
# Writes files.nsh (install every file of FOLDER) and unfiles.nsh (delete exactly those files, then
# their folders deepest first, each only when empty) for packaging/windows/ventora.nsi.
#   scripts/windows/nsis-lists.sh FOLDER OUT
set -euo pipefail
folder=$(cd "$1" && pwd)
out=$2
mkdir -p "$out"
(cd "$folder" && find . -mindepth 1 -type d | LC_ALL=C sort) | sed 's|^\./||' >"$out/dirs"
(cd "$folder" && find . -type f | LC_ALL=C sort) | sed 's|^\./||' >"$out/files"
win() { printf '%s' "${1//\//\\}"; }
{
  while read -r f; do
    d=$(dirname "$f")
    if [ "$d" = . ]; then printf 'SetOutPath "$INSTDIR"\n'; else printf 'SetOutPath "$INSTDIR\\%s"\n' "$(win "$d")"; fi
    printf 'File "%s"\n' "$folder/$f"
  done <"$out/files"
  printf 'SetOutPath "$INSTDIR"\n'
} >"$out/files.nsh"
{
  while read -r f; do printf 'Delete "$INSTDIR\\%s"\n' "$(win "$f")"; done <"$out/files"
  LC_ALL=C sort -r "$out/dirs" | while read -r d; do printf 'RMDir "$INSTDIR\\%s"\n' "$(win "$d")"; done
} >"$out/unfiles.nsh"
