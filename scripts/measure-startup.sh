#!/usr/bin/env bash
# Start-up figures of Ventora on a private Xvfb, beside two floors measured in the same run (a bare
# Qt window, and the same window with one Chinese label in the splash's face):
# - launch -> splash mapped and answering input (bare window: its window);
# - key on the splash -> main window mapped and answering input;
# - peak memory through the splash and the main window;
# - peak memory with every window open (splash, main window, the three calculation windows, About),
#   and with the calculation book as well, beside the bare window's.
# Usage: scripts/measure-startup.sh [build-dir] (default: build). RUNS=n sets the sample count.
# Needs hyperfine, Xvfb and libxcb1-dev; the program must already be built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${RUNS:-30}
ventora=$build/src/app/ventora
every=$build/tests/app/every_window
[ -x "$ventora" ] || { echo "no $ventora: build first" >&2; exit 1; }
[ -x "$every" ] || { echo "no $every: build the every_window target first" >&2; exit 1; }
for tool in hyperfine Xvfb /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 1; }
done

helpers=$build/startup-bench
cmake -S "$root/bench/startup" -B "$helpers" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$helpers" >/dev/null
probe=$helpers/startup_probe
bare=$helpers/bare_window

# A display of our own; -noreset keeps the server from resetting between runs.
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$displayfile" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -f "$displayfile"' EXIT
for _ in $(seq 50); do [ -s "$displayfile" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$displayfile")
export QT_QPA_PLATFORM=xcb

echo "== hyperfine: whole runs (launch, until ready, terminate) on DISPLAY=$DISPLAY"
hyperfine -N --warmup 3 --runs "$runs" \
  -n "bare Qt window: first window ready" "$probe first $bare" \
  -n "bare Qt window with a Chinese label: first window ready" "$probe first $bare label" \
  -n "ventora: splash ready" "$probe first $ventora" \
  -n "ventora: splash ready, key, main window ready" "$probe handover $ventora"

# The probe's own clock, without the terminate-and-wait that hyperfine also counts.
range() { sort -n | awk '{a[NR]=$1} END {printf "%s..%s", a[1], a[NR]}'; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
field() { grep -o "$1=[0-9.]*" | cut -d= -f2; }
samples=$(mktemp)
for _ in $(seq "$runs"); do "$probe" first "$bare"; done >"$samples.bare"
for _ in $(seq "$runs"); do "$probe" first "$bare" label; done >"$samples.label"
for _ in $(seq "$runs"); do "$probe" handover "$ventora"; done >"$samples"
echo
echo "== probe clock, median (range) of $runs runs"
stat() { local values; values=$(field "$1" <"$2"); echo "$(median <<<"$values") ms ($(range <<<"$values"))"; }
echo "bare Qt window ready:            $(stat first_ms "$samples.bare") after launch"
echo "Chinese-label window ready:      $(stat first_ms "$samples.label") after launch"
ratio() { awk -v a="$(field first_ms <"$1" | median)" -v b="$(field first_ms <"$2" | median)" 'BEGIN {printf "%.2f", a / b}'; }
echo "ventora splash ready:            $(stat first_ms "$samples") after launch," \
     "$(ratio "$samples" "$samples.bare") x bare, $(ratio "$samples" "$samples.label") x the Chinese-label floor"
echo "ventora main window mapped:      $(stat handover_map_ms "$samples") after the key"
echo "ventora main window ready:       $(stat handover_ms "$samples") after the key"
echo "ventora peak RSS (wait4):        $(field maxrss_kb <"$samples" | median) kB through splash and main window"

# Peak memory: every_window starts as the program does and opens every window.
for _ in $(seq "$runs"); do "$every" 2>/dev/null; done >"$samples.every"
for _ in $(seq "$runs"); do "$every" book 2>/dev/null; done >"$samples.book"
bare_kb=$(field maxrss_kb <"$samples.bare" | median)
every_kb=$(field maxrss_kb <"$samples.every" | median)
book_kb=$(field maxrss_kb <"$samples.book" | median)
echo
echo "== peak RSS, median (range) of $runs runs"
echo "bare Qt window:                  $bare_kb kB ($(field maxrss_kb <"$samples.bare" | range))"
echo "ventora, every window open:      $every_kb kB ($(field maxrss_kb <"$samples.every" | range))," \
     "$(awk -v a="$every_kb" -v b="$bare_kb" 'BEGIN {printf "%.2f", a / b}') x bare"
echo "ventora, and the book window:    $book_kb kB ($(field maxrss_kb <"$samples.book" | range))," \
     "$(awk -v a="$book_kb" -v b="$bare_kb" 'BEGIN {printf "%.2f", a / b}') x bare"
rm -f "$samples" "$samples.bare" "$samples.label" "$samples.every" "$samples.book"

echo
echo "== /usr/bin/time -v, one run through the splash and the main window"
/usr/bin/time -v "$probe" handover "$ventora" 2>&1 >/dev/null | grep -E "Maximum resident|Elapsed"
