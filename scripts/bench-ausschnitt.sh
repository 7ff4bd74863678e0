#!/usr/bin/env bash
# Builds rankenwerk-render optimised (in build-bench/ or $1) and times a
# cut-out of the dragon curve at depth 30 (2^30 lines, a minute for the whole
# walk): 1 x 0.68 surface pixels around its start at scale 1000, a picture of
# 1000 x 680. Prints the median of RUNDEN runs (5) and its ratio to the
# target of 1 s; with GANZ=1 also the whole walk once, for comparison. Last,
# the largest memory of an animation written with --aufbau.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-bench}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DRANKENWERK_BENCH=ON >/dev/null
cmake --build "$dir" --target rankenwerk-render -j"$(nproc)" >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export LC_ALL=C

# zeit NAME ARGUMENTE...: median of the runs' wall times in seconds
zeit() {
  local name=$1
  shift
  for _ in $(seq "${RUNDEN:-5}"); do
    local a b
    a=$(date +%s%N)
    "$dir/tools/rankenwerk-render" "$@"
    b=$(date +%s%N)
    echo $(((b - a) / 1000))
  done | sort -n | awk -v name="$name" -v ziel="${ZIEL:-1}" '{ t[NR] = $1 } END {
    m = t[int((NR + 1) / 2)] / 1e6
    printf "%s: %.3f s (Median aus %d)", name, m, NR
    if (ziel > 0) printf ", Ziel %g s, Verhältnis %.3f", ziel, m / ziel
    printf "\n" }'
}

drache=(examples/DRACHE.LSY --tiefe 30 --schrittweite 0.02 --x 500 --y 340
  --ausschnitt 499.5,339.66,1,0.68)
zeit "Drache Tiefe 30, Ausschnitt 1 x 0.68 bei Maßstab 1000, PNG" "${drache[@]}" -o "$tmp/a.png"
zeit "Drache Tiefe 30, Ausschnitt 1 x 0.68 bei Maßstab 1000, SVG" "${drache[@]}" -o "$tmp/a.svg"
echo "  Linien im SVG: $(grep -c '<line' "$tmp/a.svg")"
if [ "${GANZ:-0}" = 1 ]; then
  RUNDEN=1 ZIEL=0 zeit "zum Vergleich: dieselbe Zeichnung ganz, ohne Ausschnitt" \
    examples/DRACHE.LSY --tiefe 30 --schrittweite 0.02 --x 500 --y 340 -o "$tmp/g.png"
fi

# An animation of the turtle's path is written frame by frame: memory stays flat.
printf 'F\r\n90\r\n90\r\nF->FF\r\n' >"$tmp/ff.lsy"
kb=$(/usr/bin/time -f %M "$dir/tools/rankenwerk-render" "$tmp/ff.lsy" --aufbau 50 --tiefe 16 \
  -o "$tmp/aufbau.png" 2>&1 >/dev/null | tail -1)
awk -v kb="$kb" 'BEGIN { printf "--aufbau 50 --tiefe 16 von F->FF: größter Speicher %.1f MB (Ziel < 60, Verhältnis %.2f)\n", kb / 1024, kb / 1024 / 60 }'
