#!/usr/bin/env bash
# Draws the built-in rule system as SVG with rankenwerk-render at depth 14, 16
# and 18 (the depth given as arguments after the build directory instead) and
# prints, per depth, the size of the file, the largest resident memory
# (/usr/bin/time -v) and the time. The SVG is streamed to its file, so the
# memory should stay flat while the file grows fourfold per two levels.
# Usage: scripts/speicher-svg.sh [BUILD-DIR [TIEFE...]]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-bench}
shift || true
tiefen=("$@")
[ ${#tiefen[@]} -eq 0 ] && tiefen=(14 16 18)
[ -x /usr/bin/time ] || bash scripts/install-deps.sh
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" --target rankenwerk-render -j"$(nproc)" >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf '%6s %12s %14s %10s\n' Tiefe "SVG (MB)" "max. RSS (MB)" "Zeit (s)"
for t in "${tiefen[@]}"; do
  /usr/bin/time -v -o "$tmp/zeit" "$dir/tools/rankenwerk-render" --tiefe "$t" -o "$tmp/bild.svg"
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$tmp/zeit")
  sek=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$tmp/zeit")
  groesse=$(stat -c %s "$tmp/bild.svg")
  awk -v t="$t" -v g="$groesse" -v r="$rss" -v s="$sek" \
    'BEGIN {printf "%6s %12.1f %14.1f %10s\n", t, g / 1048576, r / 1024, s}'
  rm -f "$tmp/bild.svg"
done
