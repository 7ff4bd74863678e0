#!/usr/bin/env bash
# Draws F->FF (axiom F) at depth 20 with the fitted step in the real drawing
# window (offscreen) and with rankenwerk-render, side by side, every character
# acting (no jumps), and prints both times and their ratio (target: at most
# 1.2). Then times how long "Abbrechen" takes to stop such a drawing (target:
# at most 100 ms), for thin lines (F->FF at depth 30) and for thick ones
# (F->FFFFFFFFFFFFFFF at depth 10, start thickness 2147483647, no shrink:
# every line covers the surface). With live redraw on, the time from a
# changed angle to the finished picture; the fitted dragon curve at depth 30
# in the window (target: under 0.5 s); last the magnifier.
# Usage: scripts/bench-fenster.sh [BUILD-DIR]   (RUNDEN=n sets the repetitions)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-bench}
runden=${RUNDEN:-11}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" --target zeichenfenster_zeit rankenwerk-render -j"$(nproc)" >/dev/null
export QT_QPA_PLATFORM=offscreen

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf 'F\r\n 9.00000000000000E+0001\r\n 9.00000000000000E+0001\r\nF->FF\r\n' >"$tmp/ff.lsy"
printf 'F\r\n 9.00000000000000E+0001\r\n 9.00000000000000E+0001\r\nF->FFFFFFFFFFFFFFF\r\n' >"$tmp/f15.lsy"
"$dir/tools/rankenwerk-render" --regelsystem >"$tmp/standard.lsy"

# Wall time of one command in milliseconds.
messen() {
  local a b
  a=$(date +%s%N)
  "$@" >/dev/null 2>&1
  b=$(date +%s%N)
  echo $(((b - a) / 1000000))
}
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR + 1) / 2)]}'; }

# Each program once at depth 20 and once at depth 0 (start-up, window or file
# output, no drawing to speak of); the difference is the drawing itself. Both
# let every character act, as without jumps: the lines' own cost is compared.
for datei in fenster20 fenster0 render20 render0 lauf; do : >"$tmp/$datei"; done
for ((i = 0; i < runden; i++)); do
  for t in 20 0; do
    messen "$dir/bench/zeichenfenster_zeit" --jedes-zeichen "$tmp/ff.lsy" $t "$tmp/fenster.png" \
      >>"$tmp/fenster$t"
    messen "$dir/tools/rankenwerk-render" --jedes-zeichen "$tmp/ff.lsy" --tiefe $t \
      -o "$tmp/render.png" >>"$tmp/render$t"
  done
  "$dir/bench/zeichenfenster_zeit" --jedes-zeichen "$tmp/ff.lsy" 20 2>/dev/null | tail -1 \
    >>"$tmp/lauf"
done
f20=$(median <"$tmp/fenster20") f0=$(median <"$tmp/fenster0")
r20=$(median <"$tmp/render20") r0=$(median <"$tmp/render0")
l=$(median <"$tmp/lauf")
echo "Median von $runden Durchgaengen, Millisekunden (Tiefe 20 / Tiefe 0 / Differenz):"
echo "  Fenster:           $f20 / $f0 / $((f20 - f0))   (Lauf im Fenster selbst: $(awk -v s="$l" 'BEGIN {printf "%.1f", s * 1000}'))"
echo "  rankenwerk-render: $r20 / $r0 / $((r20 - r0))"
awk -v f="$((f20 - f0))" -v r="$((r20 - r0))" -v F="$f20" -v R="$r20" 'BEGIN {
  printf "Verhaeltnis Fenster/render, Zeichnen (Differenzen): %.2f (Ziel <= 1.20)\n", f / (r > 0 ? r : 1)
  printf "Verhaeltnis Fenster/render, ganze Prozesse:         %.2f\n", F / R }'
# The pictures must be the same: draw both at depth 20 once more.
"$dir/bench/zeichenfenster_zeit" "$tmp/ff.lsy" 20 "$tmp/fenster.png" >/dev/null 2>&1
"$dir/tools/rankenwerk-render" "$tmp/ff.lsy" --tiefe 20 -o "$tmp/render.png" >/dev/null 2>&1
if command -v compare >/dev/null; then
  # The window's picture also holds the start marker.
  echo "abweichende Pixel (Startmarke): $(compare -metric AE "$tmp/fenster.png" "$tmp/render.png" null: 2>&1 || true)"
fi

# Milliseconds from the press of "Abbrechen" to the end of the run, five
# times, in runs long enough to be stopped: every character acts.
abbrechen() {
  local i
  for ((i = 0; i < 5; i++)); do
    printf ' %s' "$("$dir/bench/zeichenfenster_zeit" --jedes-zeichen --abbrechen "$@" 2>/dev/null |
      tail -1)"
  done
}
echo "Abbrechen (ms bis zum Ende des Laufs, Ziel <= 100):"
echo "  duenne Linien, F->FF Tiefe 30:                  $(abbrechen "$tmp/ff.lsy" 30)"
echo "  dicke Linien, F->F x15 Tiefe 10, Dicke 2^31-1: $(abbrechen --dicke 2147483647 "$tmp/f15.lsy" 10)"

echo "Nachzeichnen: ms von einer Winkelaenderung bis zum fertigen Bild (Median von 21):"
echo "  eingebautes Regelsystem, Tiefe 8: $("$dir/bench/zeichenfenster_zeit" --nachzeichnen "$tmp/standard.lsy" 8 2>/dev/null | tail -1)"
echo "  FARN, Tiefe 6:                    $("$dir/bench/zeichenfenster_zeit" --nachzeichnen examples/FARN.LSY 6 2>/dev/null | tail -1)"

# The dragon curve at depth 30, fitted, in the window: from "Zeichnen" to the
# end of the run (target: under 0.5 s).
: >"$tmp/drache"
for ((i = 0; i < 5; i++)); do
  "$dir/bench/zeichenfenster_zeit" examples/DRACHE.LSY 30 2>/dev/null | tail -1 >>"$tmp/drache"
done
echo "Drache Tiefe 30 im Fenster, Zeichnen bis zum Ende des Laufs (Median von 5):"
awk -v s="$(median <"$tmp/drache")" 'BEGIN { printf "  %.3f s (Ziel < 0.5)\n", s }'

# The magnifier: the dragon at LUPE_TIEFE (30: 2^30 lines, drawn on the surface
# first, which takes about a minute), one notch of the wheel to scale 1000
# about the start, until the view is complete (target: 200 ms).
tiefe=${LUPE_TIEFE:-30}
ms=$("$dir/bench/zeichenfenster_zeit" --lupe examples/DRACHE.LSY "$tiefe" 0.02 500 340 2>/dev/null | tail -1)
echo "Lupe: ms vom Mausrad bis zur fertigen Ansicht, Drache Tiefe $tiefe, Maßstab 1000 (Median von 5):"
awk -v ms="$ms" 'BEGIN { printf "  %s ms (Ziel <= 200, Verhaeltnis %.3f)\n", ms, ms / 200 }'
