#include "drawing/LSystemZeichnen.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cmath>

#include "drawing/Extras.h"
#include "drawing/Feldpruefung.h"
#include "drawing/Fensterhilfen.h"
#include "drawing/UnitWeiter.h"
#include "drawing/Zeichenzahl.h"
#include "gui/Dialoge.h"
#include "helpers/Hilfen.h"
#include "rules/Regelsystem.h"
#include "turtle/BildLeinwand.h"
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

QFont Schrift(int Pixel, bool Fett) {
  QFont F(QStringLiteral("Sans Serif"));
  F.setPixelSize(Pixel);
  F.setBold(Fett);
  return F;
}

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
  PBedienung->setGeometry(0, 0, 111, 577);
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

  RGSchrittModus = new TRadioGruppe(QStringLiteral("&Schrittmodus"), QStringLiteral("schnell"),
                                    QStringLiteral("schrittweise"), PBedienung);
  RGSchrittModus->setGeometry(7, 267, 98, 52);
  RGSchrittModus->setToolTip(QStringLiteral("Hier Einzelschritt oder ganzes Bild wählen"));
  RGSchrittweite = new TRadioGruppe(QStringLiteral("Schrittweite"), QStringLiteral("absolut"),
                                    QStringLiteral("anpassen"), PBedienung);
  RGSchrittweite->setGeometry(7, 325, 98, 53);
  RGSchrittweite->setToolTip(
      QStringLiteral("Hier angeben, ob die Schrittweite automatisch an die Größe des "
                     "Fensters angepaßt werden soll"));
  RGZufallsModus = new TRadioGruppe(QStringLiteral("&ZufallsModus"), QStringLiteral("exakt"),
                                    QStringLiteral("Zufall"), PBedienung);
  RGZufallsModus->setGeometry(7, 384, 98, 59);
  RGZufallsModus->setToolTip(
      QStringLiteral("Hie wählen, ob zufällige Schwankungen beim Zeichnen berücksichtigt "
                     "werden sollen. "));
  RGTurtleZeigen = new TRadioGruppe(QStringLiteral("Turtle Zeigen"), QStringLiteral("zeigen"),
                                    QStringLiteral("verstecken"), PBedienung);
  RGTurtleZeigen->setGeometry(7, 449, 98, 52);
  RGTurtleZeigen->setToolTip(
      QStringLiteral("Einstellen, ob die Turtle als Symbol sichtbar sein soll"));

  BExtras = Knopf(QStringLiteral("Extra Einstellungen"), PBedienung, 7, 507, 98, 27,
                  QStringLiteral("Einstellungen von Zufallsabweichungen, Zeichendicke, Schwund "
                                 "von Dicken bei Verzweigungen und Zeichenfarbe"));
  BExtras->setFont(Normal);
  BZwischenablage = Knopf(QStringLiteral("In Zwischenablage"), PBedienung, 7, 539, 98, 27,
                          QStringLiteral("Bild in die Zwischneablage kopieren"));
  BZwischenablage->setFont(Normal);

  EZeichen = Feld(this, 546, 39, 33, 28, QString());
  EZeichen->setFont(Schrift(16, true));
  EZeichen->setEnabled(false);
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
                            BExtras,
                            BZwischenablage,
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

  connect(BZeichnen, &QPushButton::clicked, this, &TFZeichenform::BZeichnenClick);
  connect(BLoeschen, &QPushButton::clicked, this, &TFZeichenform::BLoeschenClick);
  connect(BAbbrechen, &QPushButton::clicked, this, &TFZeichenform::BAbbrechenClick);
  connect(BExtras, &QPushButton::clicked, this, &TFZeichenform::BExtrasClick);
  connect(BZwischenablage, &QPushButton::clicked, this, &TFZeichenform::BZwischenablageClick);
  connect(ETiefe, &TEingabefeld::Verlassen, this, &TFZeichenform::ETiefeExit);
  connect(ESchrittweite, &TEingabefeld::Verlassen, this, &TFZeichenform::ESchrittweiteExit);
  connect(Ex, &TEingabefeld::Verlassen, this, &TFZeichenform::ExExit);
  connect(Ey, &TEingabefeld::Verlassen, this, &TFZeichenform::EyExit);
  connect(EWinkel, &TEingabefeld::Verlassen, this, &TFZeichenform::EWinkelExit);
  connect(RGSchrittModus, &TRadioGruppe::Geklickt, this, &TFZeichenform::RGSchrittModusClick);
  connect(RGSchrittweite, &TRadioGruppe::Geklickt, this, &TFZeichenform::RGSchrittweiteClick);
  connect(RGZufallsModus, &TRadioGruppe::Geklickt, this, &TFZeichenform::RGZufallsModusClick);
  connect(RGTurtleZeigen, &TRadioGruppe::Geklickt, this, &TFZeichenform::RGTurtleZeigenClick);
  connect(zeichenflaeche, &TZeichenflaeche::MouseDown, this,
          &TFZeichenform::zeichenflaecheMouseDown);
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
      this, [&] { TiefeSetzen(TiefePruefen(Text(ETiefe))); },
      [&] { ETiefe->setText(QString::number(Tiefe)); });
}

void TFZeichenform::ESchrittweiteExit() {
  FeldVerlassen(
      this, [&] { SchrittweiteSetzen(SchrittweitePruefen(Text(ESchrittweite))); },
      [&] { SchrittweiteAnzeigen(Maschine->Schrittweite); });
}

void TFZeichenform::ExExit() {
  FeldVerlassen(
      this,
      [&] {
        const double x = StartXPruefen(Text(Ex), ClientBreite());
        StartMarkeZeichnen();
        StartXSetzen(x);
        StartMarkeZeichnen();
      },
      [&] { StartXSetzen(StartX); });
}

void TFZeichenform::EyExit() {
  FeldVerlassen(
      this,
      [&] {
        const double y = StartYPruefen(Text(Ey), ClientHoehe());
        StartMarkeZeichnen();
        StartYSetzen(y);
        StartMarkeZeichnen();
      },
      [&] { StartYSetzen(StartY); });
}

void TFZeichenform::EWinkelExit() {
  FeldVerlassen(
      this, [&] { StartwinkelSetzen(StartwinkelPruefen(Text(EWinkel))); },
      [&] { StartwinkelSetzen(Startwinkel); });
}

// ---------------------------------------------------------------- handlers

void TFZeichenform::BZeichnenClick() {
  // A second start while a run lets messages through is ignored.
  if (Laeuft || Beendet || !Maschine->Regelsystem) return;
  Laeuft = true;
  try {
    Maschine->Zeichenlauf(Tiefe, StartX, StartY, Startwinkel);
  } catch (const ETurtleStapel& Fehler) {
    LaufBeendet();
    // An error of the turtle's stack ends only this run, with a plain message.
    if (!Beendet) MeldungZeigen(std::string(Fehler.what()), this);
    return;
  } catch (const std::exception& Fehler) {
    LaufBeendet();
    if (!Beendet) FehlerZeigen(Fehler, this);
    return;
  }
  Laeuft = false;
  zeichenflaeche->update();
}

void TFZeichenform::LaufBeendet() {
  Laeuft = false;
  AbbrechenZeigen(false);
  ZeichenfeldZeigen(false);
  StringZeigen(false, std::string());
  zeichenflaeche->update();
}

void TFZeichenform::BLoeschenClick() {
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
  if (ExtraEinstellungen->exec() == TExtraEinstellungen::ErgebnisOk) {
    Anfangsdicke = ExtraAnfangsdicke;
    Schwundfaktor = ExtraSchwundfaktor;
    AbweichungPlus = ExtraAbweichungPlus;
    AbweichungMinus = ExtraAbweichungMinus;
    AbweichungSchritt = ExtraAbweichungSchritt;
    Zeichenfarbe = ExtraZeichenfarbe;
  } else {
    ExtraAnfangsdicke = Anfangsdicke;
    ExtraSchwundfaktor = Schwundfaktor;
    ExtraAbweichungPlus = AbweichungPlus;
    ExtraAbweichungMinus = AbweichungMinus;
    ExtraAbweichungSchritt = AbweichungSchritt;
    ExtraZeichenfarbe = Zeichenfarbe;
  }
}

void TFZeichenform::BZwischenablageClick() {
  QApplication::clipboard()->setImage(zeichenflaeche->Bitmap());
}

void TFZeichenform::RGSchrittModusClick(int Index) {
  Schrittmodus = Index != 0;
  if (Index == 0) EZeichen->hide();
}

void TFZeichenform::RGSchrittweiteClick(int Index) { SchrittweiteAnpassen = Index != 0; }

void TFZeichenform::RGZufallsModusClick(int Index) { Zufallsmodus = Index != 0; }

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
  if (Beendet) {
    Maschine->Abbruch = true;
    return;
  }
  zeichenflaeche->update();
  QCoreApplication::processEvents();
}

void TFZeichenform::AbbrechenZeigen(bool An) {
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

void TFZeichenform::SchrittweiteAnzeigen(double Schrittweite) {
  ESchrittweite->setText(Text(KommazahlAlsText(3, Schrittweite)));
}

void TFZeichenform::Meldung(const std::string& Text) {
  if (!Beendet) MeldungZeigen(Text, this);
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
