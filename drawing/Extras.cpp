#include "drawing/Extras.h"

#include <QColorDialog>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <string>

#include "drawing/Feldpruefung.h"
#include "drawing/Fensterhilfen.h"
#include "gui/Dialoge.h"
#include "helpers/Hilfen.h"

double ExtraAnfangsdicke = 1.0;
double ExtraSchwundfaktor = 1.0;
double ExtraAbweichungPlus = 0.3;
double ExtraAbweichungMinus = 0.3;
double ExtraAbweichungSchritt = 0.3;
uint32_t ExtraZeichenfarbe = 0x008000;

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
  QFont Schrift(QStringLiteral("Sans Serif"));
  Schrift.setPixelSize(10);
  setFont(Schrift);
  setGeometry(290, 156, 612, 359);
  setSizeGripEnabled(false);

  GBLiniendicke = new QGroupBox(QStringLiteral("Liniendicke"), this);
  GBLiniendicke->setGeometry(13, 7, 118, 208);
  LAnfangsdicke = Beschriftung("Anfangsdicke", GBLiniendicke, 13, 33);
  EDicke = Feld("1", GBLiniendicke, 13, 53);
  LSchwund = Beschriftung("Schwund pro Stufe", GBLiniendicke, 13, 85);
  ESchwund = Feld("0", GBLiniendicke, 13, 105);
  Label4 = Beschriftung("%", GBLiniendicke, 52, 104);
  BZeichenfarbe = new QPushButton(QStringLiteral("Zeichenfarbe"), GBLiniendicke);
  BZeichenfarbe->setGeometry(13, 169, 92, 27);

  GBZufallsabweichungen = new QGroupBox(QStringLiteral("Zufallsabweichungen"), this);
  GBZufallsabweichungen->setGeometry(143, 7, 137, 208);
  LAbweichungS = Beschriftung("Abweichung Schritt", GBZufallsabweichungen, 7, 33);
  EAbweichungS = Feld("30", GBZufallsabweichungen, 7, 52);
  Label1 = Beschriftung("%", GBZufallsabweichungen, 46, 52);
  LAbweichungP = Beschriftung("Abweichung +", GBZufallsabweichungen, 7, 85);
  EAbweichungP = Feld("30", GBZufallsabweichungen, 7, 104);
  Label3 = Beschriftung("%", GBZufallsabweichungen, 46, 104);
  LAbweichungM = Beschriftung("Abweichung -", GBZufallsabweichungen, 7, 137);
  EAbweichungM = Feld("30", GBZufallsabweichungen, 7, 157);
  Label2 = Beschriftung("%", GBZufallsabweichungen, 46, 156);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setGeometry(293, 13, 189, 202);
  Memo1->setReadOnly(true);
  QFont MemoSchrift = Schrift;
  MemoSchrift.setPixelSize(11);
  Memo1->setFont(MemoSchrift);
  QPalette Weiss = Memo1->palette();
  Weiss.setColor(QPalette::Base, Qt::white);
  Memo1->setPalette(Weiss);
  QStringList Zeilen;
  for (const char* Z : Erklaerung) Zeilen << QString::fromUtf8(Z);
  Memo1->setPlainText(Zeilen.join(QLatin1Char('\n')));

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
  setTabOrder(EAbweichungM, Memo1);
  setTabOrder(Memo1, BOk);
  setTabOrder(BOk, BAbbrechen);

  connect(EDicke, &TEingabefeld::Verlassen, this, &TExtraEinstellungen::EDickeExit);
  connect(ESchwund, &TEingabefeld::Verlassen, this, &TExtraEinstellungen::ESchwundExit);
  connect(EAbweichungS, &TEingabefeld::Verlassen, this, &TExtraEinstellungen::EAbweichungSExit);
  connect(EAbweichungP, &TEingabefeld::Verlassen, this, &TExtraEinstellungen::EAbweichungPExit);
  connect(EAbweichungM, &TEingabefeld::Verlassen, this, &TExtraEinstellungen::EAbweichungMExit);
  connect(BZeichenfarbe, &QPushButton::clicked, this, &TExtraEinstellungen::BZeichenfarbeClick);
  connect(BOk, &QPushButton::clicked, this, &TExtraEinstellungen::BOkClick);
  connect(BAbbrechen, &QPushButton::clicked, this, &TExtraEinstellungen::BAbbrechenClick);
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

void TExtraEinstellungen::BZeichenfarbeClick() {
  ColorDialog->setCurrentColor(LetzteFarbe);
  if (ColorDialog->exec() != QDialog::Accepted) return;
  LetzteFarbe = ColorDialog->selectedColor();
  ExtraZeichenfarbe = AlsFarbwert(LetzteFarbe);
}

void TExtraEinstellungen::BOkClick() { done(ErgebnisOk); }

void TExtraEinstellungen::BAbbrechenClick() { done(ErgebnisAbbrechen); }
