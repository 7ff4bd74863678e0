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

#include "drawing/Feldpruefung.h"
#include "drawing/Fensterhilfen.h"
#include "gui/Beschriftung.h"
#include "gui/Dialoge.h"
#include "gui/Klicks.h"
#include "gui/Schrift.h"
#include "helpers/Hilfen.h"

double ExtraAnfangsdicke = 1.0;
double ExtraSchwundfaktor = 1.0;
double ExtraAbweichungPlus = 0.3;
double ExtraAbweichungMinus = 0.3;
double ExtraAbweichungSchritt = 0.3;
uint32_t ExtraZeichenfarbe = 0x008000;
uint32_t ExtraSaat = 0;

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

QLabel* Beschriftung(const char* Text, QWidget* Eltern, int Links, int Oben) {
  auto* L = new QLabel(QString::fromUtf8(Text), Eltern);
  L->move(Links, Oben);
  L->adjustSize();
  return L;
}

TEingabefeld* Feld(const char* Text, QWidget* Eltern, int Links, int Oben) {
  auto* E = new TEingabefeld(QString::fromUtf8(Text), Eltern);
  E->setGeometry(Links, Oben, 33, 24);
  return E;
}

// Checks the field's text; Speichern stores an accepted value. A refused text
// gets the field's message, then the field shows the working value again.
template <class Speichern>
void FeldPruefen(QWidget* Dialog, TEingabefeld* E, double (*Pruefen)(const std::string&),
                 Speichern Uebernehmen, double Angezeigt) {
  FeldVerlassen(
      Dialog, [&] { Uebernehmen(Pruefen(NachCp1252(E->text()))); },
      [&] { E->setText(MitEinerStelle(Angezeigt)); });
}

}  // namespace

TExtraEinstellungen::TExtraEinstellungen(QWidget* Eltern) : QDialog(Eltern) {
  setWindowTitle(QStringLiteral("Extra Einstellungen"));
  setFont(Schrift(10));
  setGeometry(290, 156, 612, 359);
  setSizeGripEnabled(false);

  GBLiniendicke = new QGroupBox(QStringLiteral("Liniendicke"), this);
  GBLiniendicke->setGeometry(13, 7, 118, 214);
  LAnfangsdicke = Beschriftung("Anfangsdicke", GBLiniendicke, 13, 33);
  EDicke = Feld("1", GBLiniendicke, 13, 53);
  LSchwund = Beschriftung("Schwund pro Stufe", GBLiniendicke, 13, 85);
  ESchwund = Feld("0", GBLiniendicke, 13, 105);
  Label4 = Beschriftung("%", GBLiniendicke, 52, 104);
  BZeichenfarbe = new QPushButton(QStringLiteral("Zeichenfarbe"), GBLiniendicke);
  BZeichenfarbe->setGeometry(13, 169, 92, 27);

  GBZufallsabweichungen = new QGroupBox(QStringLiteral("Zufallsabweichungen"), this);
  // A little taller than the first version's 208 pixels, for the seed.
  GBZufallsabweichungen->setGeometry(143, 7, 137, 214);
  LAbweichungS = Beschriftung("Abweichung Schritt", GBZufallsabweichungen, 7, 33);
  EAbweichungS = Feld("30", GBZufallsabweichungen, 7, 52);
  Label1 = Beschriftung("%", GBZufallsabweichungen, 46, 52);
  LAbweichungP = Beschriftung("Abweichung +", GBZufallsabweichungen, 7, 85);
  EAbweichungP = Feld("30", GBZufallsabweichungen, 7, 104);
  Label3 = Beschriftung("%", GBZufallsabweichungen, 46, 104);
  LAbweichungM = Beschriftung("Abweichung -", GBZufallsabweichungen, 7, 137);
  EAbweichungM = Feld("30", GBZufallsabweichungen, 7, 157);
  Label2 = Beschriftung("%", GBZufallsabweichungen, 46, 156);
  ESaat = new TEingabefeld(GBZufallsabweichungen);
  ESaat->setGeometry(40, 186, 90, 22);
  ESaat->setToolTip(QStringLiteral(
      "Zustand des Zufallsgenerators, mit dem die nächste Zeichnung im Zufallsmodus beginnt"));
  LSaat = Beschriftung("Saat", GBZufallsabweichungen, 7, 190);

  Memo1 = new QPlainTextEdit(this);
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

  BOk = new QPushButton(QStringLiteral("Ok"), this);
  BOk->setGeometry(13, 228, 118, 26);
  BAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
  BAbbrechen->setGeometry(143, 228, 118, 26);
  // Neither button reacts to Enter.
  for (QPushButton* B : {BOk, BAbbrechen, BZeichenfarbe}) {
    B->setAutoDefault(false);
    B->setDefault(false);
  }

  ColorDialog = new QColorDialog(this);
  ColorDialog->setOption(QColorDialog::DontUseNativeDialog);

  setTabOrder(ESchwund, EDicke);
  setTabOrder(EDicke, BZeichenfarbe);
  setTabOrder(BZeichenfarbe, EAbweichungS);
  setTabOrder(EAbweichungS, EAbweichungP);
  setTabOrder(EAbweichungP, EAbweichungM);
  setTabOrder(EAbweichungM, ESaat);
  setTabOrder(ESaat, Memo1);
  setTabOrder(Memo1, BOk);
  setTabOrder(BOk, BAbbrechen);

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
  return QDialog::event(E);
}

void TExtraEinstellungen::keyPressEvent(QKeyEvent* E) {
  if (E->key() == Qt::Key_Escape) {
    E->accept();
    return;
  }
  QDialog::keyPressEvent(E);
}

void TExtraEinstellungen::reject() { done(ErgebnisAbbrechen); }

void TExtraEinstellungen::FormActivate() {
  EDicke->setText(MitEinerStelle(ExtraAnfangsdicke));
  ESchwund->setText(MitEinerStelle(100 - ExtraSchwundfaktor * 100));
  EAbweichungP->setText(MitEinerStelle(ExtraAbweichungPlus * 100));
  EAbweichungM->setText(MitEinerStelle(ExtraAbweichungMinus * 100));
  EAbweichungS->setText(MitEinerStelle(ExtraAbweichungSchritt * 100));
  ESaat->setText(QString::number(ExtraSaat));
}

void TExtraEinstellungen::EDickeExit() {
  FeldPruefen(
      this, EDicke, DickePruefen, [](double v) { ExtraAnfangsdicke = v; }, ExtraAnfangsdicke);
}

void TExtraEinstellungen::ESchwundExit() {
  FeldPruefen(
      this, ESchwund, SchwundPruefen, [](double v) { ExtraSchwundfaktor = 1 - v / 100; },
      100 - ExtraSchwundfaktor * 100);
}

void TExtraEinstellungen::EAbweichungSExit() {
  FeldPruefen(
      this, EAbweichungS, AbweichungSchrittPruefen,
      [](double v) { ExtraAbweichungSchritt = v / 100; }, ExtraAbweichungSchritt * 100);
}

void TExtraEinstellungen::EAbweichungPExit() {
  FeldPruefen(
      this, EAbweichungP, AbweichungPlusPruefen, [](double v) { ExtraAbweichungPlus = v / 100; },
      ExtraAbweichungPlus * 100);
}

void TExtraEinstellungen::EAbweichungMExit() {
  FeldPruefen(
      this, EAbweichungM, AbweichungMinusPruefen, [](double v) { ExtraAbweichungMinus = v / 100; },
      ExtraAbweichungMinus * 100);
}

void TExtraEinstellungen::ESaatExit() {
  Behandeln(this, [&] {
    try {
      ExtraSaat = SaatPruefen(NachCp1252(ESaat->text()));
    } catch (const EFeldfehler& F) {
      MeldungZeigen(std::string(F.what()), this);
      ESaat->setText(QString::number(ExtraSaat));
    }
  });
}

void TExtraEinstellungen::BZeichenfarbeClick() {
  ColorDialog->setCurrentColor(LetzteFarbe);
  const int Ergebnis = ColorDialog->exec();
  FokusZurueckgeben(this);
  if (Ergebnis != QDialog::Accepted) return;
  LetzteFarbe = ColorDialog->selectedColor();
  ExtraZeichenfarbe = AlsFarbwert(LetzteFarbe);
}

void TExtraEinstellungen::BOkClick() { done(ErgebnisOk); }

void TExtraEinstellungen::BAbbrechenClick() { done(ErgebnisAbbrechen); }
