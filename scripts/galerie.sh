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

# The plants drawn with the plant settings: name, depth, then the options.
echo
while read -r name tiefe optionen; do
  # shellcheck disable=SC2086 # the options are several words
  "$R" --breite 500 --hoehe 400 --tiefe "$tiefe" --winkel 90 $optionen \
    "examples/$name.LSY" -o "docs/galerie/$name.png"
  echo "| $name | ![$name](docs/galerie/$name.png) | \`rankenwerk-render --breite 500 --hoehe 400 --tiefe $tiefe --winkel 90 $optionen examples/$name.LSY -o $name.png\` |"
done <<'LISTE'
ZUFALLSBUSCH 5 --regelwahl zufall --saat 1 --faerbung verzweigung --farbe 5C3A1E --endfarbe 7CCD3C --dicke 4 --schwund 30
ZUFALLSKRAUT 5 --regelwahl zufall --saat 2
ZUFALLSHALM 6 --regelwahl zufall --saat 3 --faerbung alter --farbe 1E5C2E --endfarbe B5E61D --hintergrund F4F1E6
BLATTPFLANZE 5 --zeichensatz blaetter --faerbung regel --farbe 6B4423 --endfarbe 3CB043
FARBBAUM 4 --faerbung verzweigung --farbe 4A2F1B --endfarbe 90EE90 --dicke 4 --schwund 30
LISTE
