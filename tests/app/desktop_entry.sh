#!/usr/bin/env bash
# The desktop entry opens case files: it names their MIME type and passes the file as %f.
# Usage: desktop_entry.sh ENTRY.desktop
set -euo pipefail
entry=$1
fail=0
grep -qx 'Exec=ventora %f' "$entry" || { echo "Exec does not pass the file as %f"; fail=1; }
grep -qx 'MimeType=application/x-ventora-case;' "$entry" || { echo "MimeType lacks the case type"; fail=1; }
exit $fail
