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
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QUrl>

#include "drawing/Rezept.h"
#include "gui/Beschriftung.h"
#include "gui/Dialoge.h"
#include "gui/Klicks.h"
#include "gui/Schrift.h"
#include "helpers/Hilfen.h"
#include "mainwindow/AboutBoxDialog.h"
#include "mainwindow/Baumbilder.h"
#include "turtle/Bilddatei.h"

TForm1* Form1 = nullptr;

namespace {

const QString Platzhalter = QStringLiteral("* -> *");
const QString Regelsystemtitel = QStringLiteral("Regelsystem");

QLabel* Beschriftung(const QString& Text, QWidget* Eltern, int X, int Y, bool Fett = false) {
  auto* L = new QLabel(Text, Eltern);
  if (Fett) L->setFont(Schrift(Eltern->font().pixelSize(), true));
  L->move(X, Y);
  L->adjustSize();
  return L;
}

QPushButton* Knopf(const QString& Text, const QString& Hinweis, QWidget* Eltern, QRect Ort) {
  auto* B = new QPushButton(Text, Eltern);
  B->setToolTip(Hinweis);
  B->setGeometry(Ort);
  return B;
}

QLineEdit* Feld(const QString& Hinweis, QWidget* Eltern, QRect Ort) {
  auto* E = new QLineEdit(Eltern);
  E->setToolTip(Hinweis);
  E->setGeometry(Ort);
  E->setMaxLength(1 << 30);
  return E;
}

QPlainTextEdit* Textfeld(const QString& Hinweis, QWidget* Eltern, QRect Ort) {
  auto* M = new QPlainTextEdit(Eltern);
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

QFrame* Rahmen(QWidget* Eltern, QRect Ort) {
  auto* F = new QFrame(Eltern);
  F->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  F->setGeometry(Ort);
  return F;
}

QFileDialog* Dateidialog(const QString& Titel, QFileDialog::AcceptMode Modus, QWidget* Eltern) {
  auto* D = new QFileDialog(Eltern, Titel, QDir::currentPath());
  // Qt's own dialog, so that its texts follow the program's language.
  D->setOption(QFileDialog::DontUseNativeDialog);
  DateisymboleSetzen(D);
  D->setAcceptMode(Modus);
  D->setFileMode(Modus == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                  : QFileDialog::AnyFile);
  QStringList Filter{QStringLiteral("Lindenmayer-Regelsysteme (*.LSY)")};
  // Pictures carry the rule system they were drawn with.
  if (Modus == QFileDialog::AcceptOpen) Filter << QStringLiteral("Bilder mit Rezept (*.png *.svg)");
  D->setNameFilters(Filter);
  D->setDefaultSuffix(QStringLiteral("LSY"));
  return D;
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

TForm1::TForm1(const QStringList& Argumente, QWidget* Eltern) : QWidget(Eltern) {
  SteuerelementeAnlegen();
  if (AboutBox) ProduktInfoZeigen(AboutBox);
  Starten(Argumente);
}

TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::SteuerelementeAnlegen() {
  setWindowTitle(QStringLiteral("Rankenwerk 4.0") + QString(30, QLatin1Char(' ')) +
                 QStringLiteral("© Rankenwerk-Team"));
  setWindowIcon(ProgrammIcon());
  setFont(Schrift(10));
  resize(722, 500);
  setAcceptDrops(true);
  move(119, 164);

  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setGeometry(0, 332, 579, 72);
  Bevel2 = Rahmen(Panel1, {7, 7, 143, 59});
  BLoad =
      Knopf("Regelsystem laden", "Regelsystem mit Extension .LSY laden", Panel1, {13, 13, 124, 20});
  BSave = Knopf("Regelsystem speichern",
                "Augenblicklich gültiges Regelsystem mit Extension .LSY speichern", Panel1,
                {13, 39, 124, 20});
  Bevel1 = Rahmen(Panel1, {156, 7, 157, 59});
  Label1 = Beschriftung("Winkel für +", Panel1, 169, 20);
  EPlus = Feld("Winkel zum Zeichnen von '+' angeben", Panel1, {234, 13, 66, 21});
  Label2 = Beschriftung("Winkel für -", Panel1, 169, 46);
  EMinus = Feld("Winkel zum Zeichnen von '-' angeben", Panel1, {234, 39, 66, 21});
  BZeichnen = Knopf("Zeichnen", "Zeichnung zum Regelsystem", Panel1, {325, 7, 105, 20});

  GRegelsystem = new QGroupBox(Regelsystemtitel, this);
  GRegelsystem->setFont(Schrift(11));
  GRegelsystem->setGeometry(7, 7, 338, 299);
  LAxiom = Beschriftung("Axiom", GRegelsystem, 7, 26, true);
  EAxiom = Feld("Axiom eingeben", GRegelsystem, {7, 46, 325, 21});
  LRegelEditieren = Beschriftung("Regel editieren", GRegelsystem, 7, 78, true);
  Label3 = Beschriftung("(mit  ENTER  bestätigen, mit ESC abbrechen)", GRegelsystem, 111, 78);
  ERegel = Feld("Ausgewählte Regel editieren", GRegelsystem, {7, 98, 325, 21});
  Button1 =
      Knopf("Regel löschen", "Ausgewählte Regel ganz löschen", GRegelsystem, {130, 124, 92, 20});
  BRegelEinfuegen =
      Knopf("Neue Regel ", "Neue Regel hinzufügen", GRegelsystem, {228, 124, 104, 20});
  LRegelsystem = Beschriftung("Gültige Regeln", GRegelsystem, 7, 130, true);
  LBRegeln = new QListWidget(GRegelsystem);
  LBRegeln->setToolTip("Alle gültigen Regeln des Regelsystems");
  LBRegeln->setGeometry(7, 150, 325, 137);  // kept inside the group frame
  LBRegeln->setSelectionMode(QAbstractItemView::SingleSelection);
  LBRegeln->setUniformItemSizes(true);
  LBRegeln->setItemDelegate(new TZeilenhoehe(LBRegeln));

  GroupBox1 = new QGroupBox("Erzeugte Zeichenfolgen", this);
  GroupBox1->setGeometry(358, 7, 221, 299);
  LAlleZeichen = Beschriftung("Alle Zeichen", GroupBox1, 7, 20);
  MBildStringAlle =
      Textfeld("Zeichenfolge mit allen Zeichen, auch Terminalzeichen", GroupBox1, {7, 33, 208, 98});
  LTerminalzeichen = Beschriftung("Terminalzeichen", GroupBox1, 7, 137);
  MBildStringTerminal = Textfeld("Zeichenfolge, bei der die Nicht-Terminalzeichen eliminiert sind",
                                 GroupBox1, {7, 150, 208, 111});
  Label4 = Beschriftung("Tiefe", GroupBox1, 13, 273);
  ETiefeString = Feld("Entwicklungstiefe der Zeichenfolge", GroupBox1, {46, 267, 52, 21});
  BAnzeigen = Knopf("Anzeigen", "Anzeige der produzierten Zeichenfolge mit nebenstehender Tiefe",
                    GroupBox1, {150, 267, 65, 20});

  QWidget* const Reihenfolge[] = {BZeichnen,       BLoad,
                                  BSave,           EPlus,
                                  EMinus,          EAxiom,
                                  LBRegeln,        ERegel,
                                  Button1,         BRegelEinfuegen,
                                  MBildStringAlle, ETiefeString,
                                  BAnzeigen,       MBildStringTerminal};
  for (size_t i = 1; i < std::size(Reihenfolge); ++i)
    setTabOrder(Reihenfolge[i - 1], Reihenfolge[i]);

  QWidget* const Beobachtet[] = {EAxiom, ERegel, EPlus, EMinus, ETiefeString, LBRegeln};
  for (QWidget* W : Beobachtet) W->installEventFilter(this);

  connect(LBRegeln, &QListWidget::currentRowChanged, this, [this] { LBRegelnClick(); });
  connect(Button1, &QPushButton::clicked, this, &TForm1::RegelLoeschen);
  connect(BRegelEinfuegen, &QPushButton::clicked, this, &TForm1::RegelEinfuegen);
  connect(BLoad, &QPushButton::clicked, this, &TForm1::BLoadClick);
  connect(BSave, &QPushButton::clicked, this, &TForm1::BSaveClick);
  connect(BZeichnen, &QPushButton::clicked, this, &TForm1::BZeichnenClick);
  connect(BAnzeigen, &QPushButton::clicked, this, &TForm1::BAnzeigenClick);

  OpenDialog = Dateidialog("Lindenmayer-Regelsystem laden", QFileDialog::AcceptOpen, this);
  SaveDialog = Dateidialog("Lindenmayer-Regelsystem speichern", QFileDialog::AcceptSave, this);
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
}

void TForm1::WinkelAnzeigen() {
  EPlus->setText(QString::fromStdString(KommazahlAlsText(2, Regelsystem.WinkelPlus)));
  EMinus->setText(QString::fromStdString(KommazahlAlsText(2, Regelsystem.WinkelMinus)));
}

bool TForm1::eventFilter(QObject* Objekt, QEvent* Ereignis) {
  if (Ereignis->type() == QEvent::KeyPress) {
    const int Taste = static_cast<QKeyEvent*>(Ereignis)->key();
    bool Verbraucht = false;
    Behandeln(this, [&] {
      if (Objekt == EAxiom && (IstEnter(Taste) || Taste == Qt::Key_Escape)) {
        EAxiomKeyDown(Taste);
        Verbraucht = true;
      } else if (Objekt == ERegel && (IstEnter(Taste) || Taste == Qt::Key_Escape)) {
        ERegelKeyDown(Taste);
        Verbraucht = true;
      } else if (Objekt == LBRegeln && (Taste == Qt::Key_Insert || Taste == Qt::Key_Delete)) {
        LBRegelnKeyDown(Taste);
        Verbraucht = true;
      }
    });
    return Verbraucht;
  }
  if (Ereignis->type() == QEvent::FocusOut) {
    // Switching to another window or a message box is no leaving of the field.
    const Qt::FocusReason Grund = static_cast<QFocusEvent*>(Ereignis)->reason();
    if (Grund == Qt::ActiveWindowFocusReason || Grund == Qt::PopupFocusReason) return false;
    if (Objekt == EAxiom)
      EAxiomExit();
    else if (Objekt == ERegel)
      ERegelExit();
    else if (Objekt == EPlus)
      EPlusExit();
    else if (Objekt == EMinus)
      EMinusExit();
    else if (Objekt == ETiefeString)
      ETiefeStringExit();
  }
  return false;
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

void TForm1::WinkelVerlassen(QLineEdit* Feld, double& Winkel, const QString& Meldung) {
  Behandeln(this, [&] {
    const std::string Text = NachCp1252(Feld->text());
    if (!IstKommazahl(Text)) {
      MeldungZeigen(Meldung, this);
    } else {
      try {
        const double Neu = TextAlsKommazahl(Text);
        const bool Anders = Neu != Winkel;
        Winkel = Neu;
        if (Anders) Geaendert();
        return;
      } catch (const std::exception& Fehler) {
        // Beyond the range of a double: reported, and the field shows the angle in force.
        FehlerZeigen(Fehler, this);
      }
    }
    Feld->setText(QString::fromStdString(KommazahlAlsText(2, Winkel)));
  });
}

void TForm1::EPlusExit() {
  WinkelVerlassen(EPlus, Regelsystem.WinkelPlus,
                  QStringLiteral("Winkel für \"+\" hat falsches Format."));
}

void TForm1::EMinusExit() {
  WinkelVerlassen(EMinus, Regelsystem.WinkelMinus,
                  QStringLiteral("Winkel für \"-\" hat falsches Format."));
}

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
  const std::string Datei = Dateiname(Pfad);
  if (IstBilddatei(Datei)) {
    // The recipe is read and checked whole before anything changes.
    const TRezept Rezept = RezeptAusText(RezeptTextLesen(Datei));
    RegelsystemAusRezept(Rezept, Regelsystem);
    if (RezeptUebergeben) RezeptUebergeben(Rezept);
  } else {
    Regelsystem.Laden(Datei);
  }
  GeladeneDatei = Pfad;
  Ueberschrift(Pfad);
  RegelsystemAnzeigen();
  WinkelAnzeigen();
  Geaendert();
}

void TForm1::Geaendert() {
  if (RegelsystemGeaendert) RegelsystemGeaendert();
}

void TForm1::dragEnterEvent(QDragEnterEvent* Ereignis) {
  if (Ereignis->mimeData()->hasUrls()) Ereignis->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* Ereignis) {
  const QList<QUrl> Adressen = Ereignis->mimeData()->urls();
  Ereignis->acceptProposedAction();
  Behandeln(this, [&] {
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
    SaveDialog->selectFile(SaveName);
    if (DateidialogAusfuehren(SaveDialog) == QDialog::Accepted &&
        !SaveDialog->selectedFiles().isEmpty()) {
      SaveName = SaveDialog->selectedFiles().front();
      Regelsystem.Speichern(Dateiname(SaveName));
      Ueberschrift(SaveName);
    } else {
      MeldungZeigen(QStringLiteral("Regelsystem nicht gespeichert."), this);
    }
  });
}

void TForm1::BZeichnenClick() {
  Behandeln(this, [&] {
    if (ZeichenfensterOeffnen) ZeichenfensterOeffnen(Regelsystem);
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
    const std::string Alle = Regelsystem.Ableitung(Tiefe);
    if (Alle.size() >= 1000) {
      MeldungZeigen(QStringLiteral("Zeichenfolgen zu lang zur Anzeige: \r\n") +
                        QString::number(Alle.size()) + QStringLiteral("  Zeichen"),
                    this);
      return;
    }
    MBildStringAlle->setPlainText(AusCp1252(Alle));
    MBildStringTerminal->setPlainText(AusCp1252(Regelsystem.TerminalAbleitung(Tiefe)));
  });
}
