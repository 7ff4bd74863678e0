// The drawing window's controls: where they are, what they say, what the radio
// groups show, their tab order.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "drawing/LSystemZeichnen.h"
#include "gui/Bauteile.h"
#include "gui/Eingabefeld.h"
#include "gui/Radiogruppe.h"
#include "gui/Schrift.h"
#include "turtle/turtleUnit.h"

namespace {

constexpr int FortschrittStufen = 1000;

const TGruppenwert Gruppen[] = {
    {&TFZeichenform::RGSchrittModus,
     [](const TFZeichenform&) { return Einstellungen.Schrittmodus; }},
    {&TFZeichenform::RGSchrittweite,
     [](const TFZeichenform&) { return Einstellungen.SchrittweiteAnpassen; }},
    {&TFZeichenform::RGZufallsModus,
     [](const TFZeichenform&) { return Einstellungen.Zufallsmodus; }},
    {&TFZeichenform::RGTurtleZeigen, [](const TFZeichenform& F) { return !F.Turtle().Sichtbar; }},
    {&TFZeichenform::RGNachzeichnen,
     [](const TFZeichenform& F) { return F.Nachzeichnen().Sofort(); }},
    {&TFZeichenform::RGLage, [](const TFZeichenform&) { return Einstellungen.Zentriert; }},
};

}  // namespace

std::span<const TGruppenwert> Gruppenwerte() { return Gruppen; }

void TFZeichenform::GruppenZeigen() {
  for (const TGruppenwert& G : Gruppen) (this->*G.Gruppe)->ItemIndexSetzen(G.Eins(*this) ? 1 : 0);
}

void TFZeichenform::SteuerelementeAnlegen() {
  setObjectName(QStringLiteral("FZeichenform"));
  setWindowTitle(QStringLiteral("Rankenwerk  4.0") + QString(38, QLatin1Char(' ')) +
                 QStringLiteral("Rankenwerk-Entwickler"));
  // The client area the drawing surface is made for.
  setGeometry(205, 56, 1000, 680);
  QPalette Hintergrund = palette();
  Hintergrund.setColor(QPalette::Window, Qt::white);
  setPalette(Hintergrund);
  setAutoFillBackground(true);
  setFont(Schrift(10));

  zeichenflaeche = new TZeichenflaeche(QSize(width(), height()), this);
  zeichenflaeche->move(0, 0);

  // Taller than the first version's 577 pixels: two more groups and a button
  // below "Turtle Zeigen", with all groups a little lower to make room.
  PBedienung = Rahmen(this, "PBedienung", {0, 0, 111, 675}, QFrame::Panel | QFrame::Raised);
  PBedienung->setPalette(QApplication::palette());
  PBedienung->setAutoFillBackground(true);
  PBedienung->setFont(Schrift(11, TSchnitt::Fett));
  const QFont Normal = Schrift(10);

  BZeichnen =
      Knopf(PBedienung, "BZeichnen", QStringLiteral("&Zeichnen"), {7, 7, 98, 26},
            QStringLiteral("Zeichnung ausgeben, notfalls mit Schalter 'Abbrechen' stoppen"));
  BLoeschen = Knopf(PBedienung, "BLoeschen", QStringLiteral("&Löschen"), {7, 39, 98, 27},
                    QStringLiteral("Zeichnung löschen"));
  Bevel1 = Rahmen(PBedienung, "Bevel1", {7, 72, 98, 39}, QFrame::Box | QFrame::Sunken);
  ETiefe = Feld(PBedienung, "ETiefe", {13, 89, 79, 21}, TiefeHinweis());
  ETiefe->installEventFilter(this);
  LTiefe = Beschriftung(PBedienung, "LTiefe", QStringLiteral("&Tiefe"), {11, 76}, ETiefe);
  Bevel2 = Rahmen(PBedienung, "Bevel2", {7, 117, 98, 53}, QFrame::Box | QFrame::Sunken);
  ESchrittweite = Feld(PBedienung, "ESchrittweite", {13, 143, 79, 21},
                       QStringLiteral("Schrittweite für 'L', wird je nach Einstellung "
                                      "automatisch an die Bildgröße angepaßt"));
  ESchrittweite->setFont(Normal);
  LSchrittweite = Beschriftung(PBedienung, "LSchrittweite", QStringLiteral("Schri&ttweite"),
                               {13, 124}, ESchrittweite);
  Bevel3 = Rahmen(PBedienung, "Bevel3", {7, 176, 98, 85}, QFrame::Box | QFrame::Sunken);
  LStartposition =
      Beschriftung(PBedienung, "LStartposition", QStringLiteral("Startposition"), {13, 182});
  LStartposition->setToolTip(
      QStringLiteral("Startposition von Hand eingeben. Kann auch durch Klicken mit der "
                     "rechten Maustaste eingegeben werden."));
  // A little wider than 27 pixels and in the plain font, so that "1000.0" fits.
  Ex = Feld(PBedienung, "Ex", {21, 208, 35, 21}, QStringLiteral("x-Wert für Startposition"));
  Lx = Beschriftung(PBedienung, "Lx", QStringLiteral("x"), {12, 210}, Ex);
  Ey = Feld(PBedienung, "Ey", {67, 208, 35, 21}, QStringLiteral("y-Wert für Startposition"));
  Ly = Beschriftung(PBedienung, "Ly", QStringLiteral("y"), {59, 210}, Ey);
  for (TEingabefeld* E : {Ex, Ey}) {
    E->setFont(Normal);
    E->setTextMargins(-2, 0, -2, 0);
  }
  EWinkel = Feld(PBedienung, "EWinkel", {59, 234, 39, 21},
                 QStringLiteral("Startwinkel für die Zeichnung (90° zeigt nach oben)"));
  LWinkel = Beschriftung(PBedienung, "LWinkel", QStringLiteral("&Winkel"), {13, 234}, EWinkel);

  // The radio groups one below the other, each 48 pixels high.
  RGSchrittModus =
      Gruppe(PBedienung, "RGSchrittModus", QStringLiteral("&Schrittmodus"),
             QStringLiteral("schnell"), QStringLiteral("schrittweise"), {7, 267, 98, 48},
             QStringLiteral("Hier Einzelschritt oder ganzes Bild wählen"));
  RGSchrittweite =
      Gruppe(PBedienung, "RGSchrittweite", QStringLiteral("Schrittweite"),
             QStringLiteral("absolut"), QStringLiteral("anpassen"), {7, 319, 98, 48},
             QStringLiteral("Hier angeben, ob die Schrittweite automatisch an die Größe des "
                            "Fensters angepaßt werden soll"));
  RGZufallsModus =
      Gruppe(PBedienung, "RGZufallsModus", QStringLiteral("&ZufallsModus"), QStringLiteral("exakt"),
             QStringLiteral("Zufall"), {7, 371, 98, 48},
             QStringLiteral("Hie wählen, ob zufällige Schwankungen beim Zeichnen berücksichtigt "
                            "werden sollen. "));
  RGTurtleZeigen =
      Gruppe(PBedienung, "RGTurtleZeigen", QStringLiteral("Turtle Zeigen"),
             QStringLiteral("zeigen"), QStringLiteral("verstecken"), {7, 423, 98, 48},
             QStringLiteral("Einstellen, ob die Turtle als Symbol sichtbar sein soll"));
  RGNachzeichnen =
      Gruppe(PBedienung, "RGNachzeichnen", QStringLiteral("Nachzeichnen"), QStringLiteral("aus"),
             QStringLiteral("sofort"), {7, 475, 98, 48},
             QStringLiteral("Hier wählen, ob nach jeder Änderung von Regeln oder Einstellungen "
                            "sofort neu gezeichnet werden soll"));
  RGLage = Gruppe(PBedienung, "RGLage", QStringLiteral("Lage"), QStringLiteral("frei"),
                  QStringLiteral("zentriert"), {7, 527, 98, 48},
                  QStringLiteral("Hier wählen, ob die Zeichnung an der Startposition beginnt "
                                 "oder in der Mitte der Fläche liegt"));

  BExtras = Knopf(PBedienung, "BExtras", QStringLiteral("Extra Einstellungen"), {7, 580, 98, 27},
                  QStringLiteral("Einstellungen von Zufallsabweichungen, Zeichendicke, Schwund "
                                 "von Dicken bei Verzweigungen und Zeichenfarbe"));
  BZwischenablage = Knopf(PBedienung, "BZwischenablage", QStringLiteral("In Zwischenablage"),
                          {7, 611, 98, 27}, QStringLiteral("Bild in die Zwischneablage kopieren"));
  BBildSpeichern =
      Knopf(PBedienung, "BBildSpeichern", QStringLiteral("Bild speichern"), {7, 642, 98, 27},
            QStringLiteral("Zeichnung als PNG- oder SVG-Datei speichern"));
  for (QWidget* W : {static_cast<QWidget*>(BExtras), static_cast<QWidget*>(BZwischenablage),
                     static_cast<QWidget*>(BBildSpeichern)})
    W->setFont(Normal);

  EZeichen = Feld(this, "EZeichen", {546, 39, 33, 28});
  EZeichen->setFont(Schrift(16, TSchnitt::Fett));
  EZeichen->setEnabled(false);
  // Display only, yet its character is read at every step: normal text colour.
  QPalette Lesbar = EZeichen->palette();
  for (auto Rolle : {QPalette::Text, QPalette::Base})
    Lesbar.setColor(QPalette::Disabled, Rolle, Lesbar.color(QPalette::Active, Rolle));
  EZeichen->setPalette(Lesbar);
  EZeichen->hide();
  EString = Feld(this, "EString", {117, 7, 462, 26});
  EString->setReadOnly(true);
  // The marked character shows while the continue prompt has the focus.
  QPalette Markierung = EString->palette();
  for (auto Rolle : {QPalette::Highlight, QPalette::HighlightedText})
    Markierung.setColor(QPalette::Inactive, Rolle, Markierung.color(QPalette::Active, Rolle));
  EString->setPalette(Markierung);
  EString->hide();
  BAbbrechen = Knopf(this, "BAbbrechen", QStringLiteral("Abbrechen"), {520, 7, 85, 26},
                     QStringLiteral("Vorgang abbrechen, wenn's zu lange dauert!"));
  QPalette Rot = BAbbrechen->palette();
  Rot.setColor(QPalette::ButtonText, Qt::red);
  BAbbrechen->setPalette(Rot);
  BAbbrechen->setEnabled(false);
  BAbbrechen->hide();
  PBFortschritt = new QProgressBar(this);
  PBFortschritt->setObjectName(QStringLiteral("PBFortschritt"));
  PBFortschritt->setGeometry(611, 9, 150, 22);
  PBFortschritt->setRange(0, FortschrittStufen);
  PBFortschritt->setValue(0);
  PBFortschritt->hide();
  LNachzeichnen = Beschriftung(this, "LNachzeichnen", QString(), {117, 9});
  LNachzeichnen->setFont(Normal);
  LNachzeichnen->hide();

  Tabfolge({BZeichnen, RGSchrittModus, ETiefe, BLoeschen, RGZufallsModus, ESchrittweite,
            RGSchrittweite, Ex, Ey, EWinkel, RGTurtleZeigen, RGNachzeichnen, RGLage, BExtras,
            BZwischenablage, BBildSpeichern, EZeichen, EString, BAbbrechen});
}
