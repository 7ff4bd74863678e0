#include "drawing/Gestaltung.h"

#include <QColorDialog>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <random>

#include "drawing/Extras.h"
#include "engine/Einstellungen.h"
#include "engine/Rezeptfelder.h"
#include "gui/Bauteile.h"
#include "gui/Dialoge.h"
#include "gui/Eingabefeld.h"
#include "gui/Klicks.h"
#include "gui/Radiogruppe.h"
#include "gui/Schrift.h"
#include "helpers/Hilfen.h"

namespace {

// A setting changed here counts for the extra settings dialog's working values too.
template <typename T>
void Setzen(T TEinstellungen::*Glied, T Wert) {
  Einstellungen.*Glied = Wert;
  ExtraWerte.*Glied = Wert;
}

// A control in a colour, its caption readable on it.
void Einfaerben(QWidget* W, QPalette::ColorRole Rolle, uint32_t Farbe) {
  const QColor F = AlsQColor(Farbe);
  QPalette P = W->palette();
  P.setColor(Rolle, F);
  P.setColor(QPalette::ButtonText, F.lightness() < 128 ? Qt::white : Qt::black);
  W->setPalette(P);
}

}  // namespace

TGestaltung::TGestaltung(QWidget* Eltern) : QWidget(Eltern, Qt::Window) {
  setObjectName(QStringLiteral("Gestaltung"));
  setWindowTitle(QStringLiteral("Gestaltung"));
  setFont(Schrift(10));
  setFixedSize(372, 158);

  RGRegelwahl = Gruppe(this, "RGRegelwahl", QStringLiteral("Regelwahl"),
                       {QStringLiteral("erste Regel"), QStringLiteral("zufällig")}, {8, 8, 116, 50},
                       QStringLiteral("Bei mehreren Regeln für ein Zeichen: immer die erste, oder "
                                      "für jedes Vorkommen eine zufällige (aus der Saat)"));
  RGZeichensatz =
      Gruppe(this, "RGZeichensatz", QStringLiteral("Zeichensatz"),
             {QStringLiteral("klassisch"), QStringLiteral("mit Blättern")}, {8, 64, 116, 50},
             QStringLiteral("Mit Blättern füllen { und } ein Blatt, | kehrt um"));
  RGFaerbung = Gruppe(this, "RGFaerbung", QStringLiteral("Färbung"),
                      {QStringLiteral("einfarbig"), QStringLiteral("Verzweigung"),
                       QStringLiteral("Alter"), QStringLiteral("Regel")},
                      {132, 8, 116, 80},
                      QStringLiteral("Linien nach Verschachtelung, Alter oder Regel von der "
                                     "Zeichenfarbe bis zur Endfarbe färben"));
  LZeichenfarbe = Beschriftung(this, "LZeichenfarbe", QStringLiteral("Zeichenfarbe"), {256, 12});
  FZeichenfarbe = new QLabel(this);
  FZeichenfarbe->setObjectName(QStringLiteral("FZeichenfarbe"));
  FZeichenfarbe->setGeometry(256, 30, 108, 22);
  FZeichenfarbe->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  FZeichenfarbe->setAutoFillBackground(true);
  FZeichenfarbe->setToolTip(
      QStringLiteral("Die Zeichenfarbe stellt „Extras“ im Zeichenfenster ein"));
  BEndfarbe = Knopf(this, "BEndfarbe", QStringLiteral("Endfarbe"), {256, 58, 108, 26},
                    QStringLiteral("Farbe der letzten Stufe einer Färbung wählen"));
  BHintergrund = Knopf(this, "BHintergrund", QStringLiteral("Hintergrund"), {256, 122, 108, 26},
                       QStringLiteral("Hintergrundfarbe der Zeichenfläche wählen; gilt ab "
                                      "„Löschen“ oder dem nächsten Neuzeichnen"));
  ESaat = Feld(this, "ESaat", {50, 124, 90, 22},
               QStringLiteral("Startwert für Zufallsmodus und zufällige Regelwahl"));
  LSaat = Beschriftung(this, "LSaat", QStringLiteral("Saat"), {12, 128}, ESaat);
  BNeueSaat = Knopf(this, "BNeueSaat", QStringLiteral("Neue Saat"), {146, 122, 90, 26},
                    QStringLiteral("Eine neue zufällige Saat setzen: eine andere Pflanze"));
  ColorDialog = new QColorDialog(this);
  ColorDialog->setObjectName(QStringLiteral("ColorDialog"));
  ColorDialog->setOption(QColorDialog::DontUseNativeDialog);
  Tabfolge({RGRegelwahl, RGZeichensatz, RGFaerbung, BEndfarbe, ESaat, BNeueSaat, BHintergrund});

  connect(RGRegelwahl, &TRadioGruppe::Geklickt, this, [this](int i) {
    Setzen(&TEinstellungen::Regelwahl, static_cast<TRegelwahl>(i));
    emit Geaendert();
  });
  connect(RGZeichensatz, &TRadioGruppe::Geklickt, this, [this](int i) {
    Setzen(&TEinstellungen::Zeichensatz, static_cast<TZeichensatz>(i));
    emit Geaendert();
  });
  connect(RGFaerbung, &TRadioGruppe::Geklickt, this, [this](int i) {
    Setzen(&TEinstellungen::Faerbung, static_cast<TFaerbung>(i));
    emit Geaendert();
  });
  connect(BEndfarbe, &QPushButton::clicked, this,
          [this] { FarbeWaehlen(&TEinstellungen::Endfarbe); });
  connect(BHintergrund, &QPushButton::clicked, this,
          [this] { FarbeWaehlen(&TEinstellungen::Hintergrund); });
  connect(ESaat, &TEingabefeld::Verlassen, this, &TGestaltung::ESaatExit);
  connect(BNeueSaat, &QPushButton::clicked, this, &TGestaltung::BNeueSaatClick);
  KlicksBewahren(this);
  Zeigen();
}

void TGestaltung::Zeigen() {
  RGRegelwahl->ItemIndexSetzen(static_cast<int>(Einstellungen.Regelwahl));
  RGZeichensatz->ItemIndexSetzen(static_cast<int>(Einstellungen.Zeichensatz));
  RGFaerbung->ItemIndexSetzen(static_cast<int>(Einstellungen.Faerbung));
  Einfaerben(FZeichenfarbe, QPalette::Window, Einstellungen.Zeichenfarbe);
  Einfaerben(BEndfarbe, QPalette::Button, Einstellungen.Endfarbe);
  Einfaerben(BHintergrund, QPalette::Button, Einstellungen.Hintergrund);
  if (!ESaat->hasFocus()) ESaat->setText(QString::number(Einstellungen.Saat));
}

void TGestaltung::showEvent(QShowEvent* E) {
  Zeigen();
  QWidget::showEvent(E);
}

void TGestaltung::FarbeWaehlen(uint32_t TEinstellungen::*Farbe) {
  ColorDialog->setCurrentColor(AlsQColor(Einstellungen.*Farbe));
  const int Ergebnis = ColorDialog->exec();
  FokusZurueckgeben(this);
  if (Ergebnis != QDialog::Accepted) return;
  Setzen(Farbe, AlsFarbwert(ColorDialog->selectedColor()));
  Zeigen();
  emit Geaendert();
}

void TGestaltung::ESaatExit() {
  const TRezeptfeld& F = *FeldZuSchluessel("Zufallszustand");
  FeldVerlassen(
      this,
      [&] {
        TLauf K;
        K.Einstellungen = Einstellungen;
        FeldEingeben(F, K, NachCp1252(ESaat->text()));
        if (K.Einstellungen.Saat == Einstellungen.Saat) return;
        Setzen(&TEinstellungen::Saat, K.Einstellungen.Saat);
        emit Geaendert();
      },
      [&] { ESaat->setText(QString::number(Einstellungen.Saat)); });
}

void TGestaltung::BNeueSaatClick() {
  static std::mt19937 Erzeuger{std::random_device{}()};
  Setzen(&TEinstellungen::Saat, static_cast<uint32_t>(Erzeuger()));
  ESaat->setText(QString::number(Einstellungen.Saat));
  emit Geaendert();
}
