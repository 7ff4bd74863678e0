// What the drawing window offers to those who look at its runs: the magnifier,
// the growth window, and the live redraw's view of what the picture depends on.
#include <QLabel>
#include <algorithm>
#include <cmath>

#include "drawing/Bildspeichern.h"
#include "drawing/Gestaltung.h"
#include "drawing/LSystemZeichnen.h"
#include "drawing/Lupe.h"
#include "drawing/Wachstum.h"
#include "rules/Regelsystem.h"

void TFZeichenform::LaeufeGeaendert() {
  if (Lupenfenster) Lupenfenster->LaeufeGeaendert();
  // A run may have moved the seed on, a recipe set the plant settings.
  if (Gestaltungsfenster) Gestaltungsfenster->Zeigen();
}

void TFZeichenform::GestaltungOeffnen() {
  if (!Gestaltungsfenster) {
    Gestaltungsfenster = new TGestaltung(this);
    connect(Gestaltungsfenster, &TGestaltung::Geaendert, this, [this] {
      Nachzeichner->Anstossen();
      if (EinstellungenGeaendert) EinstellungenGeaendert();
    });
  }
  Gestaltungsfenster->show();
  Gestaltungsfenster->raise();
  Gestaltungsfenster->activateWindow();
}

void TFZeichenform::LupeOeffnen(const std::optional<TAnsicht>& Ansicht) {
  if (!Lupenfenster) {
    Lupenfenster = new TLupe([this]() -> const QImage& { return zeichenflaeche->Bitmap(); },
                             Laufprotokoll, this);
    Lupenfenster->Regelsystemname = [this] {
      return Regelsystemname ? Regelsystemname() : QString();
    };
  }
  if (Ansicht) Lupenfenster->AnsichtSetzen(*Ansicht);
  Lupenfenster->show();
  Lupenfenster->raise();
  Lupenfenster->activateWindow();
}

void TFZeichenform::WachstumOeffnen() {
  if (!Wachstumsfenster) {
    Wachstumsfenster = new TWachstum(zeichenflaeche->size(), this);
    Wachstumsfenster->Regelsystemname = [this] {
      return Regelsystemname ? Regelsystemname() : QString();
    };
  }
  Wachstumsfenster->RezeptSetzen(LaufJetzt());
  Wachstumsfenster->show();
  Wachstumsfenster->raise();
  Wachstumsfenster->activateWindow();
}

void TFZeichenform::zeichenflaecheRad(double X, double Y, double Schritte) {
  // Opened first, so that the view area has the size the screen leaves it; the
  // point under the pointer lies as far into the view as into the surface.
  LupeOeffnen();
  Lupenfenster->UmPunkt(QPointF(X, Y), std::pow(1.5, Schritte));
}

// ---------------------------------------------------------------- live redraw

TLauf TFZeichenform::Bildstand() const {
  TLauf S = Vorgabe;
  S.Regeln = Regelstand();
  // Angles confirmed in the main window count at once, not only on coming back.
  if (Regeln) {
    S.WinkelPlus = Regeln->WinkelPlus;
    S.WinkelMinus = Regeln->WinkelMinus;
  }
  S.Einstellungen = Einstellungen;
  S.StartX = EigeneStartX;
  S.StartY = EigeneStartY;
  S.Schrittweite = EigeneSchrittweite;
  S.Breite = ClientBreite();
  S.Hoehe = ClientHoehe();
  return S;
}

bool TFZeichenform::SpeichernLaeuft() const { return Bildspeicher->SpeichernLaeuft(); }

bool TFZeichenform::Beschaeftigt() const { return Laeuft || Bildspeicher->SpeichernLaeuft(); }

void TFZeichenform::NeuZeichnen(uint64_t Arbeitsgrenze) {
  if (Beendet || !Regeln) return;
  // Angles confirmed in the main window count at once, not only on coming back.
  WinkelUebernehmen();
  LNachzeichnen->hide();
  BLoeschenClick();
  Nachzeichengrenze = Arbeitsgrenze;
  Zeichnen(true);
  Nachzeichengrenze = UINT64_MAX;
}

bool TFZeichenform::ArbeitsgrenzeErreicht() const { return Engine->ArbeitsgrenzeErreicht(); }

void TFZeichenform::LaufAbbrechen() { Engine->Abbrechen(); }
