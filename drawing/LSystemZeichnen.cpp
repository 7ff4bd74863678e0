#include "drawing/LSystemZeichnen.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "drawing/Extras.h"
#include "drawing/Feldpruefung.h"
#include "drawing/Fensterhilfen.h"
#include "drawing/UnitWeiter.h"
#include "drawing/Zeichenzahl.h"
#include "gui/Beschriftung.h"
#include "gui/Dialoge.h"
#include "gui/Klicks.h"
#include "gui/Kuerzel.h"
#include "gui/Schrift.h"
#include "helpers/Hilfen.h"
#include "rules/Regelsystem.h"
#include "turtle/BildLeinwand.h"
#include "turtle/Bilddatei.h"
#include "turtle/SvgLeinwand.h"
#include "turtle/turtleUnit.h"

TFZeichenform* FZeichenform = nullptr;

namespace {

constexpr uint32_t Weiss = 0xFFFFFF;
constexpr uint32_t MarkierFarbe = 0x0000FF;
constexpr int FortschrittStufen = 1000;
const QString TiefeHinweisText = QStringLiteral("Entwicklungstiefe angeben");

// 1234567 as "1.234.567".
QString MitTausenderpunkten(uint64_t n) {
  QString Ziffern = QString::number(n);
  for (qsizetype i = Ziffern.size() - 3; i > 0; i -= 3) Ziffern.insert(i, QLatin1Char('.'));
  return Ziffern;
}

QString Text(const std::string& Bytes) { return AusCp1252(Bytes); }
std::string Text(const QLineEdit* Feld) { return NachCp1252(Feld->text()); }

QFrame* Bevel(QWidget* Eltern, int Links, int Oben, int Breite, int Hoehe) {
  auto* B = new QFrame(Eltern);
  B->setFrameStyle(QFrame::Box | QFrame::Sunken);
  B->setGeometry(Links, Oben, Breite, Hoehe);
  return B;
}

QLabel* Label(const QString& Titel, QWidget* Eltern, int Links, int Oben,
              QWidget* Buddy = nullptr) {
  auto* L = new QLabel(Titel, Eltern);
  L->move(Links, Oben);
  if (Buddy) L->setBuddy(Buddy);
  L->adjustSize();
  return L;
}

TEingabefeld* Feld(QWidget* Eltern, int Links, int Oben, int Breite, int Hoehe,
                   const QString& Hinweis) {
  auto* E = new TEingabefeld(Eltern);
  E->setGeometry(Links, Oben, Breite, Hoehe);
  E->setToolTip(Hinweis);
  return E;
}

QPushButton* Knopf(const QString& Titel, QWidget* Eltern, int Links, int Oben, int Breite,
                   int Hoehe, const QString& Hinweis) {
  auto* B = new QPushButton(Titel, Eltern);
  B->setGeometry(Links, Oben, Breite, Hoehe);
  B->setToolTip(Hinweis);
  return B;
}

}  // namespace

// ---------------------------------------------------------------- surface

TZeichenflaeche::TZeichenflaeche(QSize Groesse, QWidget* Eltern)
    : QWidget(Eltern), Bild(Groesse, QImage::Format_RGB32) {
  Bild.fill(Qt::white);
  Leinwand = std::make_unique<TBildLeinwand>(Bild);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(Groesse);
}

TZeichenflaeche::~TZeichenflaeche() = default;

const QImage& TZeichenflaeche::Bitmap() {
  Leinwand->Ausgeben();
  return Bild;
}

void TZeichenflaeche::paintEvent(QPaintEvent* E) {
  QPainter P(this);
  P.drawImage(E->rect(), Bitmap(), E->rect());
}

void TZeichenflaeche::mousePressEvent(QMouseEvent* E) {
  const QPoint Punkt = E->position().toPoint();
  emit MouseDown(E->buttons(), Punkt.x(), Punkt.y());
}

// ---------------------------------------------------------------- window

TFZeichenform::TFZeichenform(QWidget* Eltern) : QWidget(Eltern, Qt::Window) {
  setWindowTitle(QStringLiteral("Rankenwerk  4.0") + QString(38, QLatin1Char(' ')) +
                 QStringLiteral("Rankenwerk-Entwickler"));
  // The client area the drawing surface is made for.
  setGeometry(205, 56, 1000, 680);
  QPalette Hintergrund = palette();
  Hintergrund.setColor(QPalette::Window, Qt::white);
  setPalette(Hintergrund);
  setAutoFillBackground(true);
  setFont(Schrift(10, false));

  zeichenflaeche = new TZeichenflaeche(QSize(width(), height()), this);
  zeichenflaeche->move(0, 0);

  PBedienung = new QFrame(this);
  PBedienung->setFrameStyle(QFrame::Panel | QFrame::Raised);
  // Taller than the first version's 577 pixels: two more groups and a button
  // below "Turtle Zeigen", with all groups a little lower to make room.
  PBedienung->setGeometry(0, 0, 111, 675);
  PBedienung->setPalette(QApplication::palette());
  PBedienung->setAutoFillBackground(true);
  PBedienung->setFont(Schrift(11, true));
  const QFont Normal = Schrift(10, false);

  BZeichnen =
      Knopf(QStringLiteral("&Zeichnen"), PBedienung, 7, 7, 98, 26,
            QStringLiteral("Zeichnung ausgeben, notfalls mit Schalter 'Abbrechen' stoppen"));
  BLoeschen = Knopf(QStringLiteral("&Löschen"), PBedienung, 7, 39, 98, 27,
                    QStringLiteral("Zeichnung löschen"));
  Bevel1 = Bevel(PBedienung, 7, 72, 98, 39);
  ETiefe = Feld(PBedienung, 13, 89, 79, 21, TiefeHinweisText);
  ETiefe->installEventFilter(this);
  LTiefe = Label(QStringLiteral("&Tiefe"), PBedienung, 11, 76, ETiefe);
  Bevel2 = Bevel(PBedienung, 7, 117, 98, 53);
  ESchrittweite = Feld(PBedienung, 13, 143, 79, 21,
                       QStringLiteral("Schrittweite für 'L', wird je nach Einstellung "
                                      "automatisch an die Bildgröße angepaßt"));
  ESchrittweite->setFont(Normal);
  LSchrittweite = Label(QStringLiteral("Schri&ttweite"), PBedienung, 13, 124, ESchrittweite);
  Bevel3 = Bevel(PBedienung, 7, 176, 98, 85);
  LStartposition = Label(QStringLiteral("Startposition"), PBedienung, 13, 182);
  LStartposition->setToolTip(
      QStringLiteral("Startposition von Hand eingeben. Kann auch durch Klicken mit der "
                     "rechten Maustaste eingegeben werden."));
  // A little wider than 27 pixels and in the plain font, so that "1000.0" fits.
  Ex = Feld(PBedienung, 21, 208, 35, 21, QStringLiteral("x-Wert für Startposition"));
  Lx = Label(QStringLiteral("x"), PBedienung, 12, 210, Ex);
  Ey = Feld(PBedienung, 67, 208, 35, 21, QStringLiteral("y-Wert für Startposition"));
  Ly = Label(QStringLiteral("y"), PBedienung, 59, 210, Ey);
  for (TEingabefeld* E : {Ex, Ey}) {
    E->setFont(Normal);
    E->setTextMargins(-2, 0, -2, 0);
  }
  EWinkel = Feld(PBedienung, 59, 234, 39, 21,
                 QStringLiteral("Startwinkel für die Zeichnung (90° zeigt nach oben)"));
  LWinkel = Label(QStringLiteral("&Winkel"), PBedienung, 13, 234, EWinkel);

  // The radio groups one below the other, each 48 pixels high.
  auto Gruppe = [&](const char* Titel, const char* Item0, const char* Item1, int Oben,
                    const QString& Hinweis) {
    auto* G = new TRadioGruppe(QString::fromUtf8(Titel), QString::fromUtf8(Item0),
                               QString::fromUtf8(Item1), PBedienung);
    G->setGeometry(7, Oben, 98, 48);
    G->setToolTip(Hinweis);
    return G;
  };
  RGSchrittModus = Gruppe("&Schrittmodus", "schnell", "schrittweise", 267,
                          QStringLiteral("Hier Einzelschritt oder ganzes Bild wählen"));
  RGSchrittweite =
      Gruppe("Schrittweite", "absolut", "anpassen", 319,
             QStringLiteral("Hier angeben, ob die Schrittweite automatisch an die Größe des "
                            "Fensters angepaßt werden soll"));
  RGZufallsModus =
      Gruppe("&ZufallsModus", "exakt", "Zufall", 371,
             QStringLiteral("Hie wählen, ob zufällige Schwankungen beim Zeichnen berücksichtigt "
                            "werden sollen. "));
  RGTurtleZeigen =
      Gruppe("Turtle Zeigen", "zeigen", "verstecken", 423,
             QStringLiteral("Einstellen, ob die Turtle als Symbol sichtbar sein soll"));
  RGNachzeichnen =
      Gruppe("Nachzeichnen", "aus", "sofort", 475,
             QStringLiteral("Hier wählen, ob nach jeder Änderung von Regeln oder Einstellungen "
                            "sofort neu gezeichnet werden soll"));
  RGLage = Gruppe("Lage", "frei", "zentriert", 527,
                  QStringLiteral("Hier wählen, ob die Zeichnung an der Startposition beginnt "
                                 "oder in der Mitte der Fläche liegt"));

  BExtras = Knopf(QStringLiteral("Extra Einstellungen"), PBedienung, 7, 580, 98, 27,
                  QStringLiteral("Einstellungen von Zufallsabweichungen, Zeichendicke, Schwund "
                                 "von Dicken bei Verzweigungen und Zeichenfarbe"));
  BExtras->setFont(Normal);
  BZwischenablage = Knopf(QStringLiteral("In Zwischenablage"), PBedienung, 7, 611, 98, 27,
                          QStringLiteral("Bild in die Zwischneablage kopieren"));
  BZwischenablage->setFont(Normal);
  BBildSpeichern = Knopf(QStringLiteral("Bild speichern"), PBedienung, 7, 642, 98, 27,
                         QStringLiteral("Zeichnung als PNG- oder SVG-Datei speichern"));
  BBildSpeichern->setFont(Normal);

  EZeichen = Feld(this, 546, 39, 33, 28, QString());
  EZeichen->setFont(Schrift(16, true));
  EZeichen->setEnabled(false);
  // Display only, yet its character is read at every step: normal text colour.
  QPalette Lesbar = EZeichen->palette();
  for (auto Rolle : {QPalette::Text, QPalette::Base})
    Lesbar.setColor(QPalette::Disabled, Rolle, Lesbar.color(QPalette::Active, Rolle));
  EZeichen->setPalette(Lesbar);
  EZeichen->hide();
  EString = Feld(this, 117, 7, 462, 26, QString());
  EString->setReadOnly(true);
  // The marked character shows while the continue prompt has the focus.
  QPalette Markierung = EString->palette();
  for (auto Rolle : {QPalette::Highlight, QPalette::HighlightedText})
    Markierung.setColor(QPalette::Inactive, Rolle, Markierung.color(QPalette::Active, Rolle));
  EString->setPalette(Markierung);
  EString->hide();
  BAbbrechen = Knopf(QStringLiteral("Abbrechen"), this, 520, 7, 85, 26,
                     QStringLiteral("Vorgang abbrechen, wenn's zu lange dauert!"));
  QPalette Rot = BAbbrechen->palette();
  Rot.setColor(QPalette::ButtonText, Qt::red);
  BAbbrechen->setPalette(Rot);
  BAbbrechen->setEnabled(false);
  BAbbrechen->hide();
  PBFortschritt = new QProgressBar(this);
  PBFortschritt->setGeometry(611, 9, 150, 22);
  PBFortschritt->setRange(0, FortschrittStufen);
  PBFortschritt->setValue(0);
  PBFortschritt->hide();

  QWidget* Reihenfolge[] = {BZeichnen,
                            RGSchrittModus->Items[0],
                            RGSchrittModus->Items[1],
                            ETiefe,
                            BLoeschen,
                            RGZufallsModus->Items[0],
                            RGZufallsModus->Items[1],
                            ESchrittweite,
                            RGSchrittweite->Items[0],
                            RGSchrittweite->Items[1],
                            Ex,
                            Ey,
                            EWinkel,
                            RGTurtleZeigen->Items[0],
                            RGTurtleZeigen->Items[1],
                            RGNachzeichnen->Items[0],
                            RGNachzeichnen->Items[1],
                            RGLage->Items[0],
                            RGLage->Items[1],
                            BExtras,
                            BZwischenablage,
                            BBildSpeichern,
                            EZeichen,
                            EString,
                            BAbbrechen};
  for (size_t i = 1; i < std::size(Reihenfolge); ++i)
    setTabOrder(Reihenfolge[i - 1], Reihenfolge[i]);

  // Turtle on the surface, engine on turtle and window.
  Turtle = std::make_unique<TTurtle>(*zeichenflaeche->Leinwand);
  TZeichenfensterSchnittstelle& Schnittstelle = *this;
  Maschine = std::make_unique<TZeichenmaschine>(*Turtle, Schnittstelle);
  Turtle->FarbeSetzen(Zeichenfarbe);
  Turtle->SymbolGroesseSetzen(15.0);
  Turtle->Grundstellung();

  StartXSetzen(Turtle->X);
  StartYSetzen(height());
  StartwinkelSetzen(90.0);
  SchrittweiteSetzen(StartSchrittweite);
  TiefeSetzen(StartTiefe);
  StartMarkeZeichnen();

  RGSchrittweite->ItemIndexSetzen(SchrittweiteAnpassen ? 1 : 0);
  RGZufallsModus->ItemIndexSetzen(Zufallsmodus ? 1 : 0);
  RGSchrittModus->ItemIndexSetzen(Schrittmodus ? 1 : 0);
  RGTurtleZeigen->ItemIndexSetzen(1);
  RGNachzeichnen->ItemIndexSetzen(0);
  RGLage->ItemIndexSetzen(0);

  // Shown instead of a live redraw that would take too long.
  LNachzeichnen = new QLabel(
      QStringLiteral("Zu viele Linien zum sofortigen Nachzeichnen – „Zeichnen“ zeichnet es."),
      this);
  LNachzeichnen->setFont(Normal);
  LNachzeichnen->move(117, 9);
  LNachzeichnen->adjustSize();
  LNachzeichnen->hide();
  Nachzeichenuhr = new QTimer(this);
  Nachzeichenuhr->setSingleShot(true);
  Nachzeichenuhr->setInterval(40);
  connect(Nachzeichenuhr, &QTimer::timeout, this, &TFZeichenform::Nachzeichnen);

  connect(BZeichnen, &QPushButton::clicked, this, &TFZeichenform::BZeichnenClick);
  connect(BLoeschen, &QPushButton::clicked, this, &TFZeichenform::BLoeschenClick);
  // A stop acts on the press: its release may come only when the run it was
  // meant for is over, and must not stop the next one (the drawing after a fitting).
  connect(BAbbrechen, &QPushButton::pressed, this, &TFZeichenform::BAbbrechenClick);
  connect(BExtras, &QPushButton::clicked, this, &TFZeichenform::BExtrasClick);
  connect(BZwischenablage, &QPushButton::clicked, this, &TFZeichenform::BZwischenablageClick);
  connect(BBildSpeichern, &QPushButton::clicked, this, &TFZeichenform::BBildSpeichernClick);
  connect(ETiefe, &TEingabefeld::Verlassen, this, &TFZeichenform::ETiefeExit);
  connect(ESchrittweite, &TEingabefeld::Verlassen, this, &TFZeichenform::ESchrittweiteExit);
  connect(Ex, &TEingabefeld::Verlassen, this, &TFZeichenform::ExExit);
  connect(Ey, &TEingabefeld::Verlassen, this, &TFZeichenform::EyExit);
  connect(EWinkel, &TEingabefeld::Verlassen, this, &TFZeichenform::EWinkelExit);
  connect(RGSchrittModus, &TRadioGruppe::Geklickt, this, &TFZeichenform::RGSchrittModusClick);
  connect(RGSchrittweite, &TRadioGruppe::Geklickt, this, &TFZeichenform::RGSchrittweiteClick);
  connect(RGZufallsModus, &TRadioGruppe::Geklickt, this, &TFZeichenform::RGZufallsModusClick);
  connect(RGTurtleZeigen, &TRadioGruppe::Geklickt, this, &TFZeichenform::RGTurtleZeigenClick);
  connect(RGNachzeichnen, &TRadioGruppe::Geklickt, this, &TFZeichenform::RGNachzeichnenClick);
  connect(RGLage, &TRadioGruppe::Geklickt, this, &TFZeichenform::RGLageClick);
  connect(zeichenflaeche, &TZeichenflaeche::MouseDown, this,
          &TFZeichenform::zeichenflaecheMouseDown);
  KlicksBewahren(this);
  KuerzelEindeutigMachen(this);
  BeschriftungenEinpassen(this);
}

// The engine refers to the turtle, the turtle to the surface's canvas.
TFZeichenform::~TFZeichenform() {
  Maschine.reset();
  Turtle.reset();
}

void TFZeichenform::RegelsystemUebergeben(TRegelsystem& R) {
  Maschine->Regelsystem = &R;
  Maschine->WinkelPlus = R.WinkelPlus;
  Maschine->WinkelMinus = -R.WinkelMinus;
  TiefeHinweisSetzen();
}

void TFZeichenform::SchrittweiteSetzen(double x) { Maschine->SchrittweiteSetzen(x); }

void TFZeichenform::TiefeSetzen(int32_t n) {
  Tiefe = n;
  ETiefe->setText(QString::number(n));
  TiefeHinweisSetzen();
}

QString TFZeichenform::TiefeHinweis() const {
  const TRegelsystem* R = Maschine ? Maschine->Regelsystem : nullptr;
  if (!R) return TiefeHinweisText;
  const uint64_t Linien = ZeichenZaehlen(*R, Tiefe, R->Axiom).Linien;
  const QString Anzahl = Linien == UINT64_MAX
                             ? QStringLiteral("mehr als ") + MitTausenderpunkten(Linien)
                             : MitTausenderpunkten(Linien);
  return TiefeHinweisText +
         QStringLiteral("\nErwartete Linien bei Tiefe %1: %2").arg(Tiefe).arg(Anzahl);
}

void TFZeichenform::TiefeHinweisSetzen() { ETiefe->setToolTip(TiefeHinweis()); }

void TFZeichenform::StartXSetzen(double x) {
  StartX = x;
  Ex->setText(Text(KommazahlAlsText(1, x)));
}

void TFZeichenform::StartYSetzen(double y) {
  StartY = y;
  Ey->setText(Text(KommazahlAlsText(1, y)));
}

void TFZeichenform::StartwinkelSetzen(double w) {
  Startwinkel = w;
  EWinkel->setText(Text(KommazahlAlsText(1, w)));
}

void TFZeichenform::StartMarkeZeichnen() {
  TLeinwand& L = *zeichenflaeche->Leinwand;
  const int x = static_cast<int>(Runden(StartX));
  const int y = static_cast<int>(Runden(StartY));
  L.StiftFarbeSetzen(MarkierFarbe);
  L.StiftBreiteSetzen(1);
  L.RastermodusSetzen(TRastermodus::NichtXor);
  L.PinselFarbeSetzen(Weiss);
  L.Bewegen(x, y);
  L.Ellipse(x - 5, y - 5, x + 5, y + 5);
  L.StiftFarbeSetzen(0);
  L.StiftBreiteSetzen(1);
  L.RastermodusSetzen(TRastermodus::Kopieren);
  zeichenflaeche->update(x - 7, y - 7, 15, 15);
}

// ---------------------------------------------------------------- field checks

void TFZeichenform::ETiefeExit() {
  FeldVerlassen(
      this,
      [&] {
        const int32_t Neu = TiefePruefen(Text(ETiefe));
        const bool Anders = Neu != Tiefe;
        TiefeSetzen(Neu);
        if (Anders) NachzeichnenAnstossen();
      },
      [&] { ETiefe->setText(QString::number(Tiefe)); });
}

void TFZeichenform::ESchrittweiteExit() {
  FeldVerlassen(
      this,
      [&] {
        const double Neu = SchrittweitePruefen(Text(ESchrittweite));
        const bool Anders = Neu != Maschine->Schrittweite;
        if (Anders)
          LaufStoeren(QStringLiteral("während eines Laufs wurde die Schrittweite geändert"));
        SchrittweiteSetzen(Neu);
        if (Anders) NachzeichnenAnstossen();
      },
      [&] { SchrittweiteAnzeigen(Maschine->Schrittweite); });
}

void TFZeichenform::ExExit() {
  // A centred start may lie beyond the window; shown unchanged, it is no entry to refuse.
  if (Text(Ex) == KommazahlAlsText(1, StartX)) return;
  FeldVerlassen(
      this,
      [&] {
        const double x = StartXPruefen(Text(Ex), ClientBreite());
        const bool Anders = x != StartX;
        StartMarkeZeichnen();
        StartXSetzen(x);
        StartMarkeZeichnen();
        if (Anders) NachzeichnenAnstossen();
      },
      [&] { StartXSetzen(StartX); });
}

void TFZeichenform::EyExit() {
  if (Text(Ey) == KommazahlAlsText(1, StartY)) return;
  FeldVerlassen(
      this,
      [&] {
        const double y = StartYPruefen(Text(Ey), ClientHoehe());
        const bool Anders = y != StartY;
        StartMarkeZeichnen();
        StartYSetzen(y);
        StartMarkeZeichnen();
        if (Anders) NachzeichnenAnstossen();
      },
      [&] { StartYSetzen(StartY); });
}

void TFZeichenform::EWinkelExit() {
  FeldVerlassen(
      this,
      [&] {
        const double w = StartwinkelPruefen(Text(EWinkel));
        const bool Anders = w != Startwinkel;
        StartwinkelSetzen(w);
        if (Anders) NachzeichnenAnstossen();
      },
      [&] { StartwinkelSetzen(Startwinkel); });
}

// ---------------------------------------------------------------- handlers

void TFZeichenform::BZeichnenClick() {
  // A second start while a run lets messages through is ignored.
  if (Laeuft || Beendet || !Maschine->Regelsystem || SvgWirdGeschrieben) return;
  Laeuft = true;
  Ueberholt = false;
  LaufBeginnen();
  try {
    Maschine->Zeichenlauf(Tiefe, StartX, StartY, Startwinkel);
  } catch (const ETurtleStapel& Fehler) {
    LaufEintragen();
    LaufBeendet();
    // An error of the turtle's stack ends only this run, with a plain message.
    if (!Beendet) MeldungZeigen(std::string(Fehler.what()), this);
    return;
  } catch (const std::exception& Fehler) {
    LaufEintragen();
    LaufBeendet();
    if (!Beendet) FehlerZeigen(Fehler, this);
    return;
  }
  LaufEintragen();
  Laeuft = false;
  zeichenflaeche->update();
}

TFZeichenform::TLaufbedingungen TFZeichenform::Bedingungen() const {
  const TRegelsystem* R = Maschine->Regelsystem;
  return {Zufallsmodus,      Schwundfaktor,        AbweichungPlus,        AbweichungMinus,
          AbweichungSchritt, Maschine->WinkelPlus, Maschine->WinkelMinus, R,
          R ? R->Stand() : 0};
}

void TFZeichenform::LaufBeginnen() {
  Aktueller = TLauf();
  TRezept& Z = Aktueller.Rezept;
  const TRegelsystem& R = *Maschine->Regelsystem;
  EinstellungenErfassen(Z);
  RegelsystemErfassen(Z, R);
  // The turns in force are the window's copies of the angles.
  Z.WinkelPlus = Maschine->WinkelPlus;
  Z.WinkelMinus = -Maschine->WinkelMinus;
  Z.Tiefe = Tiefe;
  Z.StartX = StartX;
  Z.StartY = StartY;
  Z.Startwinkel = Startwinkel;
  Z.Schrittweite = Maschine->Schrittweite;
  Z.Breite = ClientBreite();
  Z.Hoehe = ClientHoehe();
  BedingungenBeimStart = Bedingungen();
  // The file form of a rule system cannot hold every axiom (a line end in it).
  TRegelsystem Probe;
  bool Gleich = false;
  try {
    RegelsystemAusRezept(Z, Probe);
    Gleich = Probe.Axiom == R.Axiom && Probe.Count() == R.Count();
    for (int i = 0; Gleich && i < R.Count(); ++i)
      Gleich = Probe.Items(i).Kopf == R.Items(i).Kopf && Probe.Items(i).Rumpf == R.Items(i).Rumpf;
  } catch (const std::exception&) {
    Gleich = false;
  }
  if (!Gleich)
    Aktueller.Hindernis = QStringLiteral("das Regelsystem lässt sich nicht als Datei festhalten");
}

void TFZeichenform::LaufStoeren(const QString& Grund) {
  if (Laeuft && Aktueller.Hindernis.isEmpty()) Aktueller.Hindernis = Grund;
}

void TFZeichenform::LaufEintragen() {
  // The step the drawing used, fitted or not.
  Aktueller.Rezept.Schrittweite = Maschine->Schrittweite;
  Aktueller.Zeichen = Maschine->Ausgefuehrt;
  BedingungenPruefen();
  Laeufe.push_back(Aktueller);
}

void TFZeichenform::BedingungenPruefen() {
  const TLaufbedingungen Jetzt = Bedingungen();
  if (Jetzt == BedingungenBeimStart) return;
  if (Jetzt.Regeln != BedingungenBeimStart.Regeln || Jetzt.Stand != BedingungenBeimStart.Stand)
    LaufStoeren(QStringLiteral("während eines Laufs wurden die Regeln geändert"));
  else
    LaufStoeren(QStringLiteral("während eines Laufs wurden Einstellungen geändert"));
}

QString TFZeichenform::SvgHindernis() const {
  if (Laeuft) return QStringLiteral("die Zeichnung ist noch nicht fertig");
  for (const TLauf& L : Laeufe)
    if (!L.Hindernis.isEmpty()) return L.Hindernis;
  return QString();
}

void TFZeichenform::LaufBeendet() {
  Laeuft = false;
  AbbrechenZeigen(false);
  ZeichenfeldZeigen(false);
  StringZeigen(false, std::string());
  zeichenflaeche->update();
}

void TFZeichenform::BLoeschenClick() {
  // The picture starts anew: earlier runs are gone, a run under way keeps only its rest.
  Laeufe.clear();
  LaufStoeren(QStringLiteral("„Löschen“ hat einen Lauf unterbrochen"));
  TLeinwand& L = *zeichenflaeche->Leinwand;
  L.PinselFarbeSetzen(Weiss);
  L.RechteckFuellen(0, 0, L.Breite(), L.Hoehe());
  StartMarkeZeichnen();
  zeichenflaeche->update();
}

void TFZeichenform::BAbbrechenClick() {
  Maschine->Abbruch = true;
  AbbrechenZeigen(false);
}

void TFZeichenform::BExtrasClick() {
  const uint32_t SaatVorher = ExtraSaat = Zufallszustand;
  const int Ergebnis = ExtraEinstellungen->exec();
  FokusZurueckgeben(this);
  if (Ergebnis == TExtraEinstellungen::ErgebnisOk) {
    if (ExtraSaat != SaatVorher) {
      // A seed confirmed by the user: the next random drawing starts there.
      LaufStoeren(QStringLiteral("während eines Laufs wurde die Saat geändert"));
      Zufallszustand = NachzeichenSaat = ExtraSaat;
    }
    const bool Anders = Anfangsdicke != ExtraAnfangsdicke || Schwundfaktor != ExtraSchwundfaktor ||
                        AbweichungPlus != ExtraAbweichungPlus ||
                        AbweichungMinus != ExtraAbweichungMinus ||
                        AbweichungSchritt != ExtraAbweichungSchritt ||
                        Zeichenfarbe != ExtraZeichenfarbe || ExtraSaat != SaatVorher;
    Anfangsdicke = ExtraAnfangsdicke;
    Schwundfaktor = ExtraSchwundfaktor;
    AbweichungPlus = ExtraAbweichungPlus;
    AbweichungMinus = ExtraAbweichungMinus;
    AbweichungSchritt = ExtraAbweichungSchritt;
    Zeichenfarbe = ExtraZeichenfarbe;
    if (Anders) NachzeichnenAnstossen();
  } else {
    ExtraAnfangsdicke = Anfangsdicke;
    ExtraSchwundfaktor = Schwundfaktor;
    ExtraAbweichungPlus = AbweichungPlus;
    ExtraAbweichungMinus = AbweichungMinus;
    ExtraAbweichungSchritt = AbweichungSchritt;
    ExtraZeichenfarbe = Zeichenfarbe;
    ExtraSaat = Zufallszustand;
  }
}

void TFZeichenform::NachzeichnenAnstossen() {
  if (!NachzeichnenSofort || Schrittmodus || Beendet) return;
  // A redraw under way is out of date: it stops at its next message pass.
  if (Laeuft) {
    Ueberholt = true;
    Maschine->Abbruch = true;
  }
  Nachzeichenuhr->start();
}

void TFZeichenform::Nachzeichnen() {
  if (!NachzeichnenSofort || Schrittmodus || Beendet || !Maschine->Regelsystem) return;
  // The stopped run is still on its way out, or a picture is being written.
  if (Laeuft || SvgWirdGeschrieben) {
    Nachzeichenuhr->start();
    return;
  }
  TRegelsystem& R = *Maschine->Regelsystem;
  // Angles confirmed in the main window count at once, not only on coming back.
  Maschine->WinkelPlus = R.WinkelPlus;
  Maschine->WinkelMinus = -R.WinkelMinus;
  const bool ZuViele = ZeichenZaehlen(R, Tiefe, R.Axiom).Linien > NachzeichnenGrenze;
  LNachzeichnen->setVisible(ZuViele);
  if (ZuViele) return;
  Zufallszustand = NachzeichenSaat;
  ++Nachzeichnungen;
  BLoeschenClick();
  BZeichnenClick();
}

void TFZeichenform::RegelsystemGeaendert() { NachzeichnenAnstossen(); }

void TFZeichenform::BZwischenablageClick() {
  QApplication::clipboard()->setImage(zeichenflaeche->Bitmap());
}

void TFZeichenform::BBildSpeichernClick() {
  Behandeln(this, [&] {
    const QString Geladen = Regelsystemname ? Regelsystemname() : QString();
    const QString Name =
        Geladen.isEmpty() ? QStringLiteral("Zeichnung") : QFileInfo(Geladen).completeBaseName();
    // Beside the rule system, unless that folder is not the user's to write in
    // (the installed examples).
    if (BildOrdner.isEmpty()) {
      const QString Dort = Geladen.isEmpty() ? QString() : QFileInfo(Geladen).absolutePath();
      BildOrdner = !Dort.isEmpty() && QFileInfo(Dort).isWritable() ? Dort : QDir::currentPath();
    }
    const QString Png = QStringLiteral("PNG-Bild (*.png)"),
                  Svg = QStringLiteral("SVG-Bild (*.svg)");
    QFileDialog Dialog(this, QStringLiteral("Zeichnung speichern"), BildOrdner);
    // Qt's own dialog, so that its texts follow the program's language.
    Dialog.setOption(QFileDialog::DontUseNativeDialog);
    DateisymboleSetzen(&Dialog);
    Dialog.setAcceptMode(QFileDialog::AcceptSave);
    Dialog.setNameFilters({Png, Svg});
    Dialog.setDefaultSuffix(QStringLiteral("png"));
    connect(&Dialog, &QFileDialog::filterSelected, &Dialog, [&](const QString& Filter) {
      Dialog.setDefaultSuffix(Filter == Svg ? QStringLiteral("svg") : QStringLiteral("png"));
    });
    Dialog.selectFile(Name + QStringLiteral(".png"));
    if (DateidialogAusfuehren(&Dialog) != QDialog::Accepted || Dialog.selectedFiles().isEmpty())
      return;
    QString Datei = Dialog.selectedFiles().front();
    BildOrdner = QFileInfo(Datei).absolutePath();
    // A name with another ending gets the one of the chosen type.
    const QString Endung = QFileInfo(Datei).suffix().toLower();
    if (Endung != QLatin1String("png") && Endung != QLatin1String("svg"))
      Datei += Dialog.selectedNameFilter() == Svg ? QStringLiteral(".svg") : QStringLiteral(".png");
    BildSpeichern(Datei);
  });
}

void TFZeichenform::BildSpeichern(const QString& Datei) {
  if (QFileInfo(Datei).suffix().toLower() == QLatin1String("svg")) {
    SvgSchreiben(Datei);
    return;
  }
  // The recipe of the last run; during a run, of the one under way.
  std::string Rezept;
  if (Laeuft)
    Rezept = RezeptAlsText(Aktueller.Rezept);
  else if (!Laeufe.empty())
    Rezept = RezeptAlsText(Laeufe.back().Rezept);
  PngSpeichern(zeichenflaeche->Bitmap(), QFile::encodeName(Datei).toStdString(), Rezept);
}

void TFZeichenform::SvgSchreiben(const QString& Datei) {
  const QString Hindernis = SvgHindernis();
  if (!Hindernis.isEmpty())
    throw std::runtime_error(("Als SVG lässt sich die Zeichnung nicht speichern: " + Hindernis +
                              ".\r\nAls PNG kann sie gespeichert werden.")
                                 .toStdString());
  const QImage& Bild = zeichenflaeche->Bitmap();
  TSvgLeinwand Leinwand(Bild.width(), Bild.height(), QFile::encodeName(Datei).toStdString());
  if (!Laeufe.empty()) Leinwand.MetadatenSetzen(RezeptAlsText(Laeufe.back().Rezept));
  // Deep drawings take a while to write: with a bar, and a way out.
  QProgressDialog Fortschritt(QStringLiteral("Die Zeichnung wird als SVG gespeichert …"),
                              QStringLiteral("Abbrechen"), 0, FortschrittStufen, this);
  Fortschritt.setWindowTitle(AnwendungsTitel);
  Fortschritt.setWindowModality(Qt::WindowModal);
  Fortschritt.setMinimumDuration(500);
  SvgWirdGeschrieben = true;
  struct TEnde {
    bool& Flag;
    ~TEnde() { Flag = false; }
  } Ende{SvgWirdGeschrieben};
  const double Anzahl = static_cast<double>(Laeufe.size());
  for (size_t i = 0; i < Laeufe.size(); ++i) {
    TRezept Rezept = Laeufe[i].Rezept;
    TWiedergabe Wiedergabe;
    Wiedergabe.Zeichengrenze = Laeufe[i].Zeichen;
    Wiedergabe.Weiter = [&](double Anteil) {
      Fortschritt.setValue(
          static_cast<int>((static_cast<double>(i) + Anteil) / Anzahl * FortschrittStufen));
      QCoreApplication::processEvents();
      return !Fortschritt.wasCanceled();
    };
    RezeptZeichnen(Rezept, Leinwand, false, false, {}, &Wiedergabe);
    // Cancelled: the unfinished file is removed, an older one stays.
    if (Fortschritt.wasCanceled()) return;
  }
  Leinwand.Abschliessen();
}

void TFZeichenform::RezeptUebernehmen(const TRezept& Z) {
  Maschine->WinkelPlus = Z.WinkelPlus;
  Maschine->WinkelMinus = -Z.WinkelMinus;
  TiefeSetzen(Z.Tiefe);
  StartMarkeZeichnen();
  StartXSetzen(Z.StartX);
  StartYSetzen(Z.StartY);
  StartMarkeZeichnen();
  StartwinkelSetzen(Z.Startwinkel);
  SchrittweiteSetzen(Z.Schrittweite);
  // A step fitted to a surface of another size would come out differently here:
  // the picture's own step is kept then.
  SchrittweiteAnpassen =
      Z.SchrittweiteAnpassen && Z.Breite == ClientBreite() && Z.Hoehe == ClientHoehe();
  Schrittmodus = Z.Schrittmodus;
  Zufallsmodus = Z.Zufallsmodus;
  // Likewise the picture's own start stands for its centring on another surface.
  Zentriert = Z.Zentriert && Z.Breite == ClientBreite() && Z.Hoehe == ClientHoehe();
  RGSchrittweite->ItemIndexSetzen(SchrittweiteAnpassen ? 1 : 0);
  RGSchrittModus->ItemIndexSetzen(Schrittmodus ? 1 : 0);
  RGZufallsModus->ItemIndexSetzen(Zufallsmodus ? 1 : 0);
  RGLage->ItemIndexSetzen(Zentriert ? 1 : 0);
  if (!Schrittmodus) EZeichen->hide();
  Anfangsdicke = ExtraAnfangsdicke = Z.Anfangsdicke;
  Schwundfaktor = ExtraSchwundfaktor = Z.Schwundfaktor;
  AbweichungPlus = ExtraAbweichungPlus = Z.AbweichungPlus;
  AbweichungMinus = ExtraAbweichungMinus = Z.AbweichungMinus;
  AbweichungSchritt = ExtraAbweichungSchritt = Z.AbweichungSchritt;
  Zeichenfarbe = ExtraZeichenfarbe = Z.Zeichenfarbe;
  Zufallszustand = NachzeichenSaat = Z.Zufallszustand;
}

void TFZeichenform::RGSchrittModusClick(int Index) {
  const bool Anders = Schrittmodus != (Index != 0);
  Schrittmodus = Index != 0;
  if (Index == 0) EZeichen->hide();
  if (Anders) NachzeichnenAnstossen();
}

void TFZeichenform::RGSchrittweiteClick(int Index) {
  const bool Anders = SchrittweiteAnpassen != (Index != 0);
  SchrittweiteAnpassen = Index != 0;
  if (Anders) NachzeichnenAnstossen();
}

void TFZeichenform::RGZufallsModusClick(int Index) {
  const bool Anders = Zufallsmodus != (Index != 0);
  Zufallsmodus = Index != 0;
  if (Anders) NachzeichnenAnstossen();
}

void TFZeichenform::RGNachzeichnenClick(int Index) {
  if (NachzeichnenSofort == (Index != 0)) return;
  NachzeichnenSofort = Index != 0;
  // Every redraw starts the generator where it stands now, so that a random
  // plant keeps its shape while the user changes angles and rules.
  NachzeichenSaat = Zufallszustand;
  if (NachzeichnenSofort)
    NachzeichnenAnstossen();
  else
    LNachzeichnen->hide();
}

void TFZeichenform::RGLageClick(int Index) {
  const bool Anders = Zentriert != (Index != 0);
  Zentriert = Index != 0;
  if (Anders) NachzeichnenAnstossen();
}

void TFZeichenform::RGTurtleZeigenClick(int Index) {
  Turtle->Zeigen(Index == 0);
  zeichenflaeche->update();
}

void TFZeichenform::zeichenflaecheMouseDown(Qt::MouseButtons Knoepfe, int X, int Y) {
  if (!(Knoepfe & (Qt::LeftButton | Qt::RightButton))) return;
  StartMarkeZeichnen();
  StartXSetzen(X);
  StartYSetzen(Y);
  StartMarkeZeichnen();
  NachzeichnenAnstossen();
}

void TFZeichenform::FormActivate() {
  if (TRegelsystem* R = Maschine->Regelsystem) {
    Maschine->WinkelPlus = R->WinkelPlus;
    Maschine->WinkelMinus = -R->WinkelMinus;
  }
  TiefeHinweisSetzen();
  if (Turtle && Turtle->Sichtbar) {
    Turtle->SymbolZeichnen();
    zeichenflaeche->update();
  }
}

bool TFZeichenform::event(QEvent* E) {
  if (EigeneAktivierung(this, E)) FormActivate();
  return QWidget::event(E);
}

bool TFZeichenform::eventFilter(QObject* Objekt, QEvent* E) {
  // The rules may have changed in the main window since the last update.
  if (Objekt == ETiefe && E->type() == QEvent::ToolTip) TiefeHinweisSetzen();
  return QWidget::eventFilter(Objekt, E);
}

void TFZeichenform::closeEvent(QCloseEvent* E) {
  E->accept();
  hide();
}

void TFZeichenform::ZeichnungBeenden() {
  Beendet = true;
  Maschine->Abbruch = true;
  if (WeiterBox && WeiterBox->isVisible()) WeiterBox->done(TWeiterBox::ErgebnisAbbrechen);
}

// ---------------------------------------------------------------- engine's window

void TFZeichenform::NachrichtenVerarbeiten() {
  // The engine clears Abbruch when a drawing follows a stopped fitting; once the
  // program ends, every message pass stops the run again.
  if (Beendet || Ueberholt) {
    Maschine->Abbruch = true;
    return;
  }
  zeichenflaeche->update();
  QCoreApplication::processEvents();
  // Handlers that ran just now may have changed what the rest of the run reads.
  if (Laeuft) BedingungenPruefen();
}

void TFZeichenform::AbbrechenZeigen(bool An) {
  BAbbrechen->setDown(false);
  BAbbrechen->setVisible(An);
  BAbbrechen->setEnabled(An);
  PBFortschritt->setVisible(An);
}

void TFZeichenform::FortschrittSetzen(double Anteil) {
  // Called only at message passes, so the bar's repaint costs the drawing nothing.
  PBFortschritt->setValue(
      static_cast<int>(std::lround(std::clamp(Anteil, 0.0, 1.0) * FortschrittStufen)));
}

void TFZeichenform::StringMarkieren(size_t Position) {
  if (!EString->isVisible()) return;
  // Selecting puts the cursor after the character, which scrolls it into view.
  EString->setSelection(static_cast<int>(Position), 1);
}

bool TFZeichenform::WeiterFragen() {
  if (Beendet) return false;
  zeichenflaeche->update();
  return WeiterBox->exec() == TWeiterBox::ErgebnisOk && !Beendet;
}

void TFZeichenform::WeiterBoxPlatzieren() {
  const QPoint Ursprung = mapToGlobal(QPoint(0, 0));
  WeiterBox->move(Ursprung.x() + PBedienung->width() + 2,
                  Ursprung.y() + EString->y() + EString->height() + 2);
}

void TFZeichenform::ZeichenSetzen(const std::string& Text) { EZeichen->setText(AusCp1252(Text)); }

void TFZeichenform::ZeichenfeldZeigen(bool An) { EZeichen->setVisible(An); }

void TFZeichenform::StringZeigen(bool An, const std::string& Text) {
  if (An) EString->setText(AusCp1252(Text));
  EString->setVisible(An);
}

void TFZeichenform::StartGesetzt(double X, double Y) {
  // The centred start: fields and marker show where the drawing begins.
  StartMarkeZeichnen();
  StartXSetzen(X);
  StartYSetzen(Y);
  StartMarkeZeichnen();
  Aktueller.Rezept.StartX = X;
  Aktueller.Rezept.StartY = Y;
}

void TFZeichenform::SchrittweiteAnzeigen(double Schrittweite) {
  ESchrittweite->setText(Text(KommazahlAlsText(3, Schrittweite)));
}

void TFZeichenform::Meldung(const std::string& Text) {
  // A redraw that a newer change overtook says nothing any more.
  if (!Beendet && !Ueberholt) MeldungZeigen(Text, this);
}

int TFZeichenform::ClientBreite() const { return width(); }

int TFZeichenform::ClientHoehe() const { return height(); }

// ---------------------------------------------------------------- unit level

namespace {

// Stops a running drawing as soon as the application is asked to quit, so that
// the handler that runs it returns and the event loop can end.
class TQuitWaechter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* Objekt, QEvent* E) override {
    if (Objekt == qApp && E->type() == QEvent::Quit) ZeichnungBeenden();
    return false;
  }
};

}  // namespace

void ZeichenfensterErzeugen() {
  FZeichenform = new TFZeichenform;
  WeiterBox = new TWeiterBox(FZeichenform);
  ExtraEinstellungen = new TExtraEinstellungen(FZeichenform);
  qApp->installEventFilter(new TQuitWaechter(FZeichenform));
}

void ZeichnungBeenden() {
  if (FZeichenform) FZeichenform->ZeichnungBeenden();
}
