#!/usr/bin/env bash
# Compares the output bytes and exit codes of rankenwerk-render with expected ones.
# Argument: the path of the rankenwerk-render binary.
set -u
PROG=$1
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
FEHLER=0

# pruefe NAME ERWARTETER_CODE ERWARTETE_AUSGABE ERWARTETER_FEHLERTEXT -- ARGUMENTE...
pruefe() {
  local name=$1 code=$2 aus=$3 err=$4
  shift 5
  "$PROG" "$@" >"$DIR/out" 2>"$DIR/err"
  local rc=$?
  printf '%b' "$aus" >"$DIR/aus"
  printf '%b' "$err" >"$DIR/soll_err"
  if [ "$rc" != "$code" ]; then
    echo "FEHLER $name: Rückgabewert $rc statt $code"; FEHLER=1
  fi
  if ! cmp -s "$DIR/out" "$DIR/aus"; then
    echo "FEHLER $name: Ausgabe weicht ab"; od -c "$DIR/out" | head -20; FEHLER=1
  fi
  if ! cmp -s "$DIR/err" "$DIR/soll_err"; then
    echo "FEHLER $name: Fehlerausgabe weicht ab"; cat "$DIR/err"; FEHLER=1
  fi
}

STANDARD='A\r\n 3.00000000000000E+0001\r\n 3.00000000000000E+0001\r\nA->FF+[FA]--[FA]\r\nB->F\r\nF->FB\r\n'

pruefe "eingebautes System" 0 "$STANDARD" "" -- --regelsystem
pruefe "Tiefe 0" 0 'A\n\n' "" -- --ableitung 0
pruefe "Tiefe 2" 0 'FBFB+[FBFF+[FA]--[FA]]--[FBFF+[FA]--[FA]]\nFF+[FFF+[F]--[F]]--[FFF+[F]--[F]]\n' "" \
  -- --ableitung 2
pruefe "Tiefe 12" 1 "" 'Stringlaenge ist zu groß:  50001\n' -- --ableitung 12
pruefe "Tiefe als Hexzahl" 0 'FF+[FA]--[FA]\nFF+[F]--[F]\n' "" -- --ableitung '$1'
pruefe "Tiefe keine Zahl" 1 "" "'zwei' ist kein gültiger Integerwert\n" -- --ableitung zwei

printf 'X Y\xe4\r\n22.5\r\n-9E1\r\nY ->[F]\xe4\r\nX->Y\r\n' >"$DIR/eigen.LSY"
pruefe "Datei" 0 'X Y\xe4\r\n 2.25000000000000E+0001\r\n-9.00000000000000E+0001\r\nY->[F]\xe4\r\nX->Y\r\n' "" \
  -- --regelsystem "$DIR/eigen.LSY"
pruefe "Ableitung aus Datei" 0 '[F]\xe4 [F]\xe4\xe4\n[F][F]\n' "" -- --ableitung 2 "$DIR/eigen.LSY"

pruefe "fehlende Datei" 1 "" 'Datei nicht gefunden\n' -- --regelsystem "$DIR/fehlt.LSY"
printf 'XXXXXXXXXXXXF\r\n30\r\n30\r\nX->A\r\nX->B\r\nX->C\r\n' >"$DIR/wahl.LSY"
pruefe "Regelwahl nach der Datei" 0 'BACCBBBBCACAF\nF\n' "" -- --ableitung 1 "$DIR/wahl.LSY" --saat 7 \
  --regelwahl zufall
pruefe "Regelwahl vor der Datei" 0 'CBACAAACACBCF\nF\n' "" -- --ableitung --regelwahl zufall 1 "$DIR/wahl.LSY"
pruefe "fehlender Ordner" 1 "" 'Ungültiger Dateiname\n' -- --ableitung 1 "$DIR/fehlt/x.LSY"
printf 'A\r\n30,5\r\n30\r\n' >"$DIR/komma.LSY"
pruefe "Komma" 1 "" 'Ungültige numerische Eingabe\n' -- --regelsystem "$DIR/komma.LSY"
printf 'A\r\n30\r\n30\r\nA->[\r\n' >"$DIR/klammer.LSY"
pruefe "Klammerfehler" 1 "" 'Klammerfehler\n' -- --regelsystem "$DIR/klammer.LSY"

# A picture's recipe stands in for the .LSY file it was drawn from.
"$PROG" "$DIR/eigen.LSY" --tiefe 3 -o "$DIR/eigen.png" 2>"$DIR/err" || { echo "FEHLER Bild: $(cat "$DIR/err")"; FEHLER=1; }
"$PROG" "$DIR/eigen.png" -o "$DIR/eigen.svg" 2>"$DIR/err" || { echo "FEHLER Bild: $(cat "$DIR/err")"; FEHLER=1; }
pruefe "Regelsystem aus PNG" 0 'X Y\xe4\r\n 2.25000000000000E+0001\r\n-9.00000000000000E+0001\r\nY->[F]\xe4\r\nX->Y\r\n' "" \
  -- --regelsystem "$DIR/eigen.png"
pruefe "Ableitung aus SVG" 0 '[F]\xe4 [F]\xe4\xe4\n[F][F]\n' "" -- --ableitung 2 "$DIR/eigen.svg"
cp "$DIR/eigen.LSY" "$DIR/regeln.png"  # the content counts, not the name
pruefe "Regelsystem als .png" 0 'X Y\xe4\r\n 2.25000000000000E+0001\r\n-9.00000000000000E+0001\r\nY->[F]\xe4\r\nX->Y\r\n' "" \
  -- --regelsystem "$DIR/regeln.png"
printf '<svg xmlns="http://www.w3.org/2000/svg"/>\n' >"$DIR/ohne.svg"
pruefe "Bild ohne Rezept" 1 "" 'Das Bild enthält kein Rankenwerk-Rezept\n' -- --regelsystem "$DIR/ohne.svg"
pruefe "Bild ohne Rezept zeichnen" 1 "" 'Das Bild enthält kein Rankenwerk-Rezept\n' \
  -- "$DIR/ohne.svg" -o "$DIR/neu.png"
[ -e "$DIR/neu.png" ] && { echo "FEHLER Bild ohne Rezept: neu.png geschrieben"; FEHLER=1; }

pruefe "unbekannte Aufgabe" 1 "" 'Unbekannte Aufgabe: --bunt (Hilfe: rankenwerk-render --help)\n' -- --bunt
pruefe "ohne Aufgabe" 1 "" 'Keine Aufgabe angegeben (Hilfe: rankenwerk-render --help)\n' --
pruefe "zu viele Argumente" 1 "" 'Zu viele Argumente (Hilfe: rankenwerk-render --help)\n' \
  -- --regelsystem a b

"$PROG" --help >"$DIR/hilfe" 2>&1 || { echo "FEHLER --help: Rückgabewert"; FEHLER=1; }
for wort in "--regelsystem" "--ableitung N" "--zentriert" "--ausschnitt X,Y,B,H" "Aufruf:"; do
  grep -q -- "$wort" "$DIR/hilfe" || { echo "FEHLER --help: '$wort' fehlt"; FEHLER=1; }
done

exit $FEHLER
