#!/usr/bin/env bash
# Writes animations of 10, 100 and 1000 frames (160 x 120) with apng_beispiel
# (the frame counts given as arguments after the build directory instead) and
# prints, per count, the size of the file and the largest resident memory
# (/usr/bin/time -v), and at the end the memory of the most frames over that
# of the fewest. Frames are streamed to the file: the ratio should stay near 1.
# Usage: scripts/speicher-apng.sh [BUILD-DIR [BILDZAHL...]]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-bench}
shift || true
zahlen=("$@")
[ ${#zahlen[@]} -eq 0 ] && zahlen=(10 100 1000)
[ -x /usr/bin/time ] || bash scripts/install-deps.sh
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DRANKENWERK_TESTS=ON >/dev/null
cmake --build "$dir" --target apng_beispiel -j"$(nproc)" >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf '%9s %12s %14s\n' Bilder "APNG (MB)" "max. RSS (MB)"
erste="" letzte=""
for n in "${zahlen[@]}"; do
  /usr/bin/time -v -o "$tmp/zeit" "$dir/pictures/apng_beispiel" "$tmp" "$n" 40
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$tmp/zeit")
  groesse=$(stat -c %s "$tmp/animation.png")
  awk -v n="$n" -v g="$groesse" -v r="$rss" 'BEGIN {printf "%9s %12.1f %14.1f\n", n, g / 1048576, r / 1024}'
  erste=${erste:-$rss}
  letzte=$rss
  rm -f "$tmp"/*.png
done
awk -v a="$erste" -v b="$letzte" 'BEGIN {printf "Speicher meiste/wenigste Bilder: %.2f\n", b / a}'
