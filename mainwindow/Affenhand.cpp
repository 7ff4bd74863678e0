#include "mainwindow/Affenhand.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>

#include "mainwindow/Affenpruefung.h"
#include "mainwindow/LsystemHauptfenster.h"

namespace {

QString Fenstername(const QWidget* W) {
  const QWidget* F = W->window();
  return Benannt(F) ? F->objectName() : QString::fromLatin1(F->metaObject()->className());
}

QString Vollname(const QWidget* W) { return Fenstername(W) + QLatin1Char('.') + W->objectName(); }

// Qt's own dialogs are answered as what they are.
bool IstQtDialog(const QWidget* W) {
  return qobject_cast<const QMessageBox*>(W) || qobject_cast<const QFileDialog*>(W) ||
         qobject_cast<const QColorDialog*>(W) || qobject_cast<const QProgressDialog*>(W) ||
         qobject_cast<const QInputDialog*>(W) || qobject_cast<const QFontDialog*>(W);
}

bool IstRadiogruppe(const QWidget* W) {
  if (!qobject_cast<const QGroupBox*>(W)) return false;
  for (const QObject* K : W->children())
    if (qobject_cast<const QRadioButton*>(K)) return true;
  return false;
}

// What a widget is as a control, if it is one: radio items count for their
// group; the program's own widgets drawn by themselves (classes T... made
// straight from QWidget) are surfaces.
std::optional<TArt> Steuerart(const QWidget* W) {
  if (W->isWindow()) return std::nullopt;
  if (IstRadiogruppe(W)) return TArt::Radiogruppe;
  if (qobject_cast<const QRadioButton*>(W) && W->parentWidget() &&
      IstRadiogruppe(W->parentWidget()))
    return std::nullopt;
  if (qobject_cast<const QAbstractButton*>(W)) return TArt::Knopf;
  if (qobject_cast<const QLineEdit*>(W)) return TArt::Feld;
  if (qobject_cast<const QAbstractSpinBox*>(W)) return TArt::Drehfeld;
  if (qobject_cast<const QComboBox*>(W)) return TArt::Auswahl;
  if (qobject_cast<const QAbstractSlider*>(W)) return TArt::Schieber;
  if (qobject_cast<const QPlainTextEdit*>(W) || qobject_cast<const QTextEdit*>(W))
    return TArt::Textfeld;
  if (qobject_cast<const QAbstractItemView*>(W)) return TArt::Liste;
  const QMetaObject* M = W->metaObject();
  if (M->superClass() == &QWidget::staticMetaObject && M->className()[0] == 'T')
    return TArt::Flaeche;
  return std::nullopt;
}

void Sammeln(QWidget* W, bool AuchVerborgene, std::vector<TSteuerelement>& L,
             QStringList* Unbenannt) {
  for (QObject* O : W->children()) {
    auto* K = qobject_cast<QWidget*>(O);
    if (!K || K->isWindow() || (!AuchVerborgene && !K->isVisible())) continue;
    if (const std::optional<TArt> Art = Steuerart(K); Art && Benannt(K)) {
      L.push_back({K, *Art, Vollname(K)});
      continue;
    } else if (Art && K->objectName().isEmpty()) {
      const auto* B = qobject_cast<QAbstractButton*>(K);
      if (Unbenannt)
        *Unbenannt << QStringLiteral("%1: %2 %3")
                          .arg(Fenstername(K), QString::fromLatin1(K->metaObject()->className()),
                               B ? "'" + B->text() + "'" : QString());
      continue;
    }
    Sammeln(K, AuchVerborgene, L, Unbenannt);
  }
}

}  // namespace

bool Benannt(const QObject* O) {
  return !O->objectName().isEmpty() && !O->objectName().startsWith(QLatin1String("qt_"));
}

bool IstProgrammfenster(const QWidget* W) {
  if (!W->isWindow() || IstQtDialog(W) || W->inherits("QTipLabel")) return false;
  const Qt::WindowType T = W->windowType();
  return T == Qt::Window || T == Qt::Dialog || T == Qt::Sheet || T == Qt::Tool;
}

bool Hintergrundbox(const QWidget* W) {
  return qobject_cast<const QProgressDialog*>(W) && W->windowModality() == Qt::NonModal;
}

bool IstArbeitsfenster(const QWidget* W) {
  return IstProgrammfenster(W) && !qobject_cast<const QDialog*>(W);
}

std::vector<TSteuerelement> Steuerelemente(QWidget* Fenster, bool AuchVerborgene,
                                           QStringList* Unbenannt) {
  std::vector<TSteuerelement> L;
  Sammeln(Fenster, AuchVerborgene, L, Unbenannt);
  return L;
}

std::optional<TSteuerelement> Zuordnen(QWidget* W) {
  if (!W || !IstProgrammfenster(W->window())) return std::nullopt;
  for (; !W->isWindow(); W = W->parentWidget())
    if (const std::optional<TArt> Art = Steuerart(W); Art && Benannt(W))
      return TSteuerelement{W, *Art, Vollname(W)};
  return std::nullopt;
}

QString Ortsname(QWidget* W) {
  if (const std::optional<TSteuerelement> S = Zuordnen(W)) return S->Name;
  for (QWidget* V = W; V && !V->isWindow(); V = V->parentWidget())
    if (Benannt(V)) return Vollname(V);
  return Fenstername(W) + QLatin1Char('.') + Fenstername(W);
}

QString Name(const QWidget* W) {
  if (!W) return QStringLiteral("(nichts)");
  auto* V = const_cast<QWidget*>(W);
  const std::optional<TSteuerelement> S = Zuordnen(V);
  if (auto* R = qobject_cast<const QRadioButton*>(W); R && S)
    return S->Name + QLatin1Char('.') + R->text();
  if (S) return S->Name;
  if (auto* B = qobject_cast<const QAbstractButton*>(W))
    return QStringLiteral("Knopf '%1'").arg(B->text());
  if (W->isWindow() || !IstProgrammfenster(W->window())) return Fenstername(W);
  return Ortsname(V);
}

bool InnerhalbVon(const QWidget* W, const QWidget* Steuerelement) {
  return W && (W == Steuerelement || Steuerelement->isAncestorOf(W));
}

std::vector<QWidget*> Programmfenster(bool AuchVerborgene) {
  std::vector<QWidget*> L;
  if (Form1 && (AuchVerborgene || Form1->isVisible())) L.push_back(Form1);
  for (QWidget* W : QApplication::topLevelWidgets())
    if (W != Form1 && IstProgrammfenster(W) && (AuchVerborgene || W->isVisible())) L.push_back(W);
  return L;
}

std::vector<QWidget*> Arbeitsfenster() {
  std::vector<QWidget*> L;
  for (QWidget* W : Programmfenster())
    if (IstArbeitsfenster(W)) L.push_back(W);
  return L;
}

bool IstBilddialog(const QFileDialog* D) {
  return D->acceptMode() == QFileDialog::AcceptSave &&
         D->nameFilters().join(QLatin1Char(' ')).contains(QLatin1String("*.png"));
}

// The most recent modal window first; its own windows are free, an
// application-modal one blocks all others, a window-modal one the windows it
// shares an ancestor with.
bool Gesperrt(const QWidget* Fenster) {
  const QWindow* F = Fenster->windowHandle();
  if (!F) return false;
  std::vector<QWindow*> Modale;
  if (QWidget* M = QApplication::activeModalWidget(); M && M->windowHandle())
    Modale.push_back(M->windowHandle());
  for (QWindow* M : QGuiApplication::topLevelWindows())
    if (M->isVisible() && M->modality() != Qt::NonModal &&
        std::find(Modale.begin(), Modale.end(), M) == Modale.end())
      Modale.push_back(M);
  const auto Eltern = [](const QWindow* W) {
    return W->parent() ? W->parent() : W->transientParent();
  };
  for (const QWindow* M : Modale) {
    if (M == F || M->isAncestorOf(F, QWindow::IncludeTransients)) return false;
    if (M->modality() == Qt::ApplicationModal) return true;
    for (const QWindow* W = F; W; W = Eltern(W))
      for (const QWindow* V = M; V; V = Eltern(V))
        if (V == W) return true;
  }
  return false;
}

// ---------------------------------------------------------------- the hand

std::optional<QPoint> THand::Treffpunkt(QWidget* W, QRect Bereich) {
  QWidget* F = W->window();
  const QRect R = Bereich.isNull() ? W->rect() : Bereich;
  for (int Versuch = 0; Versuch < 8; ++Versuch) {
    const QPoint P(R.x() + Wurf(R.width()), R.y() + Wurf(R.height()));
    const QPoint ImFenster = W->mapTo(F, P);
    if (!F->rect().contains(ImFenster)) continue;
    QWidget* Dort = F->childAt(ImFenster);
    if (InnerhalbVon(Dort, W)) return P;
  }
  return std::nullopt;
}

bool THand::Anklicken(QWidget* W, Qt::MouseButton Knopf) {
  const std::optional<QPoint> P = Treffpunkt(W);
  if (P) Klick(W, Knopf, *P);
  return P.has_value();
}

void THand::Doppelklick(QWidget* W) {
  const std::optional<QPoint> P = Treffpunkt(W);
  if (!P) return;
  PopupSchliessen();
  QWidget* F = W->window();
  if (!Gesperrt(F)) Aktivieren(F);
  Log(QStringLiteral("Doppelklick %1 bei %2,%3").arg(Name(W)).arg(P->x()).arg(P->y()));
  Zaehlen(W);
  QTest::mouseDClick(F->windowHandle(), Qt::LeftButton, {}, W->mapTo(F, *P));
}

void THand::ZiehenIn(QWidget* W, Qt::MouseButton Knopf) {
  const std::optional<QPoint> Von = Treffpunkt(W);
  const std::optional<QPoint> Nach = Treffpunkt(W);
  if (!Von || !Nach) return;
  std::vector<QPoint> Zug;
  const int Schritte = 1 + Wurf(4);
  for (int i = 1; i <= Schritte; ++i) Zug.push_back(*Von + (*Nach - *Von) * i / Schritte);
  Klick(W, Knopf, *Von, Zug);
}

void THand::Drehen(QWidget* W) {
  const std::optional<QPoint> P = Treffpunkt(W);
  if (!P) return;
  static const int Stufen[] = {120, -120, 120, -120, 240, -360, 15, -15, 0};
  const int Stufe = Eines(Stufen);
  const QPoint Winkel = Stufe == 0 ? QPoint(120, 0) : QPoint(0, Stufe);
  const Qt::KeyboardModifiers Mod = Chance(15) ? Qt::ControlModifier : Qt::NoModifier;
  QWidget* F = W->window();
  const QPoint Ort = W->mapTo(F, *P);
  Log(Satz("Rad %1 bei %2,%3: %4/%5%6", Name(W), P->x(), P->y(), Winkel.x(), Winkel.y(),
           Mod ? " mit Strg" : ""));
  Zaehlen(W);
  // To the window, as the window system sends it: Qt finds the widget
  // below, passes it on to the parents, and drops it for a blocked window.
  QWheelEvent Rad(Ort, F->mapToGlobal(Ort), QPoint(), Winkel, Qt::NoButton, Mod, Qt::NoScrollPhase,
                  false);
  QSpontaneKeyEvent::setSpontaneous(&Rad);
  QApplication::sendEvent(F->windowHandle(), &Rad);
}

void THand::Aktivieren(QWidget* Fenster) {
  Fenster = Fenster->window();
  if (Fenster->isActiveWindow() || !Fenster->isVisible()) return;
  Fenster->activateWindow();
  const auto Anfang = std::chrono::steady_clock::now();
  while (!Fenster->isActiveWindow() && Millisekunden(Anfang) < 200)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  if (!Fenster->isActiveWindow()) {
    // What the desktop would do for the click all the same.
    Log(QStringLiteral("  %1 wurde nicht aktiv (aktiv: %2)")
            .arg(Name(Fenster), Name(QApplication::activeWindow())));
    QApplication::setActiveWindow(Fenster);
  }
}

void THand::PopupSchliessen() {
  if (QWidget* P = QApplication::activePopupWidget()) {
    Log(QStringLiteral("  Klick neben Popup ") + Name(P));
    QTest::mouseClick(P, Qt::LeftButton, {}, QPoint(-20, -20));
    if (QApplication::activePopupWidget() == P) P->close();
  }
}

// A window blocked by a modal dialog gets nothing; the release comes also
// when the press's window went meanwhile.
void THand::Klick(QWidget* W, Qt::MouseButton Knopf, QPoint Ort, const std::vector<QPoint>& Zug) {
  PopupSchliessen();
  QPointer<QWidget> Fenster = W->window();
  const QPoint Druck = W->mapTo(Fenster, Ort);
  std::vector<QPoint> Weg;
  Weg.reserve(Zug.size());
  for (const QPoint& P : Zug) Weg.push_back(W->mapTo(Fenster, P));
  const QPoint Ende = Weg.empty() ? Druck : Weg.back();
  const QString Ziel = Name(W);
  Zaehlen(W);
  const bool Frei = !Gesperrt(Fenster);
  if (Frei) Aktivieren(Fenster);
  if (!Fenster) return;
  const bool Schlucken = Knopf == Qt::LeftButton && Weg.empty() && Chance(30);
  const char* Seite = Knopf == Qt::LeftButton    ? "links"
                      : Knopf == Qt::RightButton ? "rechts"
                                                 : "Mitte";
  const QPoint Bis = Ende - Druck + Ort;
  Log(Satz("%1 %2 %3 bei %4,%5%6%7", Weg.empty() ? "Klick" : "Zug", Seite, Ziel, Ort.x(), Ort.y(),
           Weg.empty() ? QString() : Satz(" nach %1,%2", Bis.x(), Bis.y()),
           Frei ? (Schlucken ? " (Loslassen geht an eine Box)" : "") : " (gesperrt)"));
  const TLoslassen Vorher = Loslassen;
  Loslassen = Schlucken ? TLoslassen::Geschluckt : TLoslassen::Gehalten;
  const QPointer<QWidget> VorherGehalten = Festgehalten;
  Festgehalten = W;
  QTest::mousePress(Fenster->windowHandle(), Knopf, {}, Druck);
  for (const QPoint& P : Weg) {
    if (!Fenster || Loslassen == TLoslassen::Keins) break;
    QTest::mouseMove(Fenster->windowHandle(), P);
  }
  const bool Offen = Loslassen != TLoslassen::Keins;
  Loslassen = TLoslassen::Keins;
  if (Offen) {
    if (Fenster)
      QTest::mouseRelease(Fenster->windowHandle(), Knopf, {}, Ende);
    else if (Form1)
      QTest::mouseRelease(Form1->windowHandle(), Knopf, {}, QPoint(1, 1));
  }
  Loslassen = Vorher;
  Festgehalten = VorherGehalten;
  if (QWidget* P = QApplication::activePopupWidget(); P && Knopf == Qt::RightButton)
    PopupBeantworten(P);
}

void THand::PopupBeantworten(QWidget* P) {
  if (auto* Menue = qobject_cast<QMenu*>(P); Menue && Chance(50)) {
    const int Schritte = 1 + Wurf(6);
    Log(QStringLiteral("  Menü: %1 x runter, Eingabe").arg(Schritte));
    QPointer<QMenu> Offen = Menue;
    for (int i = 0; i < Schritte; ++i) QTest::keyClick(Menue, Qt::Key_Down);
    QTest::keyClick(Menue, Qt::Key_Return);
    // An entry that is off does nothing: then the person gives up.
    if (Offen && QApplication::activePopupWidget() == Offen) {
      Log(QStringLiteral("  Menü: Escape"));
      QTest::keyClick(Offen, Qt::Key_Escape);
    }
    return;
  }
  Log(QStringLiteral("  Popup %1: Escape").arg(Name(P)));
  QTest::keyClick(P, Qt::Key_Escape);
}

void THand::Taste(QWidget* W, Qt::Key T, Qt::KeyboardModifiers Mod) {
  if (QWidget* P = QApplication::activePopupWidget()) W = P;
  if (!W) return;
  Log(Satz("  Taste %1%2 an %3", Mod ? QKeySequence(int(Mod)).toString() : QString(),
           QKeySequence(T).toString(), Name(W)));
  Zaehlen(W);
  QTest::keyClick(W, T, Mod);
}

// For Latin-1 the key code is the upper-case character.
void THand::Zeichen(QWidget* W, QChar Z) {
  const char16_t Gross = Z.toUpper().unicode();
  const auto Code = Gross < 0x100 ? static_cast<Qt::Key>(Gross) : Qt::Key_unknown;
  QTest::sendKeyEvent(QTest::Click, W, Code, QString(Z), {});
}

QWidget* THand::Tastenziel() {
  QWidget* Aktiv = QApplication::activeWindow();
  if (!Aktiv) return nullptr;
  return Aktiv->focusWidget() ? Aktiv->focusWidget() : Aktiv;
}

void THand::Eintippen(QWidget* Feld, const QString& Was) {
  QPointer<QWidget> Ziel = Feld;
  if (!Anklicken(Feld)) return;
  // A box shown on the way hands the activation back a moment later.
  const auto Anfang = std::chrono::steady_clock::now();
  while (Ziel && !Stopp && !InnerhalbVon(QApplication::focusWidget(), Ziel) &&
         Millisekunden(Anfang) < 100)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  if (!Ziel || Stopp) return;
  QPointer<QWidget> Fokus = QApplication::focusWidget();
  if (!InnerhalbVon(Fokus, Ziel)) {
    Log(QStringLiteral("  Fokus ist nicht im Feld, sondern in ") + Name(Fokus));
    return;
  }
  const int Art = Wurf(10);
  if (Art < 7)
    Taste(Fokus, Qt::Key_A, Qt::ControlModifier);
  else if (Art < 8)
    Taste(Fokus, Qt::Key_End);
  if (!Fokus || Stopp) return;
  if (Chance(80) || Was.isEmpty()) {
    Log(QStringLiteral("  tippt '%1' in %2").arg(Was, Name(Ziel)));
    for (QChar Z : Was) {
      if (!Fokus || Stopp || QApplication::focusWidget() != Fokus) return;
      Zeichen(Fokus, Z);
    }
  } else {
    Log(QStringLiteral("  fügt '%1' in %2 ein").arg(Was, Name(Ziel)));
    QApplication::clipboard()->setText(Was);
    Taste(Fokus, Qt::Key_V, Qt::ControlModifier);
  }
  if (!Fokus || Stopp) return;
  const int Ende = Wurf(10);
  if (Ende < 3)
    Taste(Fokus, Chance(50) ? Qt::Key_Return : Qt::Key_Enter);
  else if (Ende < 4)
    Taste(Fokus, Qt::Key_Escape);
  else if (Ende < 6)
    Taste(Fokus, Chance(70) ? Qt::Key_Tab : Qt::Key_Backtab);
}

void THand::KnopfDruecken(QAbstractButton* B, bool NurTasten) {
  if (NurTasten) {
    B->setFocus(Qt::TabFocusReason);
    Taste(B, Qt::Key_Space);
  } else {
    Klick(B, Qt::LeftButton, B->rect().center());
  }
}

void THand::Rahmen(QWidget* W) {
  Log(QStringLiteral("  %1: Rahmen").arg(Name(W)));
  W->close();
}

// The window system offers no drag to a window a modal dialog blocks.
void THand::Ablegen(QWidget* F, QPoint Ort, const QStringList& Pfade) {
  QMimeData Daten;
  QList<QUrl> Adressen;
  QStringList Texte;
  for (const QString& Pfad : Pfade) {
    Adressen << QUrl::fromLocalFile(Pfad);
    Texte << Adressen.back().toString();
  }
  // A file manager sends the names as text, too.
  Daten.setUrls(Adressen);
  Daten.setText(Texte.join(QLatin1Char('\n')));
  QWidget* Dort = F->childAt(Ort);
  if (!Dort) Dort = F;
  const QString Ziel = Ortsname(Dort);
  Buch.Abgelegt(Ziel);
  QStringList Namen;
  for (const QString& Pfad : Pfade) Namen << QFileInfo(Pfad).fileName();
  if (Gesperrt(F)) {
    Log(QStringLiteral("Ablage von %1 auf %2 (gesperrt)").arg(Namen.join(", "), Ziel));
    return;
  }
  Log(Satz("Ablage von %1 auf %2 bei %3,%4", Namen.join(", "), Ziel, Ort.x(), Ort.y()));
  Vermerken("Ablagen");
  QPointer<QWidget> Fenster = F;
  QPointer<QLineEdit> Feld = qobject_cast<QLineEdit*>(Dort);
  const QString FeldVorher = Feld ? Feld->text() : QString();
  QWindow* W = F->windowHandle();
  QDragEnterEvent Eintritt(Ort, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &Daten,
                           Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(W, &Eintritt);
  QDragMoveEvent Bewegung(Ort, Eintritt.possibleActions(), &Daten, Qt::LeftButton, Qt::NoModifier);
  if (Eintritt.isAccepted()) {
    Bewegung.setDropAction(Eintritt.dropAction());
    Bewegung.accept();
  }
  if (Fenster) QApplication::sendEvent(W, &Bewegung);
  if (!Fenster) return;
  if (!Bewegung.isAccepted()) {
    Log(QStringLiteral("  nicht angenommen"));
    QDragLeaveEvent Weg;
    QApplication::sendEvent(W, &Weg);
    return;
  }
  QDropEvent Abwurf(Ort, Bewegung.possibleActions(), &Daten, Qt::LeftButton, Qt::NoModifier);
  Abwurf.setDropAction(Bewegung.dropAction());
  if (F == Form1 && Pfade.size() == 1) Pruefung.AblageErwarten(Pfade.front(), Ziel);
  QApplication::sendEvent(W, &Abwurf);
  Pruefung.Abgeworfen(Abwurf.isAccepted(), Feld, FeldVorher, Texte.front());
}
