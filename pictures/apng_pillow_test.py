#!/usr/bin/env python3
"""Opens animations written by apng_beispiel with Pillow, a decoder of its own,
and compares frames, times, loop count and recipe with what was written."""
import os
import subprocess
import sys
import tempfile

try:
    from PIL import Image
except ImportError:
    sys.exit("Pillow fehlt: scripts/install-deps.sh installiert python3-pil")

PROGRAMM = sys.argv[1]
REZEPT = "Rankenwerk-Rezept 1\nTiefe: 2\n"
fehler = []


def pruefen(bildzahl, bildzeit):
    schluss = max(4 * bildzeit, 1000)
    with tempfile.TemporaryDirectory() as ordner:
        subprocess.run([PROGRAMM, ordner, str(bildzahl), str(bildzeit)], check=True)
        name = f"{bildzahl} Bilder zu {bildzeit} ms"
        with Image.open(os.path.join(ordner, "animation.png")) as a:
            if a.format != "PNG" or a.n_frames != bildzahl:
                fehler.append(f"{name}: {a.format}, {a.n_frames} Bilder")
                return
            if a.is_animated != (bildzahl > 1):
                fehler.append(f"{name}: is_animated {a.is_animated}")
            if a.info.get("loop") != 0:
                fehler.append(f"{name}: loop {a.info.get('loop')}")
            if a.text.get("Rankenwerk-Rezept") != REZEPT:
                fehler.append(f"{name}: Rezept {a.text.get('Rankenwerk-Rezept')!r}")
            for i in range(bildzahl):
                a.seek(i)
                soll = schluss if i == bildzahl - 1 else bildzeit
                if abs(a.info.get("duration", -1) - soll) > 1e-6:
                    fehler.append(f"{name}: Bild {i} dauert {a.info.get('duration')} ms statt {soll}")
                with Image.open(os.path.join(ordner, f"bild_{i}.png")) as einzeln:
                    if a.convert("RGB").tobytes() != einzeln.convert("RGB").tobytes():
                        fehler.append(f"{name}: Bild {i} weicht ab")


for bildzahl, bildzeit in [(6, 120), (3, 700), (1, 10), (2, 60000)]:
    pruefen(bildzahl, bildzeit)
for f in fehler:
    print("FEHLER", f)
print("Pillow liest die Animationen" if not fehler else f"{len(fehler)} Fehler")
sys.exit(1 if fehler else 0)
