#!/usr/bin/env bash
# Renders every example rule system into docs/galerie/ with rankenwerk-render
# (build it first, e.g. with scripts/build.sh) and prints the README table rows.
set -euo pipefail
cd "$(dirname "$0")/.."
R=${RENDER:-build/tools/rankenwerk-render}
mkdir -p docs/galerie
# name  depth  x  y  start-angle  (surface 500 x 400)
while read -r name tiefe x y winkel; do
  "$R" --breite 500 --hoehe 400 --tiefe "$tiefe" --x "$x" --y "$y" --winkel "$winkel" \
    "examples/$name.LSY" -o "docs/galerie/$name.png"
  plus=$(sed -n 2p "examples/$name.LSY" | tr -d '\r' | awk '{printf "%g", $1}')
  echo "| $name | ![$name](docs/galerie/$name.png) | $tiefe | $plus° | $winkel° |"
done <<'LISTE'
KOCHKURVE 4 100 300 0
SCHNEEFLOCKE 4 130 110 0
KOCHINSEL 2 170 290 0
DRACHE 10 330 250 0
SIERPINSKI 6 100 360 0
HILBERT 5 130 50 0
GOSPER 3 170 300 0
FARN 6 250 400 90
BUSCH 4 250 400 90
STRAUCH 4 250 400 90
ZWEIG 5 250 400 90
KRAUT 6 250 400 90
LISTE
