#!/usr/bin/env bash
# Renders every example rule system into docs/galerie/ with rankenwerk-render
# (build it first, e.g. with scripts/build.sh) and prints the README table rows.
set -euo pipefail
cd "$(dirname "$0")/.."
R=${RENDER:-build/tools/rankenwerk-render}
mkdir -p docs/galerie
# name  depth  start-angle  placement (surface 500 x 400): "zentriert" puts the
# drawing in the middle; "unten" starts at the bottom centre, so that plants
# grow from the lower edge.
while read -r name tiefe winkel lage; do
  if [ "$lage" = zentriert ]; then
    mitte=--zentriert text=zentriert
  else
    mitte='' text="unten Mitte"
  fi
  # shellcheck disable=SC2086 # $mitte is one option or none
  "$R" --breite 500 --hoehe 400 --tiefe "$tiefe" --winkel "$winkel" $mitte \
    "examples/$name.LSY" -o "docs/galerie/$name.png"
  plus=$(sed -n 2p "examples/$name.LSY" | tr -d '\r' | awk '{printf "%g", $1}')
  echo "| $name | ![$name](docs/galerie/$name.png) | $tiefe | $plus° | $winkel° | $text |"
done <<'LISTE'
KOCHKURVE 4 0 zentriert
SCHNEEFLOCKE 4 0 zentriert
KOCHINSEL 2 0 zentriert
DRACHE 10 0 zentriert
SIERPINSKI 6 0 zentriert
HILBERT 5 0 zentriert
GOSPER 3 0 zentriert
FARN 6 90 unten
BUSCH 4 90 unten
STRAUCH 4 90 unten
ZWEIG 5 90 unten
KRAUT 6 90 unten
LISTE
