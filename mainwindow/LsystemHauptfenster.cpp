#include "mainwindow/LsystemHauptfenster.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QUrl>
#include <array>

#include "engine/Rezept.h"
#include "engine/Rezeptfelder.h"
#include "gui/Bauteile.h"
#include "gui/Beschriftung.h"
#include "gui/Dialoge.h"
#include "gui/Eingabefeld.h"
#include "gui/Klicks.h"
#include "gui/Schrift.h"
#include "helpers/Hilfen.h"
#include "mainwindow/AboutBoxDialog.h"
#include "mainwindow/Baumbilder.h"
#include "pictures/Bilddatei.h"

TForm1* Form1 = nullptr;

namespace {

const QString Platzhalter = QStringLiteral("* -> *");
const QString Regelsystemtitel = QStringLiteral("Regelsystem");

QLabel* Text(QWidget* Eltern, const char* Name, const QString& Text, QPoint Ort,
             TSchnitt Schnitt = TSchnitt::Normal) {
  QLabel* L = Beschriftung(Eltern, Name, Text, Ort);
  if (Schnitt == TSchnitt::Fett) {
    L->setFont(Schrift(Eltern->font().pixelSize(), TSchnitt::Fett));
    L->adjustSize();
  }
  return L;
}

// A field for texts of any length: axioms and rules may be long.
TEingabefeld* Eingabe(QWidget* Eltern, const char* Name, QRect Ort, const QString& Hinweis) {
  TEingabefeld* E = Feld(Eltern, Name, Ort, Hinweis);
  E->setMaxLength(1 << 30);
  return E;
}

QPlainTextEdit* Textfeld(QWidget* Eltern, const char* Name, QRect Ort, const QString& Hinweis) {
  auto* M = new QPlainTextEdit(Eltern);
  M->setObjectName(QLatin1String(Name));
  M->setToolTip(Hinweis);
  M->setGeometry(Ort);
  M->setReadOnly(true);
  M->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  M->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  M->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Read-only, yet reachable with the keyboard so the text can be selected.
  M->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  return M;
}

QFileDialog* Regeldialog(const QString& Titel, QFileDialog::AcceptMode Modus, QWidget* Eltern) {
  QStringList Filter{QStringLiteral("Lindenmayer-Regelsysteme (*.LSY)")};
  // Pictures carry the rule system they were drawn with.
  if (Modus == QFileDialog::AcceptOpen) Filter << QStringLiteral("Bilder mit Rezept (*.png *.svg)");
  return Dateidialog(Eltern, Titel, Modus, Filter, QStringLiteral("LSY"));
}

std::string Dateiname(const QString& Pfad) { return QFile::encodeName(Pfad).toStdString(); }

// Rule list rows are 13 pixels high.
class TZeilenhoehe : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    return {QStyledItemDelegate::sizeHint(Option, Index).width(), 13};
  }
};

bool IstEnter(int Taste) { return Taste == Qt::Key_Return || Taste == Qt::Key_Enter; }

}  // namespace

// The rule list: Insert and Delete are its own keys.
class TRegelliste : public QListWidget {
 public:
  using QListWidget::QListWidget;
  std::function<void(int)> Taste;

 protected:
  void keyPressEvent(QKeyEvent* E) override {
    if (Taste && (E->key() == Qt::Key_Insert || E->key() == Qt::Key_Delete)) {
      E->accept();
      Taste(E->key());
      return;
    }
    QListWidget::keyPressEvent(E);
  }
};

namespace {}  // namespace

TForm1::TForm1(const QStringList& Argumente, QWidget* Eltern) : QWidget(Eltern) {
  SteuerelementeAnlegen();
  if (AboutBox) ProduktInfoZeigen(AboutBox);
  Starten(Argumente);
}

TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::SteuerelementeAnlegen() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Rankenwerk 4.0") + QString(30, QLatin1Char(' ')) +
                 QStringLiteral("© Rankenwerk-Team"));
  setWindowIcon(ProgrammIcon());
  setFont(Schrift(10));
  resize(722, 500);
  setAcceptDrops(true);
  move(119, 164);

  Panel1 = Rahmen(this, "Panel1", {0, 332, 579, 72}, QFrame::Panel | QFrame::Raised);
  const int Vertieft = QFrame::Panel | QFrame::Sunken;
  Bevel2 = Rahmen(Panel1, "Bevel2", {7, 7, 143, 59}, Vertieft);
  BLoad = Knopf(Panel1, "BLoad", QStringLiteral("Regelsystem laden"), {13, 13, 124, 20},
                QStringLiteral("Regelsystem mit Extension .LSY laden"));
  BSave = Knopf(Panel1, "BSave", QStringLiteral("Regelsystem speichern"), {13, 39, 124, 20},
                QStringLiteral("Augenblicklich gültiges Regelsystem mit Extension .LSY speichern"));
  Bevel1 = Rahmen(Panel1, "Bevel1", {156, 7, 157, 59}, Vertieft);
  Label1 = Text(Panel1, "Label1", QStringLiteral("Winkel für +"), {169, 20});
  EPlus = Eingabe(Panel1, "EPlus", {234, 13, 66, 21},
                  QStringLiteral("Winkel zum Zeichnen von '+' angeben"));
  Label2 = Text(Panel1, "Label2", QStringLiteral("Winkel für -"), {169, 46});
  EMinus = Eingabe(Panel1, "EMinus", {234, 39, 66, 21},
                   QStringLiteral("Winkel zum Zeichnen von '-' angeben"));
  BZeichnen = Knopf(Panel1, "BZeichnen", QStringLiteral("Zeichnen"), {325, 7, 105, 20},
                    QStringLiteral("Zeichnung zum Regelsystem"));
  // Beside "Zeichnen", where the panel has room.
  BLupe = Knopf(Panel1, "BLupe", QStringLiteral("Lupe"), {436, 7, 64, 20},
                QStringLiteral("Die Zeichnung vergrößert ansehen (auch: Mausrad über der "
                               "Zeichenfläche)"));
  BWachstum = Knopf(Panel1, "BWachstum", QStringLiteral("Wachstum"), {506, 7, 66, 20},
                    QStringLiteral("Zusehen, wie die Zeichnung von Stufe zu Stufe wächst und "
                                   "wie die Turtle ihren Weg zeichnet"));
  BGestaltung = Knopf(Panel1, "BGestaltung", QStringLiteral("Gestaltung"), {486, 39, 86, 20},
                      QStringLiteral("Pflanzen gestalten: zufällige Regelwahl, Färbung, Blätter, "
                                     "Hintergrund und Saat"));

  GRegelsystem = new QGroupBox(Regelsystemtitel, this);
  GRegelsystem->setObjectName(QStringLiteral("GRegelsystem"));
  GRegelsystem->setFont(Schrift(11));
  GRegelsystem->setGeometry(7, 7, 338, 299);
  LAxiom = Text(GRegelsystem, "LAxiom", QStringLiteral("Axiom"), {7, 26}, TSchnitt::Fett);
  EAxiom = Eingabe(GRegelsystem, "EAxiom", {7, 46, 325, 21}, QStringLiteral("Axiom eingeben"));
  LRegelEditieren = Text(GRegelsystem, "LRegelEditieren", QStringLiteral("Regel editieren"),
                         {7, 78}, TSchnitt::Fett);
  Label3 = Text(GRegelsystem, "Label3",
                QStringLiteral("(mit  ENTER  bestätigen, mit ESC abbrechen)"), {111, 78});
  ERegel = Eingabe(GRegelsystem, "ERegel", {7, 98, 325, 21},
                   QStringLiteral("Ausgewählte Regel editieren"));
  for (TEingabefeld* E : {EAxiom, ERegel}) E->EnterUndEscape = true;
  Button1 = Knopf(GRegelsystem, "Button1", QStringLiteral("Regel löschen"), {130, 124, 92, 20},
                  QStringLiteral("Ausgewählte Regel ganz löschen"));
  BRegelEinfuegen = Knopf(GRegelsystem, "BRegelEinfuegen", QStringLiteral("Neue Regel "),
                          {228, 124, 104, 20}, QStringLiteral("Neue Regel hinzufügen"));
  LRegelsystem = Text(GRegelsystem, "LRegelsystem", QStringLiteral("Gültige Regeln"), {7, 130},
                      TSchnitt::Fett);
  auto* Liste = new TRegelliste(GRegelsystem);
  Liste->Taste = [this](int Taste) { LBRegelnKeyDown(Taste); };
  LBRegeln = Liste;
  LBRegeln->setObjectName(QStringLiteral("LBRegeln"));
  LBRegeln->setToolTip(QStringLiteral("Alle gültigen Regeln des Regelsystems"));
  LBRegeln->setGeometry(7, 150, 325, 137);  // kept inside the group frame
  LBRegeln->setSelectionMode(QAbstractItemView::SingleSelection);
  LBRegeln->setUniformItemSizes(true);
  LBRegeln->setItemDelegate(new TZeilenhoehe(LBRegeln));

  // In the strip between the groups and the panel, hidden while it has nothing to say.
  LRegelwahl = Text(this, "LRegelwahl",
                    QStringLiteral("Mehrere Regeln für ein Zeichen: nur die erste wirkt. "
                                   "„Gestaltung“ bietet „zufällig“."),
                    {9, 312});
  LRegelwahl->setFont(Schrift(9));
  LRegelwahl->adjustSize();
  LRegelwahl->hide();

  GroupBox1 = new QGroupBox(QStringLiteral("Erzeugte Zeichenfolgen"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(358, 7, 221, 299);
  LAlleZeichen = Text(GroupBox1, "LAlleZeichen", QStringLiteral("Alle Zeichen"), {7, 20});
  MBildStringAlle =
      Textfeld(GroupBox1, "MBildStringAlle", {7, 33, 208, 98},
               QStringLiteral("Zeichenfolge mit allen Zeichen, auch Terminalzeichen"));
  LTerminalzeichen =
      Text(GroupBox1, "LTerminalzeichen", QStringLiteral("Terminalzeichen"), {7, 137});
  MBildStringTerminal =
      Textfeld(GroupBox1, "MBildStringTerminal", {7, 150, 208, 111},
               QStringLiteral("Zeichenfolge, bei der die Nicht-Terminalzeichen eliminiert sind"));
  Label4 = Text(GroupBox1, "Label4", QStringLiteral("Tiefe"), {13, 273});
  ETiefeString = Eingabe(GroupBox1, "ETiefeString", {46, 267, 52, 21},
                         QStringLiteral("Entwicklungstiefe der Zeichenfolge"));
  BAnzeigen =
      Knopf(GroupBox1, "BAnzeigen", QStringLiteral("Anzeigen"), {150, 267, 65, 20},
            QStringLiteral("Anzeige der produzierten Zeichenfolge mit nebenstehender Tiefe"));

  Tabfolge({BZeichnen, BLupe, BWachstum, BGestaltung, BLoad, BSave, EPlus, EMinus, EAxiom, LBRegeln,
            ERegel, Button1, BRegelEinfuegen, MBildStringAlle, ETiefeString, BAnzeigen,
            MBildStringTerminal});

  connect(EAxiom, &TEingabefeld::TasteGedrueckt, this, &TForm1::EAxiomKeyDown);
  connect(ERegel, &TEingabefeld::TasteGedrueckt, this, &TForm1::ERegelKeyDown);
  connect(EAxiom, &TEingabefeld::Verlassen, this, &TForm1::EAxiomExit);
  connect(ERegel, &TEingabefeld::Verlassen, this, &TForm1::ERegelExit);
  connect(EPlus, &TEingabefeld::Verlassen, this, &TForm1::EPlusExit);
  connect(EMinus, &TEingabefeld::Verlassen, this, &TForm1::EMinusExit);
  connect(ETiefeString, &TEingabefeld::Verlassen, this, &TForm1::ETiefeStringExit);
  connect(LBRegeln, &QListWidget::currentRowChanged, this, [this] { LBRegelnClick(); });
  connect(Button1, &QPushButton::clicked, this, &TForm1::RegelLoeschen);
  connect(BRegelEinfuegen, &QPushButton::clicked, this, &TForm1::RegelEinfuegen);
  connect(BLoad, &QPushButton::clicked, this, &TForm1::BLoadClick);
  connect(BSave, &QPushButton::clicked, this, &TForm1::BSaveClick);
  connect(BZeichnen, &QPushButton::clicked, this, &TForm1::BZeichnenClick);
  connect(BLupe, &QPushButton::clicked, this, &TForm1::BLupeClick);
  connect(BWachstum, &QPushButton::clicked, this, &TForm1::BWachstumClick);
  connect(BGestaltung, &QPushButton::clicked, this, &TForm1::BGestaltungClick);
  connect(BAnzeigen, &QPushButton::clicked, this, &TForm1::BAnzeigenClick);

  OpenDialog =
      Regeldialog(QStringLiteral("Lindenmayer-Regelsystem laden"), QFileDialog::AcceptOpen, this);
  SaveDialog = Regeldialog(QStringLiteral("Lindenmayer-Regelsystem speichern"),
                           QFileDialog::AcceptSave, this);
  OpenName = SaveName = QStringLiteral("temp.LSY");

  BZeichnen->setFocus();
  KlicksBewahren(this);
  BeschriftungenEinpassen(this);
}

void TForm1::Starten(const QStringList& Argumente) {
  Regelsystem.RegelnHinzufuegen(StandardRegeln);
  if (Argumente.isEmpty()) {
    if (QFileInfo(QStringLiteral("Start.LSY")).isFile()) Regelsystem.Laden("Start.LSY");
  } else {
    const QString& Pfad = Argumente.front();
    const QString Name = QFileInfo(Pfad).fileName();
    const qsizetype Punkt = Name.lastIndexOf(QLatin1Char('.'));
    const QString Endung = Punkt < 0 ? QString() : Name.mid(Punkt).toUpper();
    if (Endung == QStringLiteral(".LSY") && QFileInfo(Pfad).isFile()) {
      Regelsystem.Laden(Dateiname(Pfad));
      GRegelsystem->setTitle(QStringLiteral("Regelsystem:  ") + Pfad.toUpper());
      GeladeneDatei = Pfad;
    }
  }
  Regelsystem.Tiefe = 0;
  Regelsystem.Sortieren();
  RegelsystemAnzeigen();
  WinkelAnzeigen();
  ETiefeString->setText(QString::number(Regelsystem.Tiefe));
}

void TForm1::Auswaehlen(int Index) {
  // Selections made here must not look like the user's.
  const QSignalBlocker Sperre(LBRegeln);
  LBRegeln->setCurrentRow(Index);
  ERegel->setText(Index >= 0 ? LBRegeln->item(Index)->text() : QString());
}

void TForm1::RegelsystemAnzeigen() {
  {
    const QSignalBlocker Sperre(LBRegeln);
    LBRegeln->clear();
  }
  EAxiom->setText(AusCp1252(Regelsystem.Axiom));
  ERegel->clear();
  for (int i = 0; i < Regelsystem.Count(); ++i)
    LBRegeln->addItem(AusCp1252(TRegelsystem::RegelAlsText(Regelsystem.Items(i))));
  if (LBRegeln->count() > 0) Auswaehlen(0);
  RegelwahlHinweisSetzen();
}

void TForm1::RegelwahlHinweisSetzen() {
  LRegelwahl->setVisible(Regelsystem.MehrereRegelnJeKopf() &&
                         Einstellungen.Regelwahl == TRegelwahl::ErsteRegel);
}

void TForm1::WinkelAnzeigen() {
  EPlus->setText(QString::fromStdString(KommazahlAlsText(2, Regelsystem.WinkelPlus)));
  EMinus->setText(QString::fromStdString(KommazahlAlsText(2, Regelsystem.WinkelMinus)));
}

void TForm1::closeEvent(QCloseEvent* Ereignis) {
  // Closing the main window ends the program, whatever else is open.
  Ereignis->accept();
  QApplication::quit();
}

void TForm1::EAxiomKeyDown(int Taste) {
  Behandeln(this, [&] {
    if (IstEnter(Taste))
      AxiomSetzen();
    else if (Taste == Qt::Key_Escape)
      EAxiom->setText(AusCp1252(Regelsystem.Axiom));
  });
}

void TForm1::AxiomSetzen() {
  std::string Neu = NachCp1252(EAxiom->text());
  if (Neu == Regelsystem.Axiom) return;
  Regelsystem.Axiom = std::move(Neu);
  Geaendert();
}

void TForm1::EAxiomExit() {
  Behandeln(this, [&] { AxiomSetzen(); });
}

void TForm1::RegelUebernehmen() {
  std::string Meldung, Rumpf;
  char Kopf = 0;
  if (!TRegelsystem::RegelZerlegen(NachCp1252(ERegel->text()), Meldung, Rumpf, Kopf)) {
    MeldungZeigen(QStringLiteral("Fehler in der Regel: \r\n") + QString::fromStdString(Meldung),
                  this);
    return;
  }
  const int i = LBRegeln->currentRow();
  if (i < 0) {
    // A loaded system may have no rules at all; the line then becomes the first one.
    Regelsystem.RegelHinzufuegen(NachCp1252(ERegel->text()));
    const QSignalBlocker Sperre(LBRegeln);
    LBRegeln->addItem(ERegel->text());
    LBRegeln->setCurrentRow(LBRegeln->count() - 1);
    Geaendert();
    return;
  }
  LBRegeln->item(i)->setText(ERegel->text());
  Regelsystem.RegelSetzen(i, Kopf, Rumpf);
  Geaendert();
}

void TForm1::ERegelKeyDown(int Taste) {
  Behandeln(this, [&] {
    if (IstEnter(Taste)) {
      RegelUebernehmen();
    } else if (Taste == Qt::Key_Escape) {
      const int i = LBRegeln->currentRow();
      if (i >= 0) ERegel->setText(AusCp1252(TRegelsystem::RegelAlsText(Regelsystem.Items(i))));
    }
  });
}

void TForm1::ERegelExit() {
  Behandeln(this, [&] {
    const int i = LBRegeln->currentRow();
    const QString Eintrag = i >= 0 ? LBRegeln->item(i)->text() : QString();
    if (ERegel->text() == Eintrag) return;
    if (Bestaetigen(QStringLiteral("Regel geändert aber nicht übernommen\r\nÜbernehmen?"), this))
      RegelUebernehmen();
  });
}

void TForm1::LBRegelnClick() {
  Behandeln(this, [&] {
    const int i = LBRegeln->currentRow();
    if (i >= 0) ERegel->setText(LBRegeln->item(i)->text());
  });
}

void TForm1::LBRegelnKeyDown(int Taste) {
  if (Taste == Qt::Key_Insert)
    RegelEinfuegen();
  else if (Taste == Qt::Key_Delete)
    RegelLoeschen();
}

void TForm1::RegelLoeschen() {
  Behandeln(this, [&] {
    if (!Bestaetigen(QStringLiteral("Regel ") + ERegel->text() + QStringLiteral("  löschen?"),
                     this))
      return;
    if (LBRegeln->count() < 2) {
      // The system keeps at least one rule: the last one becomes the placeholder.
      if (LBRegeln->count() == 0) {
        Regelsystem.RegelHinzufuegen(NachCp1252(Platzhalter));
        const QSignalBlocker Sperre(LBRegeln);
        LBRegeln->addItem(Platzhalter);
      } else {
        Regelsystem.RegelErsetzen(NachCp1252(Platzhalter), 0);
        LBRegeln->item(0)->setText(Platzhalter);
      }
    } else {
      const int i = LBRegeln->currentRow();
      Regelsystem.Delete(i);
      const QSignalBlocker Sperre(LBRegeln);
      delete LBRegeln->takeItem(i);
    }
    Auswaehlen(0);
    Geaendert();
  });
}

void TForm1::RegelEinfuegen() {
  Behandeln(this, [&] {
    Regelsystem.RegelHinzufuegen(NachCp1252(Platzhalter));
    {
      const QSignalBlocker Sperre(LBRegeln);
      LBRegeln->addItem(Platzhalter);
    }
    Auswaehlen(LBRegeln->count() - 1);
    Geaendert();
  });
}

void TForm1::WinkelVerlassen(TEingabefeld* Feld, double& Winkel, const char* Schluessel) {
  const TRezeptfeld& Winkelfeld = *FeldZuSchluessel(Schluessel);
  FeldVerlassen(
      this,
      [&] {
        TLauf K;
        Winkelfeld.Zahl(K) = Winkel;
        FeldEingeben(Winkelfeld, K, NachCp1252(Feld->text()));
        const double Neu = Winkelfeld.Zahl(K);
        const bool Anders = Neu != Winkel;
        Winkel = Neu;
        if (Anders) Geaendert();
      },
      [&] { Feld->setText(QString::fromStdString(KommazahlAlsText(2, Winkel))); });
}

void TForm1::EPlusExit() { WinkelVerlassen(EPlus, Regelsystem.WinkelPlus, "WinkelPlus"); }

void TForm1::EMinusExit() { WinkelVerlassen(EMinus, Regelsystem.WinkelMinus, "WinkelMinus"); }

void TForm1::Ueberschrift(const QString& Pfad) {
  GRegelsystem->setTitle(QStringLiteral("Regelsystem:  ") + QFileInfo(Pfad).fileName().toUpper());
}

void TForm1::BLoadClick() {
  Behandeln(this, [&] {
    OpenDialog->selectFile(OpenName);
    if (DateidialogAusfuehren(OpenDialog) == QDialog::Accepted &&
        !OpenDialog->selectedFiles().isEmpty()) {
      OpenName = OpenDialog->selectedFiles().front();
      DateiLaden(OpenName);
      return;
    }
    RegelsystemAnzeigen();
    WinkelAnzeigen();
  });
}

void TForm1::DateiLaden(const QString& Pfad) {
  if (const std::optional<std::string> Text = RegelnOderRezeptLesen(Dateiname(Pfad), Regelsystem)) {
    // The recipe is read and checked whole before anything changes.
    const TLauf Rezept = RezeptAusText(*Text);
    RegelsystemUebernehmen(Rezept, Regelsystem);
    if (RezeptUebergeben) RezeptUebergeben(Rezept);
  }
  GeladeneDatei = Pfad;
  Ueberschrift(Pfad);
  RegelsystemAnzeigen();
  WinkelAnzeigen();
  Geaendert();
}

void TForm1::Geaendert() {
  RegelwahlHinweisSetzen();
  if (RegelsystemGeaendert) RegelsystemGeaendert();
}

void TForm1::dragEnterEvent(QDragEnterEvent* Ereignis) {
  if (Ereignis->mimeData()->hasUrls()) Ereignis->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* Ereignis) {
  const QList<QUrl> Adressen = Ereignis->mimeData()->urls();
  Ereignis->acceptProposedAction();
  // Loaded once the drop is over: the program it came from must not wait on a message.
  QTimer::singleShot(0, this, [this, Adressen] { Ablegen(Adressen); });
}

void TForm1::Ablegen(const QList<QUrl>& Adressen) {
  Behandeln(this, [&] {
    if (Adressen.size() > 1) {
      MeldungZeigen(QStringLiteral("Es lässt sich nur eine Datei auf einmal laden; abgelegt "
                                   "wurden %1. Keine davon wurde geladen.")
                        .arg(Adressen.size()),
                    this);
      return;
    }
    const QString Pfad = Adressen.isEmpty() ? QString() : Adressen.front().toLocalFile();
    const QString Endung = QFileInfo(Pfad).suffix().toUpper();
    if (Pfad.isEmpty() || !(Endung == QLatin1String("LSY") || IstBilddatei(Dateiname(Pfad)))) {
      const QString Name = Adressen.isEmpty() ? QString() : Adressen.front().fileName();
      MeldungZeigen(QStringLiteral("„%1“ lässt sich nicht laden: hier lassen sich nur "
                                   "Regelsysteme (.LSY) und Bilder mit Rezept (.png, .svg) "
                                   "ablegen.")
                        .arg(Name),
                    this);
      return;
    }
    OpenName = Pfad;
    DateiLaden(Pfad);
  });
}

void TForm1::BSaveClick() {
  Behandeln(this, [&] {
    QString Name = SaveName;
    for (;;) {
      SaveDialog->selectFile(Name);
      if (DateidialogAusfuehren(SaveDialog) != QDialog::Accepted ||
          SaveDialog->selectedFiles().isEmpty()) {
        MeldungZeigen(QStringLiteral("Regelsystem nicht gespeichert."), this);
        return;
      }
      const QFileInfo Datei(SaveDialog->selectedFiles().front());
      if (!IstBilddatei(Dateiname(Datei.filePath()))) break;
      // A rule system under a picture's name would replace the picture by text.
      MeldungZeigen(QStringLiteral("„%1“ ist kein Name für ein Regelsystem: die Endung „.%2“ "
                                   "gehört zu Bildern. Regelsysteme werden als .LSY-Datei "
                                   "gespeichert.")
                        .arg(Datei.fileName(), Datei.suffix()),
                    this);
      Name = Datei.dir().filePath(Datei.completeBaseName() + QStringLiteral(".LSY"));
    }
    SaveName = SaveDialog->selectedFiles().front();
    Regelsystem.Speichern(Dateiname(SaveName));
    Ueberschrift(SaveName);
    // Pictures drawn from now on are named after the file the rules now live in.
    GeladeneDatei = SaveName;
  });
}

void TForm1::BZeichnenClick() {
  Behandeln(this, [&] {
    if (ZeichenfensterOeffnen) ZeichenfensterOeffnen(Regelsystem);
  });
}

void TForm1::BLupeClick() {
  Behandeln(this, [&] {
    if (LupeOeffnen) LupeOeffnen();
  });
}

void TForm1::BWachstumClick() {
  Behandeln(this, [&] {
    if (WachstumOeffnen) WachstumOeffnen(Regelsystem);
  });
}

void TForm1::BGestaltungClick() {
  Behandeln(this, [&] {
    if (GestaltungOeffnen) GestaltungOeffnen(Regelsystem);
  });
}

void TForm1::ETiefeStringExit() {
  Behandeln(this, [&] {
    const std::string Text = NachCp1252(ETiefeString->text());
    if (IstGanzzahl(Text))
      Regelsystem.Tiefe = GanzzahlWert(Text);
    else
      ETiefeString->setText(QString::number(Regelsystem.Tiefe));
  });
}

void TForm1::BAnzeigenClick() {
  Behandeln(this, [&] {
    const int32_t Tiefe = GanzzahlWert(NachCp1252(ETiefeString->text()));
    // The strings the drawing draws, from the seed in force now.
    const bool Wahl = Einstellungen.Regelwahl == TRegelwahl::Zufaellig;
    const uint32_t Saat = Einstellungen.Saat;
    const std::string Alle =
        Wahl ? Regelsystem.Ableitung(Tiefe, Saat) : Regelsystem.Ableitung(Tiefe);
    if (Alle.size() >= 1000) {
      MeldungZeigen(QStringLiteral("Zeichenfolgen zu lang zur Anzeige: \r\n") +
                        QString::number(Alle.size()) + QStringLiteral("  Zeichen"),
                    this);
      return;
    }
    MBildStringAlle->setPlainText(AusCp1252(Alle));
    // With leaves their characters are terminal, as the drawing takes them.
    std::string Terminal = Alle;
    Regelsystem.NichtterminaleEntfernen(Terminal,
                                        Einstellungen.Zeichensatz == TZeichensatz::MitBlaettern);
    MBildStringTerminal->setPlainText(AusCp1252(Terminal));
  });
}
