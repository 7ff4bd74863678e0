#include "drawing/Extras.h"

#include <QColorDialog>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtMath>
#include <algorithm>
#include <string>

#include "engine/Rezeptfelder.h"
#include "gui/Aktivierung.h"
#include "gui/Bauteile.h"
#include "gui/Beschriftung.h"
#include "gui/Dialoge.h"
#include "gui/Eingabefeld.h"
#include "gui/Klicks.h"
#include "gui/Schrift.h"
#include "helpers/Hilfen.h"

TEinstellungen ExtraWerte;

TExtraEinstellungen* ExtraEinstellungen = nullptr;

QColor AlsQColor(uint32_t Farbe) {
  return QColor(Farbe & 0xFF, (Farbe >> 8) & 0xFF, (Farbe >> 16) & 0xFF);
}

uint32_t AlsFarbwert(const QColor& Farbe) {
  return static_cast<uint32_t>(Farbe.red()) | static_cast<uint32_t>(Farbe.green()) << 8 |
         static_cast<uint32_t>(Farbe.blue()) << 16;
}

namespace {

const char* const Erklaerung[] = {
    "Die Liniendicke gibt an, mit welcher ",
    "Dicke die Anfangslinien gezeichnet  ",
    "werden, der Schwund pro Stufe ist ",
    "der Faktor, um den die Liniendicke bei ",
    "jeder Verzweigung [ ...]  abnimmt.",
    "-------------------------------------------------------",
    "Die Zufallsabweichungen geben an, ",
    "um wieviel  % die Größen Schritt F und ",
    "die Winkel  + und - zufällig ",
    "schwanken, wenn der Zufallsmodus",
    "eingestellt ist.",
    "Ein Faktor 30  z.B. bedeutet daß die ",
    "Größe um 30% von der eingestellten ",
    "Größe abweichen können.",
    "Standardeinstellung ist 30.",
};

QString MitEinerStelle(double Wert) { return AusCp1252(KommazahlAlsText(1, Wert)); }

TEingabefeld* EinFeld(QWidget* Eltern, const char* Name, const char* Text, QPoint Ort) {
  TEingabefeld* E = Feld(Eltern, Name, {Ort, QSize(33, 24)});
  E->setText(QString::fromUtf8(Text));
  return E;
}

const TExtrawert Werte[] = {
    {"Anfangsdicke", &TExtraEinstellungen::EDicke},
    {"Schwundfaktor", &TExtraEinstellungen::ESchwund},
    {"AbweichungPlus", &TExtraEinstellungen::EAbweichungP},
    {"AbweichungMinus", &TExtraEinstellungen::EAbweichungM},
    {"AbweichungSchritt", &TExtraEinstellungen::EAbweichungS},
    {"Zufallszustand", &TExtraEinstellungen::ESaat},
    {"Zeichenfarbe"},
};

// Checks the field's text as the field table does and stores an accepted
// value in the working values. A refused text gets the field's message, then
// the field shows the working value again.
void FeldPruefen(TExtraEinstellungen* Dialog, TEingabefeld* TExtraEinstellungen::*Feld) {
  const TExtrawert& W =
      *std::find_if(std::begin(Werte), std::end(Werte), [&](auto& Z) { return Z.Feld == Feld; });
  const TRezeptfeld& F = *FeldZuSchluessel(W.Schluessel);
  TEingabefeld* E = Dialog->*Feld;
  FeldVerlassen(
      Dialog,
      [&] {
        TLauf K;
        K.Einstellungen = ExtraWerte;
        FeldEingeben(F, K, NachCp1252(E->text()));
        ExtraWerte = K.Einstellungen;
      },
      [&] { E->setText(Extraanzeige(F, ExtraWerte)); });
}

}  // namespace

std::span<const TExtrawert> Extrawerte() { return Werte; }

QString Extraanzeige(const TRezeptfeld& F, const TEinstellungen& W) {
  TLauf R;
  R.Einstellungen = W;
  if (F.Wort) return QString::number(F.Wort(R));
  const double Wert = F.Zahl(R);
  if (F.Art == TFeldart::Prozent) return MitEinerStelle(Wert * 100);
  if (F.Art == TFeldart::Schwund) return MitEinerStelle(100 - Wert * 100);
  return MitEinerStelle(Wert);
}

TExtraEinstellungen::TExtraEinstellungen(QWidget* Eltern) : TModalerDialog(Eltern) {
  setObjectName(QStringLiteral("ExtraEinstellungen"));
  setWindowTitle(QStringLiteral("Extra Einstellungen"));
  setFont(Schrift(10));
  setGeometry(290, 156, 612, 359);
  setSizeGripEnabled(false);

  GBLiniendicke = new QGroupBox(QStringLiteral("Liniendicke"), this);
  GBLiniendicke->setObjectName(QStringLiteral("GBLiniendicke"));
  GBLiniendicke->setGeometry(13, 7, 118, 214);
  LAnfangsdicke =
      Beschriftung(GBLiniendicke, "LAnfangsdicke", QStringLiteral("Anfangsdicke"), {13, 33});
  EDicke = EinFeld(GBLiniendicke, "EDicke", "1", {13, 53});
  LSchwund = Beschriftung(GBLiniendicke, "LSchwund", QStringLiteral("Schwund pro Stufe"), {13, 85});
  ESchwund = EinFeld(GBLiniendicke, "ESchwund", "0", {13, 105});
  Label4 = Beschriftung(GBLiniendicke, "Label4", QStringLiteral("%"), {52, 104});
  BZeichenfarbe =
      Knopf(GBLiniendicke, "BZeichenfarbe", QStringLiteral("Zeichenfarbe"), {13, 169, 92, 27});

  GBZufallsabweichungen = new QGroupBox(QStringLiteral("Zufallsabweichungen"), this);
  GBZufallsabweichungen->setObjectName(QStringLiteral("GBZufallsabweichungen"));
  // A little taller than the first version's 208 pixels, for the seed.
  GBZufallsabweichungen->setGeometry(143, 7, 137, 214);
  QGroupBox* const G = GBZufallsabweichungen;
  LAbweichungS = Beschriftung(G, "LAbweichungS", QStringLiteral("Abweichung Schritt"), {7, 33});
  EAbweichungS = EinFeld(G, "EAbweichungS", "30", {7, 52});
  Label1 = Beschriftung(G, "Label1", QStringLiteral("%"), {46, 52});
  LAbweichungP = Beschriftung(G, "LAbweichungP", QStringLiteral("Abweichung +"), {7, 85});
  EAbweichungP = EinFeld(G, "EAbweichungP", "30", {7, 104});
  Label3 = Beschriftung(G, "Label3", QStringLiteral("%"), {46, 104});
  LAbweichungM = Beschriftung(G, "LAbweichungM", QStringLiteral("Abweichung -"), {7, 137});
  EAbweichungM = EinFeld(G, "EAbweichungM", "30", {7, 157});
  Label2 = Beschriftung(G, "Label2", QStringLiteral("%"), {46, 156});
  ESaat = Feld(G, "ESaat", {40, 186, 90, 22},
               QStringLiteral("Zustand des Zufallsgenerators, mit dem die nächste Zeichnung im "
                              "Zufallsmodus beginnt"));
  LSaat = Beschriftung(G, "LSaat", QStringLiteral("Saat"), {7, 190});

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setGeometry(293, 13, 189, 202);
  Memo1->setReadOnly(true);
  Memo1->setFont(Schrift(11));
  QPalette Weiss = Memo1->palette();
  Weiss.setColor(QPalette::Base, Qt::white);
  Memo1->setPalette(Weiss);
  QStringList Zeilen;
  for (const char* Z : Erklaerung) Zeilen << QString::fromUtf8(Z);
  Memo1->setPlainText(Zeilen.join(QLatin1Char('\n')));
  // One line of text per line on screen: the box grows to the font in use.
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const QFontMetrics Masse(Memo1->font());
  int Breite = 0;
  for (const QString& Z : Zeilen) Breite = std::max(Breite, Masse.horizontalAdvance(Z));
  const int Rand = 2 * (Memo1->frameWidth() + qCeil(Memo1->document()->documentMargin()) + 2);
  Memo1->resize(
      std::max(Memo1->width(), Breite + Rand),
      std::max(Memo1->height(), static_cast<int>(Zeilen.size()) * Masse.lineSpacing() + Rand));

  BOk = Knopf(this, "BOk", QStringLiteral("Ok"), {13, 228, 118, 26});
  BAbbrechen = Knopf(this, "BAbbrechen", QStringLiteral("Abbrechen"), {143, 228, 118, 26});
  // Neither button reacts to Enter.
  for (QPushButton* B : {BOk, BAbbrechen, BZeichenfarbe}) {
    B->setAutoDefault(false);
    B->setDefault(false);
  }

  ColorDialog = new QColorDialog(this);
  ColorDialog->setObjectName(QStringLiteral("ColorDialog"));
  ColorDialog->setOption(QColorDialog::DontUseNativeDialog);

  Tabfolge({ESchwund, EDicke, BZeichenfarbe, EAbweichungS, EAbweichungP, EAbweichungM, ESaat, Memo1,
            BOk, BAbbrechen});

  connect(EDicke, &TEingabefeld::Verlassen, this, &TExtraEinstellungen::EDickeExit);
  connect(ESchwund, &TEingabefeld::Verlassen, this, &TExtraEinstellungen::ESchwundExit);
  connect(EAbweichungS, &TEingabefeld::Verlassen, this, &TExtraEinstellungen::EAbweichungSExit);
  connect(EAbweichungP, &TEingabefeld::Verlassen, this, &TExtraEinstellungen::EAbweichungPExit);
  connect(EAbweichungM, &TEingabefeld::Verlassen, this, &TExtraEinstellungen::EAbweichungMExit);
  connect(ESaat, &TEingabefeld::Verlassen, this, &TExtraEinstellungen::ESaatExit);
  connect(BZeichenfarbe, &QPushButton::clicked, this, &TExtraEinstellungen::BZeichenfarbeClick);
  connect(BOk, &QPushButton::clicked, this, &TExtraEinstellungen::BOkClick);
  connect(BAbbrechen, &QPushButton::clicked, this, &TExtraEinstellungen::BAbbrechenClick);
  KlicksBewahren(this);
  BeschriftungenEinpassen(this);
}

bool TExtraEinstellungen::event(QEvent* E) {
  if (EigeneAktivierung(this, E)) FormActivate();
  return TModalerDialog::event(E);
}

void TExtraEinstellungen::FormActivate() {
  for (const TExtrawert& W : Werte)
    if (W.Feld) (this->*W.Feld)->setText(Extraanzeige(*FeldZuSchluessel(W.Schluessel), ExtraWerte));
}

void TExtraEinstellungen::EDickeExit() { FeldPruefen(this, &TExtraEinstellungen::EDicke); }

void TExtraEinstellungen::ESchwundExit() { FeldPruefen(this, &TExtraEinstellungen::ESchwund); }

void TExtraEinstellungen::EAbweichungSExit() {
  FeldPruefen(this, &TExtraEinstellungen::EAbweichungS);
}

void TExtraEinstellungen::EAbweichungPExit() {
  FeldPruefen(this, &TExtraEinstellungen::EAbweichungP);
}

void TExtraEinstellungen::EAbweichungMExit() {
  FeldPruefen(this, &TExtraEinstellungen::EAbweichungM);
}

void TExtraEinstellungen::ESaatExit() { FeldPruefen(this, &TExtraEinstellungen::ESaat); }

void TExtraEinstellungen::BZeichenfarbeClick() {
  ColorDialog->setCurrentColor(LetzteFarbe);
  const int Ergebnis = ColorDialog->exec();
  FokusZurueckgeben(this);
  if (Ergebnis != QDialog::Accepted) return;
  LetzteFarbe = ColorDialog->selectedColor();
  ExtraWerte.Zeichenfarbe = AlsFarbwert(LetzteFarbe);
}

void TExtraEinstellungen::BOkClick() { done(ErgebnisOk); }

void TExtraEinstellungen::BAbbrechenClick() { done(ErgebnisAbbrechen); }
