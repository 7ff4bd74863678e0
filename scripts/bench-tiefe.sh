#!/usr/bin/env bash
# Builds rankenwerk-render optimised (in build-bench/ or $1) and times whole
# runs (fitting, drawing, PNG) of deep drawings on the 1000 x 680 surface,
# side by side: as drawn (median of three), and with --jedes-zeichen, the
# walk of every character. Prints both wall times, their ratio (goal: 20), the largest
# memory of each (goal: under 60 MB) and whether the two pictures are equal.
# The walks of every character at depth 30 take minutes; KURZ=1 leaves them out.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-bench}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DRANKENWERK_BENCH=OFF >/dev/null
cmake --build "$dir" --target rankenwerk-render -j"$(nproc)" >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export LC_ALL=C
render="$dir/tools/rankenwerk-render"

# An .LSY file: axiom, both angles, rules (CR LF).
lsy() {
  local datei=$1 axiom=$2 winkel=$3
  shift 3
  {
    printf '%s\r\n' "$axiom"
    printf ' %s\r\n %s\r\n' "$winkel" "$winkel"
    for regel in "$@"; do printf '%s\r\n' "$regel"; done
  } >"$datei"
}
lsy "$tmp/pflanze.lsy" X 2.00000000000000E+0001 'X->F[+X]F[-X]+X' 'F->FF'
lsy "$tmp/hilbert.lsy" L 9.00000000000000E+0001 'L->+RF-LFL-FR+' 'R->-LF+RFR+FL-'
lsy "$tmp/ff.lsy" F 9.00000000000000E+0001 'F->FF'

# zeit BEFEHL...: the wall time of one run in seconds, to the millisecond,
# and its largest memory in KB.
zeit() {
  local a b
  a=$EPOCHREALTIME
  /usr/bin/time -f '%M' -o "$tmp/m" "$@"
  b=$EPOCHREALTIME
  echo "$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.3f", b - a }') $(cat "$tmp/m")"
}

# lauf NAME DATEI TIEFE: both runs, one line each and the ratio.
# The short run with jumps is the median of three, the walk of every
# character runs once: it takes long enough to even out a disturbance.
lauf() {
  local name=$1 datei=$2 tiefe=$3 ta tb ma mb i
  : >"$tmp/t1s"
  for ((i = 0; i < 3; i++)); do
    zeit "$render" --tiefe "$tiefe" "$datei" -o "$tmp/a.png" >>"$tmp/t1s"
  done
  read -r ta ma < <(sort -n "$tmp/t1s" | sed -n 2p)
  printf '%-22s Sprünge:        %8.3f s %6d MB\n' "$name" "$ta" $((ma / 1024))
  if [ "${KURZ:-0}" = 1 ] && [ "$tiefe" -ge 26 ]; then return; fi
  read -r tb mb < <(zeit "$render" --jedes-zeichen --tiefe "$tiefe" "$datei" -o "$tmp/b.png")
  local gleich='(Bilder verschieden!)'
  cmp -s "$tmp/a.png" "$tmp/b.png" && gleich='(Bilder gleich)'
  printf '%-22s jedes Zeichen:  %8.3f s %6d MB   Verhältnis %6.1f %s\n' "" "$tb" $((mb / 1024)) \
    "$(awk -v a="$ta" -v b="$tb" 'BEGIN { printf "%.1f", (a > 0 ? b / a : 0) }')" "$gleich"
}

lauf "Pflanze 20°, Tiefe 16" "$tmp/pflanze.lsy" 16
lauf "Hilbert, Tiefe 13" "$tmp/hilbert.lsy" 13
lauf "FARN, Tiefe 12" examples/FARN.LSY 12
lauf "Drache, Tiefe 26" examples/DRACHE.LSY 26
lauf "Drache, Tiefe 30" examples/DRACHE.LSY 30
lauf "F->FF, Tiefe 30" "$tmp/ff.lsy" 30
