#include "mainwindow/Affenantwort.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "drawing/LSystemZeichnen.h"
#include "mainwindow/Affe.h"
#include "mainwindow/Affenhand.h"
#include "mainwindow/Affenpruefung.h"

namespace {

// Names typed into the rule-system dialogs besides those of the folder's files.
const QStringList NeueNamen = QStringLiteral(
                                  "neu|neu.LSY|Neue Datei.lsy|sub/x.LSY|fehlt/x.LSY|| |..|sub|"
                                  "a.txt|*.LSY|temp.LSY")
                                  .split(u'|');

// Names for pictures: both kinds, endings the program refuses (it asks again)
// and none (the dialog adds the one of its filter).
const QStringList Bildnamen = QStringLiteral(
                                  "bild.png|bild.svg|Bild.PNG|zeichnung.svg|x.jpg|bild|bild.LSY|"
                                  "sub/b.png|fehlt/x.png|| |..|sub|neu.png")
                                  .split(u'|');

QAbstractButton* DialogKnopf(QWidget* D, QDialogButtonBox::ButtonRole Rolle) {
  auto* Leiste = D->findChild<QDialogButtonBox*>();
  if (!Leiste) return nullptr;
  for (QAbstractButton* B : Leiste->buttons())
    if (Leiste->buttonRole(B) == Rolle && B->isVisible() && B->isEnabled()) return B;
  return nullptr;
}

}  // namespace

TAffenantwort::TAffenantwort(TAffenbuch& Buch, THand& Hand, TAffenpruefung& Pruefung, TAffe& Plan,
                             QString Ordner, int GrenzeMs)
    : TAffenteil(Buch),
      Hand(Hand),
      Pruefung(Pruefung),
      Plan(Plan),
      Ordner(std::move(Ordner)),
      GrenzeMs(GrenzeMs),
      Geplant(std::chrono::steady_clock::now()) {
  Antworter.Staendig([this](QWidget* M) { return Ticken(M); });
}

// Ticks nested deeper than EreignisTiefe start no events, but still answer
// what is open, or a dialog opened there would wait for good.
bool TAffenantwort::Ticken(QWidget* M) {
  const double Verspaetung = Millisekunden(Geplant) - 2;
  Geplant = std::chrono::steady_clock::now();
  if (Stopp) {
    Notausgang();
    return false;
  }
  if (Verspaetung > GrenzeMs && Verschachtelung == 0)
    Verletzt(QStringLiteral("ein Zeitgeber kam %1 ms zu spät").arg(qRound(Verspaetung)));
  AbbruchBeobachten();
  Pruefung.AblageBeobachten();
  const bool Offen = QApplication::activeModalWidget() || QApplication::activePopupWidget();
  if (Verschachtelung >= EreignisTiefe && (!Offen || Verschachtelung > AntwortTiefe)) return false;
  ++Verschachtelung;
  const bool Beantwortet = Handeln(M);
  --Verschachtelung;
  return Beantwortet;
}

// A person answers once the dialog is there and active.
bool TAffenantwort::Handeln(QWidget* M) {
  if (Dialog && !Dialog->isVisible()) Dialog = nullptr;
  if (M) {
    if (M != Beobachtet) {
      Beobachtet = M;
      Reife = 0;
    }
    if (++Reife < 3 || (!M->isActiveWindow() && Reife < 25)) return false;
    Reife = 0;
    if (QWidget* P = QApplication::activePopupWidget()) {
      Hand.PopupBeantworten(P);
      return false;
    }
    if (Hand.Loslassen == THand::TLoslassen::Geschluckt) {
      Log(QStringLiteral("  Loslassen auf ") + Name(M));
      Hand.Loslassen = THand::TLoslassen::Keins;
      QTest::mouseRelease(M->windowHandle(), Qt::LeftButton, {}, QPoint(1, 1));
      return false;
    }
    Beantworten(M);
    return true;
  }
  if (QWidget* P = QApplication::activePopupWidget(); P && Buch.ImEreignis) {
    if (++Reife < 3) return false;
    Reife = 0;
    Hand.PopupBeantworten(P);
    return false;
  }
  if (FZeichenform && FZeichenform->ZeichnungLaeuft() && Verschachtelung <= EreignisTiefe) ImLauf();
  return false;
}

// Answers what is left open after a failure, so that the program can end.
void TAffenantwort::Notausgang() {
  if (FZeichenform) FZeichenform->ZeichnungBeenden();
  if (QWidget* P = QApplication::activePopupWidget()) P->close();
  if (QWidget* M = QApplication::activeModalWidget()) {
    if (auto* D = qobject_cast<QDialog*>(M))
      D->reject();
    else
      M->close();
  }
}

// While a drawing runs or a picture is saved, the user may stop it, or go
// on working elsewhere.
void TAffenantwort::ImLauf() {
  // A hand that holds a button down clicks no other.
  if (auto* K = qobject_cast<QAbstractButton*>(Hand.Festgehalten.data()); K && K->isDown()) return;
  if (!LaufGesehen) {
    LaufGesehen = true;
    LaufSeit = std::chrono::steady_clock::now();
  }
  QPushButton* Abbrechen = FZeichenform->BAbbrechen;
  if (Abbrechen->isVisible() && Abbrechen->isEnabled() &&
      (Buch.ZufallImLauf() % 100 == 0 || Millisekunden(LaufSeit) > 1500)) {
    Log(QStringLiteral("  im Lauf: Abbrechen"));
    Vermerken("Abbrechen");
    AbbruchGeklickt = true;
    AbbruchZeit = std::chrono::steady_clock::now();
    LaufSeit = AbbruchZeit;
    Hand.Aktivieren(Abbrechen);
    QTest::mouseClick(Abbrechen->window()->windowHandle(), Qt::LeftButton, {},
                      Abbrechen->mapTo(Abbrechen->window(), Abbrechen->rect().center()));
    Zaehlen(Abbrechen);
    return;
  }
  if (Buch.ZufallImLauf() % 50 == 0) NebenbeiArbeiten();
}

// One event fired from inside a run or a save. It and the dialogs it opens
// draw from the run's generator, so that the main sequence does not depend
// on when the run gave way.
void TAffenantwort::NebenbeiArbeiten() {
  if (LaufEreignisse > 0) return;
  ++LaufEreignisse;
  Vermerken("Ereignisse im Lauf");
  Log(QStringLiteral("  im Lauf:"));
  std::swap(Buch.Zufall, Buch.ZufallImLauf);
  Plan.Ereignis();
  std::swap(Buch.Zufall, Buch.ZufallImLauf);
  --LaufEreignisse;
}

// The stop must take effect promptly: the run ends, or goes on to its next
// part (the drawing after a stopped fitting, with its message first).
void TAffenantwort::AbbruchBeobachten() {
  if (!FZeichenform) return;
  const bool Laeuft = FZeichenform->ZeichnungLaeuft();
  if (!Laeuft) LaufGesehen = false;
  if (!AbbruchGeklickt) return;
  if (Laeuft && !QApplication::activeModalWidget() && !FZeichenform->BAbbrechen->isVisible()) {
    if (Millisekunden(AbbruchZeit) > GrenzeMs)
      Verletzt(QStringLiteral("Abbrechen hielt die Zeichnung nicht in %1 ms an").arg(GrenzeMs));
    return;
  }
  AbbruchGeklickt = false;
}

// While the user holds a button down, only the keyboard answers.
void TAffenantwort::Beantworten(QWidget* M) {
  const bool NurTasten = Hand.Loslassen == THand::TLoslassen::Gehalten;
  if (auto* Box = qobject_cast<QMessageBox*>(M))
    BoxBeantworten(Box, NurTasten);
  else if (auto* D = qobject_cast<QFileDialog*>(M))
    DateidialogBeantworten(D, NurTasten);
  else if (auto* C = qobject_cast<QColorDialog*>(M))
    FarbdialogBeantworten(C, NurTasten);
  else if (auto* P = qobject_cast<QProgressDialog*>(M))
    FortschrittBeantworten(P, NurTasten);
  else if (IstProgrammfenster(M))
    DialogBeantworten(M, NurTasten);
  else {
    Log(QStringLiteral("  unbekannter Dialog %1 geschlossen").arg(Name(M)));
    M->close();
  }
}

// A dialog of the program: worked in for a few steps like any window
// (now and then with a click on a window it blocks), then closed, mostly
// with its default button, as a person goes on.
void TAffenantwort::DialogBeantworten(QWidget* D, bool NurTasten) {
  const std::vector<TSteuerelement> L = Steuerelemente(D);
  QPushButton* Vorgabe = nullptr;
  std::vector<QAbstractButton*> Knoepfe;
  for (const TSteuerelement& S : L)
    if (auto* B = qobject_cast<QPushButton*>(S.W); B && B->isEnabled()) {
      Knoepfe.push_back(B);
      if (B->isDefault()) Vorgabe = B;
    }
  if (D != Dialog) {
    Dialog = D;
    Vermerken(QStringLiteral("Dialog ") + Name(D));
    Pruefung.NamenPruefen(D);
    Pruefung.DialogGeoeffnet(D);
    if (Stopp) return;
    DialogUebrig = Vorgabe && Chance(60) ? 0 : Wurf(static_cast<int>(L.size()) + 1);
    // Now and then a person first clicks where the dialog does not let them.
    if (!NurTasten && Chance(15)) {
      GesperrtBedienen();
      return;
    }
  } else {
    Pruefung.DialogPruefen(D);
    if (Stopp) return;
  }
  if (DialogUebrig-- > 0 && !NurTasten) {
    const int r = Wurf(100);
    if (r < 75) {
      if (const std::optional<TSteuerelement> S = Plan.Waehlen(L)) Plan.Bedienen(*S);
    } else if (r < 88) {
      static const Qt::Key Tasten[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_Return,
                                       Qt::Key_Enter};
      Hand.Taste(THand::Tastenziel(), Eines(Tasten));
    } else {
      GesperrtBedienen();
    }
    return;
  }
  const int r = Wurf(100);
  if (Vorgabe && r < 55) {
    const int k = Wurf(3);
    if (k == 0 || NurTasten)
      Hand.Taste(THand::Tastenziel(), Qt::Key_Return);
    else if (k == 1 && QApplication::focusWidget() == Vorgabe)
      Hand.Taste(Vorgabe, Qt::Key_Space);
    else
      Hand.KnopfDruecken(Vorgabe, NurTasten);
  } else if (r < 75 && !Knoepfe.empty()) {
    Hand.KnopfDruecken(Eines(Knoepfe), NurTasten);
  } else if (r < 88) {
    Hand.Taste(THand::Tastenziel(), Chance(50) ? Qt::Key_Escape : Qt::Key_Return);
  } else {
    Hand.Rahmen(D);
  }
}

// A control of a window the open dialog blocks: Qt must let nothing through.
void TAffenantwort::GesperrtBedienen() {
  std::vector<TSteuerelement> L;
  for (QWidget* F : Arbeitsfenster())
    if (Gesperrt(F))
      for (const TSteuerelement& S : Steuerelemente(F)) L.push_back(S);
  if (const std::optional<TSteuerelement> S = Plan.Waehlen(L, 50)) Plan.Bedienen(*S);
}

void TAffenantwort::BoxBeantworten(QMessageBox* Box, bool NurTasten) {
  const QString Inhalt = Box->text();
  Vermerken("Meldungen");
  if (Inhalt.startsWith(QStringLiteral("Regel geändert aber nicht übernommen")) ||
      Inhalt.startsWith(QStringLiteral("Fehler in der Regel")))
    Pruefung.ERegelFrei = true;
  const QString Kurz = Inhalt.left(60).replace(QLatin1String("\r\n"), QLatin1String(" / "));
  const int r = Wurf(100);
  const QList<QAbstractButton*> Knoepfe = Box->buttons();
  if (r < 55 && !Knoepfe.isEmpty()) {
    QAbstractButton* K = Knoepfe[Wurf(static_cast<int>(Knoepfe.size()))];
    Log(QStringLiteral("  Box '%1': %2").arg(Kurz, K->text()));
    Hand.KnopfDruecken(K, NurTasten);
  } else if (r < 70) {
    Log(QStringLiteral("  Box '%1': Escape").arg(Kurz));
    Hand.Taste(Box, Qt::Key_Escape);
  } else if (r < 85 || NurTasten) {
    Log(QStringLiteral("  Box '%1': Eingabe").arg(Kurz));
    Hand.Taste(Box, Chance(50) ? Qt::Key_Return : Qt::Key_Enter);
  } else {
    Log(QStringLiteral("  Box '%1'").arg(Kurz));
    Hand.Rahmen(Box);
  }
}

QString TAffenantwort::Dateiname(const QFileDialog* D) {
  const QStringList Vorhanden =
      QDir(Ordner).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
  if (Chance(55) && !Vorhanden.isEmpty()) {
    QStringList Bilder = Vorhanden.filter(QRegularExpression(
        QStringLiteral("\\.(png|svg)$"), QRegularExpression::CaseInsensitiveOption));
    const QString& N = !Bilder.isEmpty() && Chance(40) ? Eines(Bilder) : Eines(Vorhanden);
    return Chance(20) ? QDir(Ordner).absoluteFilePath(N) : N;
  }
  return Eines(IstBilddialog(D) ? Bildnamen : NeueNamen);
}

void TAffenantwort::DateidialogBeantworten(QFileDialog* D, bool NurTasten) {
  Vermerken("Dateidialoge");
  // The folders the monkey works in are its own: a dialog that went
  // elsewhere (".." typed) is brought back first.
  const QString Dort = D->directory().canonicalPath();
  const QString Hier = QDir(Ordner).canonicalPath();
  if (Dort != Hier && !Dort.startsWith(Hier + QLatin1Char('/'))) D->setDirectory(Ordner);
  if (!D->property("affeBeobachtet").toBool()) {
    D->setProperty("affeBeobachtet", true);
    QObject::connect(D, &QFileDialog::fileSelected, D,
                     [this, D](const QString& Datei) { Pruefung.BildGewaehlt(D, Datei); });
  }
  auto* Name = D->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  const int r = Wurf(100);
  if (r < 8) {
    // The other type: for pictures it changes the ending added to a bare name.
    if (auto* Typ = D->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        Typ && Typ->isVisible() && Typ->count() > 1) {
      Log(QStringLiteral("  Dateidialog: anderer Typ"));
      Typ->setFocus(Qt::TabFocusReason);
      Hand.Taste(Typ, Chance(50) ? Qt::Key_Down : Qt::Key_Up);
      return;
    }
  }
  if (r < 68 && Name) {
    const QString N = Dateiname(D);
    // Typed, the name opens the completion list, which must close with the dialog.
    if (Chance(50)) {
      Log(QStringLiteral("  Dateidialog: setzt '%1'").arg(N));
      Name->setText(N);
    } else {
      Log(QStringLiteral("  Dateidialog: tippt '%1'").arg(N));
      Name->setFocus(Qt::TabFocusReason);
      Hand.Taste(Name, Qt::Key_A, Qt::ControlModifier);
      for (QChar Z : N)
        THand::Zeichen(QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                         : static_cast<QWidget*>(Name),
                       Z);
    }
    QAbstractButton* Ok = DialogKnopf(D, QDialogButtonBox::AcceptRole);
    if (Chance(50) || !Ok) {
      Hand.Taste(Name, Qt::Key_Return);
    } else {
      Log(QStringLiteral("  Dateidialog: ") + Ok->text());
      Hand.KnopfDruecken(Ok, NurTasten);
    }
    return;
  }
  const int k = Wurf(3);
  if (k == 0 || NurTasten) {
    Log(QStringLiteral("  Dateidialog: Escape"));
    Hand.Taste(D, Qt::Key_Escape);
  } else if (QAbstractButton* Ab = DialogKnopf(D, QDialogButtonBox::RejectRole); Ab && k == 1) {
    Log(QStringLiteral("  Dateidialog: ") + Ab->text());
    Hand.KnopfDruecken(Ab, NurTasten);
  } else {
    Hand.PopupSchliessen();
    Hand.Rahmen(D);
  }
}

void TAffenantwort::FarbdialogBeantworten(QColorDialog* C, bool NurTasten) {
  Vermerken("Farbdialoge");
  if (Chance(60)) {
    const QColor Farbe(Wurf(256), Wurf(256), Wurf(256));
    Log(QStringLiteral("  Farbdialog: %1, OK").arg(Farbe.name()));
    C->setCurrentColor(Farbe);
    if (QAbstractButton* Ok = DialogKnopf(C, QDialogButtonBox::AcceptRole); Ok && !NurTasten)
      Hand.KnopfDruecken(Ok, false);
    else
      Hand.Taste(C, Qt::Key_Return);
    return;
  }
  if (Chance(50) || NurTasten) {
    Log(QStringLiteral("  Farbdialog: Escape"));
    Hand.Taste(C, Qt::Key_Escape);
  } else {
    Hand.Rahmen(C);
  }
}

// The progress of an SVG being written: waited for, stopped, or worked
// beside in the windows it does not block.
void TAffenantwort::FortschrittBeantworten(QProgressDialog* P, bool NurTasten) {
  Vermerken("Fortschrittsanzeigen");
  const int r = Wurf(100);
  if (r < 50) {
    if (Buch.ZufallImLauf() % 4 == 0) NebenbeiArbeiten();
    return;
  }
  if (r < 75) {
    if (auto* Ab = P->findChild<QPushButton*>(); Ab && Ab->isVisible()) {
      Log(QStringLiteral("  Fortschritt: ") + Ab->text());
      Hand.KnopfDruecken(Ab, NurTasten);
      return;
    }
  }
  if (r < 90 || NurTasten) {
    Log(QStringLiteral("  Fortschritt: Escape"));
    Hand.Taste(P, Qt::Key_Escape);
  } else {
    Hand.Rahmen(P);
  }
}
