#include "drawing/LSystemZeichnen.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "drawing/Bildspeichern.h"
#include "drawing/Extras.h"
#include "drawing/Lupe.h"
#include "drawing/Speicherung.h"
#include "drawing/UnitWeiter.h"
#include "drawing/Wachstum.h"
#include "engine/Feldpruefung.h"
#include "engine/Rezeptfelder.h"
#include "engine/Zeichenzahl.h"
#include "gui/Aktivierung.h"
#include "gui/Beschriftung.h"
#include "gui/Dialoge.h"
#include "gui/Eingabefeld.h"
#include "gui/Klicks.h"
#include "gui/Kuerzel.h"
#include "gui/Radiogruppe.h"
#include "helpers/Hilfen.h"
#include "pictures/BildLeinwand.h"
#include "pictures/Hintergrundzeichner.h"
#include "rules/Regelsystem.h"
#include "turtle/turtleUnit.h"

TFZeichenform* FZeichenform = nullptr;

namespace {

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

}  // namespace

TFZeichenform::TFZeichenform(QWidget* Eltern) : QWidget(Eltern, Qt::Window) {
  SteuerelementeAnlegen();

  // Turtle on the surface, engine on turtle and window.
  Schildkroete = std::make_unique<TTurtle>(zeichenflaeche->Leinwand());
  TLaufbeobachter& Beobachter = *this;
  Engine = std::make_unique<TZeichenmaschine>(*Schildkroete, Beobachter);
  Schildkroete->FarbeSetzen(Einstellungen.Zeichenfarbe);
  Schildkroete->SymbolGroesseSetzen(15.0);
  Schildkroete->Grundstellung();
  Bildspeicher = std::make_unique<TBildspeicher>(
      this, [this]() -> const QImage& { return zeichenflaeche->Bitmap(); }, Laufprotokoll);
  Bildspeicher->Regelsystemname = [this] {
    return Regelsystemname ? Regelsystemname() : QString();
  };
  TNachzeichenfenster& Nachzeichenfenster = *this;
  Nachzeichner = new TNachzeichner(Nachzeichenfenster, LNachzeichnen, this);
  // A live redraw clears the surface: it waits until a picture of it is saved.
  connect(&Bildspeicher->Speicherung(), &TSpeicherung::Beendet, Nachzeichner,
          &TNachzeichner::LaufVorbei);

  StartXSetzen(Schildkroete->X);
  StartYSetzen(height());
  StartwinkelSetzen(90.0);
  SchrittweiteSetzen(StartSchrittweite);
  TiefeSetzen(StartTiefe);
  EigeneStartX = Vorgabe.StartX;
  EigeneStartY = Vorgabe.StartY;
  StartMarkeZeichnen();

  GruppenZeigen();

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
  connect(zeichenflaeche, &TZeichenflaeche::Rad, this, &TFZeichenform::zeichenflaecheRad);
  KlicksBewahren(this);
  KuerzelEindeutigMachen(this);
  BeschriftungenEinpassen(this);
}

// The engine refers to the turtle, the turtle to the surface's canvas.
TFZeichenform::~TFZeichenform() {
  Engine.reset();
  Schildkroete.reset();
}

void TFZeichenform::RegelsystemUebergeben(TRegelsystem& R) {
  Regeln = &R;
  WinkelUebernehmen();
  TiefeHinweisSetzen();
}

void TFZeichenform::WinkelUebernehmen() {
  if (!Regeln) return;
  Vorgabe.WinkelPlus = Regeln->WinkelPlus;
  Vorgabe.WinkelMinus = Regeln->WinkelMinus;
  Engine->WinkelSetzen(Vorgabe.WinkelPlus, Vorgabe.WinkelMinus);
}

std::shared_ptr<const TRegelstand> TFZeichenform::Regelstand() const {
  if (!Regeln) return nullptr;
  auto Von = std::make_tuple(static_cast<const TRegelsystem*>(Regeln), Regeln->Stand(),
                             Regeln->Axiom, Regeln->WinkelPlus, Regeln->WinkelMinus);
  if (!Schnappschuss || Von != SchnappschussVon) {
    Schnappschuss = TRegelstand::Aus(*Regeln);
    SchnappschussVon = std::move(Von);
  }
  return Schnappschuss;
}

void TFZeichenform::RegelsystemGeaendert() { Nachzeichner->Anstossen(); }

void TFZeichenform::SchrittweiteSetzen(double x) {
  Vorgabe.Schrittweite = x;
  Engine->SchrittweiteSetzen(x);
  SchrittweiteAnzeigen(x);
  EigeneSchrittweite = x;
}

void TFZeichenform::TiefeSetzen(int32_t n) {
  Vorgabe.Tiefe = n;
  ETiefe->setText(QString::number(n));
  TiefeHinweisSetzen();
}

QString TFZeichenform::TiefeHinweis() const {
  const TRegelsystem* R = Regeln;
  if (!R) return TiefeHinweisText;
  const uint64_t Linien =
      LaufZaehlen(TErsetzungen(*R), Vorgabe.Tiefe, R->Axiom, Einstellungen).Linien;
  const QString Anzahl = Linien == UINT64_MAX
                             ? QStringLiteral("mehr als ") + MitTausenderpunkten(Linien)
                             : MitTausenderpunkten(Linien);
  return TiefeHinweisText +
         QStringLiteral("\nErwartete Linien bei Tiefe %1: %2").arg(Vorgabe.Tiefe).arg(Anzahl);
}

void TFZeichenform::TiefeHinweisSetzen() { ETiefe->setToolTip(TiefeHinweis()); }

void TFZeichenform::StartXSetzen(double x) {
  Vorgabe.StartX = x;
  Ex->setText(Text(KommazahlAlsText(1, x)));
}

void TFZeichenform::StartYSetzen(double y) {
  Vorgabe.StartY = y;
  Ey->setText(Text(KommazahlAlsText(1, y)));
}

void TFZeichenform::StartwinkelSetzen(double w) {
  Vorgabe.Startwinkel = w;
  EWinkel->setText(Text(KommazahlAlsText(1, w)));
}

void TFZeichenform::StartMarkeZeichnen() {
  TLeinwand& L = zeichenflaeche->Leinwand();
  const int x = static_cast<int>(Runden(Vorgabe.StartX));
  const int y = static_cast<int>(Runden(Vorgabe.StartY));
  L.StiftFarbeSetzen(MarkierFarbe);
  L.StiftBreiteSetzen(1);
  L.RastermodusSetzen(TRastermodus::NichtXor);
  L.PinselFarbeSetzen(0xFFFFFF);
  L.Bewegen(x, y);
  L.Ellipse(x - 5, y - 5, x + 5, y + 5);
  L.StiftFarbeSetzen(0);
  L.StiftBreiteSetzen(1);
  L.RastermodusSetzen(TRastermodus::Kopieren);
  zeichenflaeche->update(x - 7, y - 7, 15, 15);
}

// The marker moves with the start: erased at the old place, drawn at the new.
void TFZeichenform::StartVersetzen(double X, double Y) {
  StartMarkeZeichnen();
  StartXSetzen(X);
  StartYSetzen(Y);
  StartMarkeZeichnen();
}

// ---------------------------------------------------------------- field checks

void TFZeichenform::ETiefeExit() {
  FeldVerlassen(
      this, [&] { TiefeSetzen(TiefePruefen(Text(ETiefe))); },
      [&] { ETiefe->setText(QString::number(Vorgabe.Tiefe)); });
}

void TFZeichenform::ESchrittweiteExit() {
  FeldVerlassen(
      this,
      [&] {
        const double Neu = SchrittweitePruefen(Text(ESchrittweite));
        if (Neu != Engine->Schrittweite())
          Laufprotokoll.Stoeren("während eines Laufs wurde die Schrittweite geändert");
        SchrittweiteSetzen(Neu);
      },
      [&] { SchrittweiteAnzeigen(Vorgabe.Schrittweite); });
}

void TFZeichenform::ExExit() {
  // A centred start may lie beyond the window; shown unchanged, it is no entry to refuse.
  if (Text(Ex) == KommazahlAlsText(1, Vorgabe.StartX)) return;
  FeldVerlassen(
      this,
      [&] {
        EigeneStartX = StartXPruefen(Text(Ex), ClientBreite());
        StartVersetzen(EigeneStartX, Vorgabe.StartY);
      },
      [&] { StartXSetzen(Vorgabe.StartX); });
}

void TFZeichenform::EyExit() {
  if (Text(Ey) == KommazahlAlsText(1, Vorgabe.StartY)) return;
  FeldVerlassen(
      this,
      [&] {
        EigeneStartY = StartYPruefen(Text(Ey), ClientHoehe());
        StartVersetzen(Vorgabe.StartX, EigeneStartY);
      },
      [&] { StartYSetzen(Vorgabe.StartY); });
}

void TFZeichenform::EWinkelExit() {
  FeldVerlassen(
      this, [&] { StartwinkelSetzen(StartwinkelPruefen(Text(EWinkel))); },
      [&] { StartwinkelSetzen(Vorgabe.Startwinkel); });
}

// ---------------------------------------------------------------- the run

void TFZeichenform::BZeichnenClick() { Zeichnen(false); }

void TFZeichenform::Zeichnen(bool Neu) {
  // A second start while a run lets messages through is ignored.
  if (Laeuft || Beendet || !Regeln) return;
  Laeuft = true;
  Nachzeichnung = Neu;
  Nachzeichner->LaufBeginnt();
  QString Fehlertext;
  bool Stapel = false;
  try {
    Zeichenlauf();
  } catch (const ETurtleStapel& Fehler) {
    // An error of the turtle's stack ends only this run, with a plain message.
    Fehlertext = QString::fromUtf8(Fehler.what());
    Stapel = true;
  } catch (const std::exception& Fehler) {
    Fehlertext = FehlertextMitPunkt(QString::fromUtf8(Fehler.what()));
  }
  Laeuft = false;
  if (!Fehlertext.isEmpty()) {
    LaufBeendet();
    LaufmeldungZeigen(Fehlertext, Stapel ? TMeldungsart::Hinweis : TMeldungsart::Fehler);
  }
  Nachzeichnung = false;
  zeichenflaeche->update();
  LaeufeGeaendert();
  Nachzeichner->LaufVorbei();
}

TLauf TFZeichenform::LaufJetzt() const {
  TLauf L = Vorgabe;
  L.Regeln = Regelstand();
  L.Einstellungen = Einstellungen;
  L.Breite = ClientBreite();
  L.Hoehe = ClientHoehe();
  return L;
}

void TFZeichenform::Zeichenlauf() {
  TLauf L = LaufJetzt();
  // The background belongs to the surface: set when it was last cleared, and
  // so recorded in its pictures' recipes.
  L.Einstellungen.Hintergrund = zeichenflaeche->Grundfarbe();
  // The file form of a rule system cannot hold every axiom (a line end in it).
  const bool Genau = L.Regeln->TextGenau();
  BeimStart = L;
  RegelnBeimStart = Regeln;
  RegelstandBeimStart = Regeln->Stand();
  Laufprotokoll.Beginnen(L);
  if (!Genau) Laufprotokoll.Stoeren("das Regelsystem lässt sich nicht als Datei festhalten");
  struct TEnde {
    TFZeichenform& F;
    ~TEnde() {
      F.BedingungenPruefen();
      F.Laufprotokoll.Beenden(F.Engine->Ausgefuehrt(), F.Engine->Schrittweite());
      // Where the generator ended is where the next run goes on, unless the
      // user set another seed meanwhile or every redraw is to start alike.
      if (!F.Nachzeichner->Sofort() && Einstellungen.Saat == F.BeimStart.Einstellungen.Saat)
        Einstellungen.Saat = F.Engine->Zufallszustand();
    }
  } Ende{*this};
  if (!Einstellungen.Schrittmodus) EZeichen->hide();
  TLaufart Art;
  Art.Regelsystem = Regeln;
  Art.Einstellungen = &Einstellungen;
  if (Nachzeichnung) Art.Arbeitsgrenze = Nachzeichengrenze;
  Engine->Zeichenlauf(L, Art);
}

void TFZeichenform::BedingungenPruefen() {
  if (Regeln != RegelnBeimStart || !Regeln || Regeln->Stand() != RegelstandBeimStart)
    Laufprotokoll.Stoeren("während eines Laufs wurden die Regeln geändert");
  else if (!ImLaufGleich(Einstellungen, BeimStart.Einstellungen) ||
           Vorgabe.WinkelPlus != BeimStart.WinkelPlus ||
           Vorgabe.WinkelMinus != BeimStart.WinkelMinus)
    Laufprotokoll.Stoeren("während eines Laufs wurden Einstellungen geändert");
}

void TFZeichenform::LaufBeendet() {
  AbbrechenZeigen(false);
  SchrittmodusEndet();
}

void TFZeichenform::LaufmeldungZeigen(const QString& Text, TMeldungsart Art) {
  // A redraw that a newer change overtook, or the program's end, says nothing any more.
  if (Beendet || Nachzeichner->Ueberholt()) return;
  if (Nachzeichnung) {
    LNachzeichnen->setText(Text);
    LNachzeichnen->adjustSize();
    LNachzeichnen->show();
  } else if (Art == TMeldungsart::Fehler) {
    FehlerZeigen(std::runtime_error(Text.toStdString()), this);
  } else {
    MeldungZeigen(Text, this);
  }
}

// ---------------------------------------------------------------- other handlers

void TFZeichenform::BLoeschenClick() {
  // The picture starts anew: earlier runs are gone, a run under way keeps only its rest.
  Laufprotokoll.Leeren();
  Bildspeicher->Unterbrechen(QStringLiteral("„Löschen“ hat das Speichern abgebrochen"));
  zeichenflaeche->Leeren();
  StartMarkeZeichnen();
  LaeufeGeaendert();
}

void TFZeichenform::BAbbrechenClick() {
  Engine->Abbrechen();
  AbbrechenZeigen(false);
}

void TFZeichenform::BExtrasClick() {
  ExtraWerte = Einstellungen;
  const int Ergebnis = ExtraEinstellungen->exec();
  FokusZurueckgeben(this);
  if (Ergebnis == TExtraEinstellungen::ErgebnisOk)
    Einstellungen = ExtraWerte;
  else
    ExtraWerte = Einstellungen;
}

void TFZeichenform::BZwischenablageClick() {
  QApplication::clipboard()->setImage(zeichenflaeche->Bitmap());
}

void TFZeichenform::BBildSpeichernClick() { Bildspeicher->Fragen(); }

void TFZeichenform::BildSpeichern(const QString& Datei) { Bildspeicher->Speichern(Datei); }

void TFZeichenform::RezeptUebernehmen(const TLauf& Z) {
  Vorgabe.WinkelPlus = Z.WinkelPlus;
  Vorgabe.WinkelMinus = Z.WinkelMinus;
  Engine->WinkelSetzen(Z.WinkelPlus, Z.WinkelMinus);
  TiefeSetzen(Z.Tiefe);
  StartVersetzen(Z.StartX, Z.StartY);
  EigeneStartX = Z.StartX;
  EigeneStartY = Z.StartY;
  StartwinkelSetzen(Z.Startwinkel);
  SchrittweiteSetzen(Z.Schrittweite);
  TEinstellungen Neu = Z.Einstellungen;
  // A step fitted or a start centred on a surface of another size would come
  // out differently here: the picture's own are kept then.
  const bool Gleiche = Z.Breite == ClientBreite() && Z.Hoehe == ClientHoehe();
  Neu.SchrittweiteAnpassen = Z.Einstellungen.SchrittweiteAnpassen && Gleiche;
  Neu.Zentriert = Z.Einstellungen.Zentriert && Gleiche;
  Einstellungen = ExtraWerte = Neu;
  GruppenZeigen();
  LaeufeGeaendert();
  if (EinstellungenGeaendert) EinstellungenGeaendert();
  if (!Neu.Schrittmodus) EZeichen->hide();
  Nachzeichner->Anstossen();
  // A picture of the magnifier opens it on its view.
  if (Z.Ausschnitt) LupeOeffnen(AnsichtAus(*Z.Ausschnitt, Z.Breite));
}

void TFZeichenform::RGSchrittModusClick(int Index) {
  Einstellungen.Schrittmodus = Index != 0;
  if (Index == 0) EZeichen->hide();
  // Step mode never redraws by itself: a note about redraws is out of place there.
  if (Index != 0) LNachzeichnen->hide();
}

void TFZeichenform::RGSchrittweiteClick(int Index) {
  Einstellungen.SchrittweiteAnpassen = Index != 0;
}

void TFZeichenform::RGZufallsModusClick(int Index) { Einstellungen.Zufallsmodus = Index != 0; }

void TFZeichenform::RGNachzeichnenClick(int Index) { Nachzeichner->SofortSetzen(Index != 0); }

void TFZeichenform::RGLageClick(int Index) { Einstellungen.Zentriert = Index != 0; }

void TFZeichenform::RGTurtleZeigenClick(int Index) {
  Schildkroete->Zeigen(Index == 0);
  zeichenflaeche->update();
}

void TFZeichenform::zeichenflaecheMouseDown(Qt::MouseButtons Knoepfe, int X, int Y) {
  if (!(Knoepfe & (Qt::LeftButton | Qt::RightButton))) return;
  EigeneStartX = X;
  EigeneStartY = Y;
  StartVersetzen(X, Y);
}

void TFZeichenform::FormActivate() {
  WinkelUebernehmen();
  TiefeHinweisSetzen();
  if (Schildkroete && Schildkroete->Sichtbar) {
    Schildkroete->SymbolZeichnen();
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
  Engine->Abbrechen();
  Nachzeichner->Beenden();
  if (WeiterBox && WeiterBox->isVisible()) WeiterBox->done(TWeiterBox::ErgebnisAbbrechen);
}

// ---------------------------------------------------------------- the run shown

bool TFZeichenform::Weiter() {
  // Once the program ends or a newer change overtook the run, every pass stops
  // it again (a drawing that follows a stopped fitting starts anew).
  if (Beendet || Nachzeichner->Ueberholt()) return false;
  zeichenflaeche->update();
  QCoreApplication::processEvents();
  // Handlers that ran just now may have changed what the rest of the run reads.
  if (Laeuft) BedingungenPruefen();
  return true;
}

void TFZeichenform::AbbrechenZeigen(bool An) {
  BAbbrechen->setDown(false);
  BAbbrechen->setVisible(An);
  BAbbrechen->setEnabled(An);
  PBFortschritt->setVisible(An);
}

void TFZeichenform::Unterbrechbar(bool An) { AbbrechenZeigen(An); }

void TFZeichenform::Fortschritt(double Anteil) {
  // Called only at message passes, so the bar's repaint costs the drawing nothing.
  PBFortschritt->setValue(
      static_cast<int>(std::lround(std::clamp(Anteil, 0.0, 1.0) * FortschrittStufen)));
}

bool TFZeichenform::WeiterFragen() {
  if (Beendet) return false;
  zeichenflaeche->update();
  return WeiterBox->exec() == TWeiterBox::ErgebnisOk && !Beendet;
}

void TFZeichenform::SchrittmodusBeginnt(const std::string* Zeichenfolge) {
  const QPoint Ursprung = mapToGlobal(QPoint(0, 0));
  WeiterBox->move(Ursprung.x() + PBedienung->width() + 2,
                  Ursprung.y() + EString->y() + EString->height() + 2);
  EZeichen->setText(QString());
  EZeichen->show();
  if (Zeichenfolge) {
    EString->setText(AusCp1252(*Zeichenfolge));
    LNachzeichnen->hide();
  }
  EString->setVisible(Zeichenfolge != nullptr);
}

void TFZeichenform::ZeichenZeigen(char c, size_t Position) {
  EZeichen->setText(AusCp1252(std::string(1, c)));
  // Selecting puts the cursor after the character, which scrolls it into view.
  if (Position != KeinePosition && EString->isVisible())
    EString->setSelection(static_cast<int>(Position), 1);
}

void TFZeichenform::SchrittmodusEndet() {
  EZeichen->hide();
  EString->hide();
}

void TFZeichenform::StartGesetzt(double X, double Y) {
  // The centred start: fields and marker show where the drawing begins.
  StartVersetzen(X, Y);
  Laufprotokoll.StartGesetzt(X, Y);
}

void TFZeichenform::SchrittweiteGesetzt(double Schrittweite) {
  Vorgabe.Schrittweite = Schrittweite;
  SchrittweiteAnzeigen(Schrittweite);
}

void TFZeichenform::SchrittweiteAnzeigen(double Schrittweite) {
  ESchrittweite->setText(Text(KommazahlAlsText(3, Schrittweite)));
}

void TFZeichenform::Meldung(const std::string& Text) {
  LaufmeldungZeigen(QString::fromStdString(Text), TMeldungsart::Hinweis);
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
  // Whatever is being drawn or written away from the windows stops, and an
  // unfinished file is removed before the program ends.
  THintergrundzeichner::AlleBeenden();
}
