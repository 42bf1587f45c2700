#!/usr/bin/env bash
# ventora.exe under Wine on a virtual screen (Xvfb) with Qt's Windows platform plugin: it starts
# with a case whose path holds Chinese characters and spaces (the wide command line), shows its
# main window, and ends when Windows asks it to close (WM_CLOSE). Then every_window.exe, the same
# start in one process, opens each calculation window, the book and About on the same screen; and
# once more with that case, pressing "下一步" through its route, whose messages must be the ones
# the case's route gives on Linux (tests/cli/cases/valve_gas.messages), and the book it makes.
# The screen and each window are saved as PNGs in <build>/screens (the route's in
# <build>/screens/route) for looking at.
#   tests/windows/smoke.sh <build-windows>
set -uo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
run=$build/wine-run.sh
screens=$build/screens
rm -rf "$screens" && mkdir -p "$screens"
work=$(mktemp -d)
fb=$work/fb
mkdir -p "$fb"
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -fbdir "$fb" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display QT_QPA_PLATFORM=windows
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.2; done
snap() { /usr/bin/python3 "$root/tests/windows/xwd2png.py" "$fb/Xvfb_screen0" "$screens/$1"; }

mkdir -p "$work/安全阀 算例"
cp "$root/tests/cli/cases/valve_gas.ventora" "$work/安全阀 算例/储罐 V-101.ventora"
"$run" "$build/src/app/ventora.exe" "$work/安全阀 算例/储罐 V-101.ventora" &
program=$!
# The main window's title is "Ventora"; it shows after the splash.
shown=0
for _ in $(seq 120); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Ventora"'; then shown=1; break; fi
  kill -0 "$program" 2>/dev/null || break
  sleep 1
done
[ "$shown" -eq 1 ] || fail "ventora.exe showed no main window within 2 minutes"
sleep 5
snap ventora-case.png
"$run" taskkill /im ventora.exe >/dev/null 2>&1
for _ in $(seq 60); do kill -0 "$program" 2>/dev/null || break; sleep 1; done
if kill -0 "$program" 2>/dev/null; then
  "$run" taskkill /f /im ventora.exe >/dev/null 2>&1
  fail "ventora.exe did not end when asked to close"
fi
wait "$program" || fail "ventora.exe ended with status $?"

timeout 300 "$run" "$build/tests/app/every_window.exe" book --grab "$screens" >"$work/out" ||
  fail "every_window.exe could not open every window"
grep -q maxrss_kb "$work/out" || fail "every_window.exe did not finish"
mkdir -p "$screens/route"
timeout 300 "$run" "$build/tests/app/every_window.exe" book --case "$work/安全阀 算例/储罐 V-101.ventora" \
  --grab "$screens/route" >"$work/out" || fail "every_window.exe could not press through the case's route"
cmp "$screens/route/messages.txt" "$root/tests/cli/cases/valve_gas.messages" ||
  fail "the route's messages differ from valve_gas.messages: $(cat "$screens/route/messages.txt")"
ls "$screens" "$screens/route"
echo "smoke: ventora.exe started with a Chinese case path and closed; every window opened;" \
  "下一步 pressed through the case's route with the expected messages"
