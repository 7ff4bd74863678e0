// Monkey test: a seeded random stream of user events over every window the
// program shows. The windows and their controls are found in the widget tree
// (QApplication::topLevelWidgets), so that a new window or control gets its
// share of events without being listed here. After every event the windows
// must still agree with the rule system and the settings in force, and
// nothing may be left hanging.
//
//   AFFEN_SAAT=n        seed (default: taken from the clock; printed either way)
//   AFFEN_EREIGNISSE=n  stop after n events
//   AFFEN_SEKUNDEN=s    stop after s seconds (default 25 when no count is given)
//   AFFEN_GRENZE_MS=ms  how late a queued timer or a stop may come (default 3000)
//   AFFEN_PROTOKOLL=1   print the last events also when all went well
//   AFFEN_ALLE=1        fail when a control of a window that existed at the
//                       start got no event
//
// A failure names the seed, the event number and the last events, so that the
// run can be replayed with AFFEN_SAAT and AFFEN_EREIGNISSE. At the end one
// line per control counts the events it got, one per drop target the drops.
#include <execinfo.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QImage>
#include <QInputDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "drawing/Extras.h"
#include "drawing/LSystemZeichnen.h"
#include "drawing/UnitWeiter.h"
#include "engine/Rezeptfelder.h"
#include "gui/Dialoge.h"
#include "gui/Eingabefeld.h"
#include "gui/Modal.h"
#include "gui/Radiogruppe.h"
#include "helpers/Hilfen.h"
#include "mainwindow/LsystemHauptfenster.h"
#include "mainwindow/Programm.h"
#include "turtle/turtleUnit.h"

namespace {

// ---------------------------------------------------------------- what the monkey types

// Each pool is one text with "|" between its entries; "||" holds an empty entry.
QStringList Vorrat(const char* Eintraege) { return QString::fromUtf8(Eintraege).split(u'|'); }

// Numbers for all number fields: valid, out of range, with commas, huge, and junk.
const QStringList Zahlen = Vorrat(
    "0|1|2|3|4|5|6|10|30|31|-1|45|45,5|22.5|90|-45|0,5|1000|1000,01|99|99,5|100|-50|2,5|"
    "500|680|12,25|1e3|abc|x|1.2.3|--5|+|| |  12 |,|,,|1,5,5|0x1F|$10|1e400|-1e400|1e308|"
    "1e-400|2147483647|2147483648|-2147483649|99999999999999999999|nan|inf|1e5|ä|7|0.001|"
    "360|-360|1E2|.5|5.|٣");

const QStringList Tiefen = Vorrat("0|1|2|3|4|5|6|6|5|4|3|2");

// States of the random generator: the ends of the range, beyond them, and junk.
const QStringList Saaten =
    Vorrat("0|1|7|12345|4294967295|4294967296|-1|1,5|abc|| |99999999999999999999|2147483648");

// Rule lines with and without brackets, blanks, broken heads and brackets.
const QStringList Regelzeilen = Vorrat(
    "A->F|B -> F[+F]|B -> F[+F|BF -> F|B||F->F+F--F+F|X->F[+X][-X]FX|* -> *|]->[|[->F|F->]|"
    "A->[[[[F]]]]|F->FF| |A - > B|->|A->|A->A|->F|ä->ö|F->F[+F]F[-F]F|A->B][|F -> F F|"
    "A->FF+[FA]--[FA]|f->F|+->-|F->[F]|A->FA|F->F-F++F-F");

const QStringList Axiome = Vorrat("A|F|F+F|| |X|F]|[F|FFFFFFFFFF|AB|[|]|F[+F]F|FX|f F");

// Files the dialogs find and the monkey drops: good ones, broken ones, others.
const struct {
  const char* Name;
  const char* Inhalt;
} Dateien[] = {
    {"klein.LSY", "F\r\n90\r\n90\r\nF->F+F-F-F+F\r\n"},
    {"drache.LSY", "FX\r\n90\r\n90\r\nX->X+YF+\r\nY->-FX-Y\r\n"},
    {"busch.lsy", "F\r\n22.5\r\n22.5\r\nF->FF-[-F+F+F]+[+F-F-F]\r\n"},
    {"zweig.LSY", "X\r\n 2.50000000000000E+0001\r\n25\r\nX->F[+X]F[-X]+X\r\nF->FF\r\n"},
    {"zahl.LSY", "A\r\nabc\r\n30\r\nA->B\r\n"},
    {"regel.LSY", "A\r\n30\r\n30\r\nA->[B\r\n"},
    {"kopf.LSY", "A\r\n30\r\n30\r\nAB->B\r\n"},
    {"leer.LSY", ""},
    {"nurAxiom.LSY", "A\r\n30\r\n30\r\n"},
    {"riesig.LSY", "A\r\n1e400\r\n30\r\nA->B\r\n"},
    {"notiz.txt", "F\r\n90\r\n90\r\nF->FF\r\n"},
    {"kaputt.png", "\x89PNG\r\n\x1a\nkein Bild"},
    {"kaputt.svg", "<svg><metadata>Rankenwerk-Rezept 1\nTiefe: x</metadata></svg>"},
};

// Names typed into the rule-system dialogs besides those of the folder's files.
const QStringList NeueNamen =
    Vorrat("neu|neu.LSY|Neue Datei.lsy|sub/x.LSY|fehlt/x.LSY|| |..|sub|a.txt|*.LSY|temp.LSY");

// Names for pictures: both kinds, endings the program refuses (it asks again)
// and none (the dialog adds the one of its filter).
const QStringList Bildnamen = Vorrat(
    "bild.png|bild.svg|Bild.PNG|zeichnung.svg|x.jpg|bild|bild.LSY|sub/b.png|fehlt/x.png|| |..|"
    "sub|neu.png");

// ---------------------------------------------------------------- small helpers

QString Text(const std::string& Bytes) { return AusCp1252(Bytes); }
std::string Bytes(const QString& Text) { return NachCp1252(Text); }

bool LiestSichAls(const QString& Feldtext, double Wert) {
  const std::string T = Bytes(Feldtext);
  if (!IstKommazahl(T)) return false;
  try {
    return TextAlsKommazahl(T) == Wert;
  } catch (const std::exception&) {
    return false;
  }
}

int64_t Umgebung(const char* Name, int64_t Vorgabe) {
  const char* W = std::getenv(Name);
  return W && *W ? std::strtoll(W, nullptr, 10) : Vorgabe;
}

double Millisekunden(std::chrono::steady_clock::time_point Seit) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Seit).count();
}

QByteArray Pruefsumme(const QString& Datei) {
  QFile F(Datei);
  if (!F.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(F.readAll(), QCryptographicHash::Sha1);
}

// ---------------------------------------------------------------- windows and controls

// The kinds of control the monkey works; the report sums its events by them.
enum class TArt { Knopf, Feld, Radiogruppe, Liste, Textfeld, Drehfeld, Auswahl, Schieber, Flaeche };

const char* ArtName(TArt A) {
  switch (A) {
    case TArt::Knopf:
      return "Knöpfe";
    case TArt::Feld:
      return "Felder";
    case TArt::Radiogruppe:
      return "Radiogruppen";
    case TArt::Liste:
      return "Listen";
    case TArt::Textfeld:
      return "Textfelder";
    case TArt::Drehfeld:
      return "Drehfelder";
    case TArt::Auswahl:
      return "Auswahllisten";
    case TArt::Schieber:
      return "Schieber";
    case TArt::Flaeche:
      return "Flächen";
  }
  return "?";
}

struct TSteuerelement {
  QWidget* W = nullptr;
  TArt Art = TArt::Knopf;
  QString Name;  // window and control, "Form1.BLoad"
};

// Qt names its own sub-widgets "qt_...", or not at all.
bool Benannt(const QObject* O) {
  return !O->objectName().isEmpty() && !O->objectName().startsWith(QLatin1String("qt_"));
}

QString Fenstername(const QWidget* W) {
  const QWidget* F = W->window();
  return Benannt(F) ? F->objectName() : QString::fromLatin1(F->metaObject()->className());
}

// Qt's own dialogs are answered as what they are.
bool IstQtDialog(const QWidget* W) {
  return qobject_cast<const QMessageBox*>(W) || qobject_cast<const QFileDialog*>(W) ||
         qobject_cast<const QColorDialog*>(W) || qobject_cast<const QProgressDialog*>(W) ||
         qobject_cast<const QInputDialog*>(W) || qobject_cast<const QFontDialog*>(W);
}

// Any other window, dialog or not, is the program's (popups and tips are not windows).
bool IstProgrammfenster(const QWidget* W) {
  if (!W->isWindow() || IstQtDialog(W) || W->inherits("QTipLabel")) return false;
  const Qt::WindowType T = W->windowType();
  return T == Qt::Window || T == Qt::Dialog || T == Qt::Sheet || T == Qt::Tool;
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

// The controls below W in the order of the widget tree; Qt's sub-widgets of a
// control are not looked into. A control without a name goes to Unbenannt.
void Sammeln(QWidget* W, bool AuchVerborgene, std::vector<TSteuerelement>& L,
             QStringList& Unbenannt) {
  for (QObject* O : W->children()) {
    auto* K = qobject_cast<QWidget*>(O);
    if (!K || K->isWindow() || (!AuchVerborgene && !K->isVisible())) continue;
    if (const std::optional<TArt> Art = Steuerart(K); Art && Benannt(K)) {
      L.push_back({K, *Art, Fenstername(K) + QLatin1Char('.') + K->objectName()});
      continue;
    } else if (Art && K->objectName().isEmpty()) {
      const auto* B = qobject_cast<QAbstractButton*>(K);
      Unbenannt << QStringLiteral("%1: %2 %3")
                       .arg(Fenstername(K), QString::fromLatin1(K->metaObject()->className()),
                            B ? "'" + B->text() + "'" : QString());
      continue;
    }
    Sammeln(K, AuchVerborgene, L, Unbenannt);
  }
}

std::vector<TSteuerelement> Steuerelemente(QWidget* Fenster, bool AuchVerborgene = false) {
  std::vector<TSteuerelement> L;
  QStringList Unbenannt;
  Sammeln(Fenster, AuchVerborgene, L, Unbenannt);
  return L;
}

// The control a widget belongs to: itself, or the control that holds it (a
// list for its viewport, a group for its radio items, a spin box for its field).
std::optional<TSteuerelement> Zuordnen(QWidget* W) {
  if (!W || !IstProgrammfenster(W->window())) return std::nullopt;
  for (; !W->isWindow(); W = W->parentWidget())
    if (const std::optional<TArt> Art = Steuerart(W); Art && Benannt(W))
      return TSteuerelement{W, *Art, Fenstername(W) + QLatin1Char('.') + W->objectName()};
  return std::nullopt;
}

// Where something landed: its control, else the nearest named widget, else the window.
QString Ortsname(QWidget* W) {
  if (const std::optional<TSteuerelement> S = Zuordnen(W)) return S->Name;
  for (QWidget* V = W; V && !V->isWindow(); V = V->parentWidget())
    if (Benannt(V)) return Fenstername(V) + QLatin1Char('.') + V->objectName();
  return Fenstername(W) + QLatin1Char('.') + Fenstername(W);
}

// The windows of the program that are shown, the main window first.
std::vector<QWidget*> Programmfenster(bool AuchVerborgene = false) {
  std::vector<QWidget*> L;
  if (Form1 && (AuchVerborgene || Form1->isVisible())) L.push_back(Form1);
  for (QWidget* W : QApplication::topLevelWidgets())
    if (W != Form1 && IstProgrammfenster(W) && (AuchVerborgene || W->isVisible())) L.push_back(W);
  return L;
}

// Windows the user works in besides dialogs, which the answerer works.
bool IstArbeitsfenster(const QWidget* W) {
  return IstProgrammfenster(W) && !qobject_cast<const QDialog*>(W);
}

// Whether a modal window keeps mouse input and drops from this one, decided
// as Qt decides it: the most recent modal window first; its own windows are
// free, an application-modal one blocks all others, a window-modal one the
// windows it shares an ancestor with.
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

// ---------------------------------------------------------------- the monkey

class TAffe {
 public:
  TAffe(uint64_t Saat, int64_t Hoechstzahl, double Sekunden, int GrenzeMs, QString Ordner)
      : Saat(Saat),
        Zufall(Saat),
        ZufallImLauf(Saat ^ 0x9E3779B97F4A7C15ull),
        Hoechstzahl(Hoechstzahl),
        Sekunden(Sekunden),
        GrenzeMs(GrenzeMs),
        Ordner(std::move(Ordner)) {}

  // Waits for the main window, runs the events, then closes the program.
  void Starten() {
    if (!Form1 || !Form1->isVisible() || QApplication::activeModalWidget()) {
      QTimer::singleShot(10, [this] { Starten(); });
      return;
    }
    // The controls every run must reach: those of the windows there are now.
    for (QWidget* F : Programmfenster(true))
      for (const TSteuerelement& S : Steuerelemente(F, true)) {
        Pflicht << S.Name;
        Arten[S.Name] = S.Art;
      }
    Laufen();
    if (FZeichenform) FZeichenform->ZeichnungBeenden();
    Form1->close();
  }

  // Answers modal dialogs from the start, the about box included.
  void Planen() {
    Geplant = std::chrono::steady_clock::now();
    QTimer::singleShot(2, &Kontext, [this] { Ticken(); });
  }

  const uint64_t Saat;
  QString Fehler;
  int64_t Nummer = 0;
  double Dauer = 0;
  double Laengstes = 0;  // ms of the longest event
  int64_t LaengstesNummer = 0;

  // The report: events per control and per drop target, sums per kind, what
  // the dialogs saw.
  QStringList Bericht() const {
    QStringList L;
    for (const auto& [Name, Anzahl] : Treffer)
      L << QStringLiteral("Steuerelement %1: %2").arg(Name).arg(Anzahl);
    for (const auto& [Name, Anzahl] : Ablagen)
      L << QStringLiteral("Ablage %1: %2").arg(Name).arg(Anzahl);
    std::map<TArt, int64_t> ProArt;
    for (const auto& [Name, Anzahl] : Treffer)
      if (auto It = Arten.find(Name); It != Arten.end()) ProArt[It->second] += Anzahl;
    QStringList Summen;
    for (const auto& [Art, Anzahl] : ProArt)
      Summen << QStringLiteral("%1 %2").arg(QString::fromUtf8(ArtName(Art))).arg(Anzahl);
    L << QStringLiteral("Je Art: ") + Summen.join(QStringLiteral(", "));
    QStringList Sonst{QStringLiteral("längstes Ereignis #%1 mit %2 ms")
                          .arg(LaengstesNummer)
                          .arg(qRound(Laengstes))};
    for (const auto& [Was, Anzahl] : Statistik) Sonst << Was + "=" + QString::number(Anzahl);
    L << Sonst.join(QStringLiteral(", "));
    return L;
  }

  // Controls of the windows there at the start that got no event.
  QStringList Unberuehrt() const {
    QStringList L;
    for (const QString& Name : Pflicht)
      if (!Treffer.count(Name)) L << Name;
    return L;
  }

  // For the watchdog: the last events, readable from another thread.
  std::string Verlauf() {
    std::lock_guard<std::mutex> Sperre(LogSperre);
    std::string S;
    for (const QString& Z : Letzte) S += "    " + Z.toStdString() + "\n";
    return S;
  }
  std::atomic<int64_t> Fortschritt{0};

 private:
  std::mt19937_64 Zufall;
  // Decisions taken at timer ticks during a run come from their own generator,
  // so that how long a run takes does not change the rest of the sequence.
  std::mt19937_64 ZufallImLauf;
  const int64_t Hoechstzahl;
  const double Sekunden;
  const int GrenzeMs;
  const QString Ordner;  // the working folder: files to find, pictures to save
  QObject Kontext;       // pending ticks die with it

  int Wurf(int n) { return static_cast<int>(Zufall() % static_cast<uint64_t>(std::max(1, n))); }
  bool Chance(int Prozent) { return Wurf(100) < Prozent; }
  template <class T, size_t N>
  const T& Eines(const T (&Liste)[N]) {
    return Liste[Wurf(static_cast<int>(N))];
  }
  const QString& Eines(const QStringList& Liste) {
    return Liste[Wurf(static_cast<int>(Liste.size()))];
  }
  template <class T>
  const T& Eines(const std::vector<T>& Liste) {
    return Liste[static_cast<size_t>(Wurf(static_cast<int>(Liste.size())))];
  }

  // ------------------------------------------------------------ log and counts

  std::mutex LogSperre;
  std::deque<QString> Letzte;
  std::map<QString, int64_t> Treffer;  // events per control
  std::map<QString, int64_t> Ablagen;  // drops per target
  std::map<QString, TArt> Arten;
  std::map<QString, int64_t> Statistik;
  QStringList Pflicht;

  void Log(const QString& Zeile) {
    std::lock_guard<std::mutex> Sperre(LogSperre);
    Letzte.push_back(QStringLiteral("#%1 %2").arg(Nummer).arg(Zeile));
    if (Letzte.size() > 120) Letzte.pop_front();
  }

  void Vermerken(const QString& Was) { ++Statistik[Was]; }

  int64_t Anzahl(const QString& Steuerelement) const {
    const auto It = Treffer.find(Steuerelement);
    return It == Treffer.end() ? 0 : It->second;
  }

  // One event aimed at the control W belongs to, if any.
  void Zaehlen(QWidget* W) {
    if (const std::optional<TSteuerelement> S = Zuordnen(W)) {
      ++Treffer[S->Name];
      Arten[S->Name] = S->Art;
    }
  }

  static QString Name(const QWidget* W) {
    if (!W) return QStringLiteral("(nichts)");
    auto* V = const_cast<QWidget*>(W);
    if (auto* R = qobject_cast<const QRadioButton*>(W); R && Zuordnen(V))
      return Zuordnen(V)->Name + QLatin1Char('.') + R->text();
    if (const std::optional<TSteuerelement> S = Zuordnen(V)) return S->Name;
    if (auto* B = qobject_cast<const QAbstractButton*>(W))
      return QStringLiteral("Knopf '%1'").arg(B->text());
    if (W->isWindow() || !IstProgrammfenster(W->window())) return Fenstername(W);
    return Ortsname(V);
  }

  // ------------------------------------------------------------ failures

  bool Stopp = false;

  void Verletzt(const QString& Was) {
    if (Stopp) return;
    Stopp = true;
    Log(QStringLiteral("VERLETZT: ") + Was);
    QString Text = QStringLiteral(
                       "Affentest verletzt nach Ereignis %1 (Saat %2): %3\n"
                       "Wiederholen mit AFFEN_SAAT=%2 AFFEN_EREIGNISSE=%4\n"
                       "Letzte Ereignisse:\n")
                       .arg(Nummer)
                       .arg(Saat)
                       .arg(Was)
                       .arg(Nummer + 1);
    std::lock_guard<std::mutex> Sperre(LogSperre);
    for (const QString& Z : Letzte) Text += QStringLiteral("    ") + Z + QLatin1Char('\n');
    Fehler = Text + Zustand();
  }

  // What a replay needs to know besides the events.
  static QString Zustand() {
    QString Z = QStringLiteral("Zustand:\n");
    if (Form1) {
      const TRegelsystem& R = Form1->Regelsystem;
      Z += QStringLiteral("    Axiom '%1', Winkel %2/%3, Tiefe der Zeichenfolgen %4, Regeln:")
               .arg(Text(R.Axiom))
               .arg(R.WinkelPlus)
               .arg(R.WinkelMinus)
               .arg(R.Tiefe);
      for (int i = 0; i < R.Count(); ++i) Z += " " + Zeile(R.Items(i));
      Z += QLatin1Char('\n');
    }
    if (FZeichenform)
      Z += QStringLiteral(
               "    Tiefe %1, Schrittweite %2, Start %3/%4/%5, anpassen %6, "
               "schrittweise %7, Zufall %8, zentriert %9, ")
               .arg(FZeichenform->Vorgaben().Tiefe)
               .arg(FZeichenform->Maschine().Schrittweite())
               .arg(FZeichenform->Vorgaben().StartX)
               .arg(FZeichenform->Vorgaben().StartY)
               .arg(FZeichenform->Vorgaben().Startwinkel)
               .arg(Einstellungen.SchrittweiteAnpassen)
               .arg(Einstellungen.Schrittmodus)
               .arg(Einstellungen.Zufallsmodus)
               .arg(Einstellungen.Zentriert) +
           QStringLiteral("Turtle gezeigt %1, sofort nachzeichnen %2\n")
               .arg(FZeichenform->Turtle().Sichtbar)
               .arg(FZeichenform->Nachzeichnen().Sofort());
    Z += QStringLiteral("    Dicke %1, Schwund %2, Abweichungen %3/%4/%5, Farbe %6, Saat %7\n")
             .arg(Einstellungen.Anfangsdicke)
             .arg(Einstellungen.Schwundfaktor)
             .arg(Einstellungen.AbweichungPlus)
             .arg(Einstellungen.AbweichungMinus)
             .arg(Einstellungen.AbweichungSchritt)
             .arg(Einstellungen.Zeichenfarbe, 6, 16, QLatin1Char('0'))
             .arg(Einstellungen.Saat);
    return Z;
  }

  // ------------------------------------------------------------ the main loop

  void Laufen() {
    const auto Anfang = std::chrono::steady_clock::now();
    for (Nummer = 1; !Stopp; ++Nummer) {
      if (Hoechstzahl > 0 && Nummer > Hoechstzahl) break;
      if (Hoechstzahl <= 0 && Millisekunden(Anfang) > Sekunden * 1000) break;
      ImEreignis = true;
      const auto Beginn = std::chrono::steady_clock::now();
      Ereignis();
      const double Ms = Millisekunden(Beginn);
      ImEreignis = false;
      if (Ms > Laengstes) {
        Laengstes = Ms;
        LaengstesNummer = Nummer;
      }
      if (Ms > 2000) Log(QStringLiteral("  (dauerte %1 ms)").arg(qRound(Ms)));
      // Whatever the event opened must have been answered by now.
      if (!Stopp) NichtsOffen("direkt nach dem Ereignis");
      if (!Stopp) Abwarten();
      if (!Stopp) Pruefen();
      Fortschritt = Nummer;
    }
    --Nummer;
    Dauer = Millisekunden(Anfang) / 1000;
  }

  // Lets queued work run and insists that a queued timer gets its turn in time.
  void Abwarten() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    bool Dran = false;
    QTimer::singleShot(0, &Kontext, [&Dran] { Dran = true; });
    const auto Anfang = std::chrono::steady_clock::now();
    while (!Dran && Millisekunden(Anfang) < GrenzeMs)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!Dran) Verletzt(QStringLiteral("ein Zeitgeber kam nicht in %1 ms dran").arg(GrenzeMs));
  }

  // ------------------------------------------------------------ events

  bool ImEreignis = false;
  int LaufEreignisse = 0;  // events fired from inside a drawing run or a save

  bool ZeichenfensterOffen() const { return FZeichenform && FZeichenform->isVisible(); }

  void Ereignis() {
    const int r = Wurf(100);
    if (r < 34)
      SteuerelementBedienen();
    else if (r < 50)
      Eingabe();
    else if (r < 64)
      Tastendruck();
    else if (r < 67)
      Zugriffstaste();
    else if (r < 71)
      FensterWechseln();
    else if (r < 73)
      FensterSchliessen();
    else if (r < 82)
      KleineZeichnung();
    else if (r < 88)
      RegelBearbeiten();
    else if (r < 94)
      Ablage();
    else
      DrehenOderZiehen();
  }

  // The windows the user works in that are shown: the main window, the
  // drawing window, and any the program opens besides its dialogs.
  static std::vector<QWidget*> Arbeitsfenster() {
    std::vector<QWidget*> L;
    for (QWidget* W : Programmfenster())
      if (IstArbeitsfenster(W)) L.push_back(W);
    return L;
  }

  QWidget* Zielfenster() {
    const std::vector<QWidget*> L = Arbeitsfenster();
    return L.empty() ? static_cast<QWidget*>(Form1) : Eines(L);
  }

  // A control of the window; now and then the one that got the fewest events
  // so far, so that controls shown only at times get their turn too.
  std::optional<TSteuerelement> Waehlen(const std::vector<TSteuerelement>& L, int Selten = 25) {
    if (L.empty()) return std::nullopt;
    if (!Chance(Selten)) return Eines(L);
    const TSteuerelement* Seltenstes = &L.front();
    for (const TSteuerelement& S : L)
      if (Anzahl(S.Name) < Anzahl(Seltenstes->Name)) Seltenstes = &S;
    return *Seltenstes;
  }

  void SteuerelementBedienen(QWidget* Fenster = nullptr, int Selten = 25) {
    if (const std::optional<TSteuerelement> S =
            Waehlen(Steuerelemente(Fenster ? Fenster : Zielfenster()), Selten))
      Bedienen(*S);
  }

  // What a person does with a control of this kind.
  void Bedienen(const TSteuerelement& S) {
    switch (S.Art) {
      case TArt::Knopf:
        if (Chance(85))
          Anklicken(S.W);
        else
          Anklicken(S.W, Chance(50) ? Qt::RightButton : Qt::MiddleButton);
        return;
      case TArt::Feld:
      case TArt::Drehfeld:
        if (Chance(75)) {
          Eintippen(S.W, Vorschlag(S.W));
        } else {
          const int k = Wurf(4);
          if (k == 0) Anklicken(S.W, Qt::RightButton);  // the context menu
          if (k == 1) Doppelklick(S.W);
          if (k == 2) ZiehenIn(S.W);
          if (k == 3) Drehen(S.W);
        }
        return;
      case TArt::Radiogruppe:
        RadioWaehlen(S.W);
        return;
      case TArt::Liste:
        ListeBedienen(qobject_cast<QAbstractItemView*>(S.W));
        return;
      case TArt::Flaeche:
        FlaecheBedienen(S.W);
        return;
      case TArt::Textfeld:
      case TArt::Auswahl:
      case TArt::Schieber: {
        const int k = Wurf(10);
        if (k < 4) Anklicken(S.W);
        if (k == 4) Anklicken(S.W, Qt::RightButton);
        if (k == 5) Doppelklick(S.W);
        if (k == 6) ZiehenIn(S.W);
        if (k == 7) Drehen(S.W);
        if (k >= 8 && Anklicken(S.W) && InnerhalbVon(QApplication::focusWidget(), S.W)) {
          static const Qt::Key Tasten[] = {Qt::Key_Up,     Qt::Key_Down,   Qt::Key_PageUp,
                                           Qt::Key_End,    Qt::Key_Home,   Qt::Key_Right,
                                           Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space};
          if (Chance(30))
            Taste(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
          else
            Taste(QApplication::focusWidget(), Eines(Tasten));
        }
        return;
      }
    }
  }

  static bool InnerhalbVon(const QWidget* W, const QWidget* Steuerelement) {
    return W && (W == Steuerelement || Steuerelement->isAncestorOf(W));
  }

  // A point of W (in W's coordinates, within Bereich if given) where the
  // window shows W and not something lying over it.
  std::optional<QPoint> Treffpunkt(QWidget* W, QRect Bereich = {}) {
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

  // A click on W at a point it shows; false when it shows none.
  bool Anklicken(QWidget* W, Qt::MouseButton Knopf = Qt::LeftButton) {
    const std::optional<QPoint> P = Treffpunkt(W);
    if (P) Klick(W, Knopf, *P);
    return P.has_value();
  }

  void Doppelklick(QWidget* W) {
    const std::optional<QPoint> P = Treffpunkt(W);
    if (!P) return;
    PopupSchliessen();
    QWidget* F = W->window();
    if (!Gesperrt(F)) Aktivieren(F);
    Log(QStringLiteral("Doppelklick %1 bei %2,%3").arg(Name(W)).arg(P->x()).arg(P->y()));
    Zaehlen(W);
    QTest::mouseDClick(F->windowHandle(), Qt::LeftButton, {}, W->mapTo(F, *P));
  }

  // A drag within W, from one point it shows to another.
  void ZiehenIn(QWidget* W, Qt::MouseButton Knopf = Qt::LeftButton) {
    const std::optional<QPoint> Von = Treffpunkt(W);
    const std::optional<QPoint> Nach = Treffpunkt(W);
    if (!Von || !Nach) return;
    std::vector<QPoint> Zug;
    const int Schritte = 1 + Wurf(4);
    for (int i = 1; i <= Schritte; ++i) Zug.push_back(*Von + (*Nach - *Von) * i / Schritte);
    Klick(W, Knopf, *Von, Zug);
  }

  // The mouse wheel over W: notches up or down, a fraction of one, or sideways.
  void Drehen(QWidget* W) {
    const std::optional<QPoint> P = Treffpunkt(W);
    if (!P) return;
    static const int Stufen[] = {120, -120, 120, -120, 240, -360, 15, -15, 0};
    const int Stufe = Eines(Stufen);
    const QPoint Winkel = Stufe == 0 ? QPoint(120, 0) : QPoint(0, Stufe);
    const Qt::KeyboardModifiers Mod = Chance(15) ? Qt::ControlModifier : Qt::NoModifier;
    QWidget* F = W->window();
    const QPoint Ort = W->mapTo(F, *P);
    Log(QStringLiteral("Rad %1 bei %2,%3: %4/%5%6")
            .arg(Name(W))
            .arg(P->x())
            .arg(P->y())
            .arg(Winkel.x())
            .arg(Winkel.y())
            .arg(Mod ? " mit Strg" : ""));
    Zaehlen(W);
    // To the window, as the window system sends it: Qt finds the widget
    // below, passes it on to the parents, and drops it for a blocked window.
    QWheelEvent Rad(Ort, F->mapToGlobal(Ort), QPoint(), Winkel, Qt::NoButton, Mod,
                    Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&Rad);
    QApplication::sendEvent(F->windowHandle(), &Rad);
  }

  void DrehenOderZiehen() {
    const std::optional<TSteuerelement> S = Waehlen(Steuerelemente(Zielfenster()));
    if (!S) return;
    if (Chance(50))
      Drehen(S->W);
    else
      ZiehenIn(S->W, Chance(80) ? Qt::LeftButton : Qt::RightButton);
  }

  // A person's click into a window makes it the active one first.
  void Aktivieren(QWidget* Fenster) {
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

  // How the release of a press comes: after the press (the user holds the
  // button while answering boxes with the keyboard), or swallowed by the first
  // box that comes up, as when a refused field shows its message.
  enum class TLoslassen { Keins, Gehalten, Geschluckt };
  TLoslassen Loslassen = TLoslassen::Keins;
  QPointer<QWidget> Festgehalten;  // where the press of a click under way went

  // A click closes an open popup first, as a click outside it does.
  void PopupSchliessen() {
    if (QWidget* P = QApplication::activePopupWidget()) {
      Log(QStringLiteral("  Klick neben Popup ") + Name(P));
      QTest::mouseClick(P, Qt::LeftButton, {}, QPoint(-20, -20));
      if (QApplication::activePopupWidget() == P) P->close();
    }
  }

  // Press at Ort of W, moves along Zug, release at its end: as the window
  // system sends them, to W's window at that point. A window blocked by a
  // modal dialog gets nothing, a right press brings the context menu.
  void Klick(QWidget* W, Qt::MouseButton Knopf, QPoint Ort, const std::vector<QPoint>& Zug = {}) {
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
    Log(QStringLiteral("%1 %2 %3 bei %4,%5%6%7")
            .arg(Weg.empty() ? "Klick" : "Zug")
            .arg(Knopf == Qt::LeftButton    ? "links"
                 : Knopf == Qt::RightButton ? "rechts"
                                            : "Mitte")
            .arg(Ziel)
            .arg(Ort.x())
            .arg(Ort.y())
            .arg(Weg.empty() ? QString()
                             : QStringLiteral(" nach %1,%2")
                                   .arg(Ende.x() - Druck.x() + Ort.x())
                                   .arg(Ende.y() - Druck.y() + Ort.y()))
            .arg(Frei ? (Schlucken ? " (Loslassen geht an eine Box)" : "") : " (gesperrt)"));
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
      // The button comes up also when its window went meanwhile.
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

  void RadioWaehlen(QWidget* Gruppe) {
    std::vector<QRadioButton*> Items;
    for (QObject* O : Gruppe->children())
      if (auto* R = qobject_cast<QRadioButton*>(O); R && R->isVisible()) Items.push_back(R);
    if (Items.empty()) return;
    QRadioButton* R = Eines(Items);
    const int k = Wurf(10);
    if (k < 7) {
      // On the item's circle: a click beside a short caption hits nothing.
      const QRect Kreis(0, 0, std::min(14, R->width()), R->height());
      if (const std::optional<QPoint> P = Treffpunkt(R, Kreis)) Klick(R, Qt::LeftButton, *P);
    } else if (k < 8) {
      Anklicken(Chance(50) ? static_cast<QWidget*>(R) : Gruppe);
    } else if (Anklicken(R) && QApplication::focusWidget() == R) {
      // The arrow keys move the choice within the group.
      static const Qt::Key Pfeile[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
      Taste(R, Eines(Pfeile));
    }
  }

  void ListeBedienen(QAbstractItemView* L) {
    const int k = Wurf(10);
    if (k < 6) {
      ZeileKlicken(L);
    } else if (k < 7) {
      Drehen(L->viewport());
    } else if (k < 8) {
      ZiehenIn(L->viewport());
    } else if (k < 9) {
      Doppelklick(L->viewport());
    } else if (ZeileKlicken(L) && QApplication::focusWidget() == L) {
      static const Qt::Key Tasten[] = {Qt::Key_Up,     Qt::Key_Down, Qt::Key_Insert,
                                       Qt::Key_Delete, Qt::Key_Home, Qt::Key_End};
      Taste(L, Eines(Tasten));
    }
  }

  bool ZeileKlicken(QAbstractItemView* L) {
    const int Zeilen = L->model() ? L->model()->rowCount(L->rootIndex()) : 0;
    if (Zeilen == 0 || Chance(10)) return Anklicken(L->viewport());
    const QModelIndex I = L->model()->index(Wurf(Zeilen), 0, L->rootIndex());
    L->scrollTo(I);
    const QRect R = L->visualRect(I);
    if (!L->viewport()->rect().contains(R.center())) return false;
    Klick(L->viewport(), Qt::LeftButton, R.center());
    return true;
  }

  // The drawing surface takes clicks of all buttons (left and right set the
  // start), the wheel and drags.
  void FlaecheBedienen(QWidget* W) {
    const int k = Wurf(100);
    if (k < 25) {
      Drehen(W);
      return;
    }
    if (k < 40) {
      ZiehenIn(W, Chance(70) ? Qt::LeftButton : Qt::RightButton);
      return;
    }
    const std::optional<QPoint> P = Treffpunkt(W);
    if (!P) return;
    const Qt::MouseButton Knopf = k < 75   ? Qt::LeftButton
                                  : k < 92 ? Qt::RightButton
                                           : Qt::MiddleButton;
    const bool Frei = !Gesperrt(W->window()) && !QApplication::activeModalWidget();
    Klick(W, Knopf, *P);
    if (W == FZeichenform->zeichenflaeche && Frei && Knopf != Qt::MiddleButton && !Stopp)
      StartPruefen(*P);
  }

  // A click on the drawing surface sets the start there (a centred run would
  // move it again, but none runs with it off).
  void StartPruefen(QPoint Ort) {
    const TLauf& V = FZeichenform->Vorgaben();
    if (Einstellungen.Zentriert || (V.StartX == Ort.x() && V.StartY == Ort.y())) return;
    Verletzt(QStringLiteral("ein Klick auf die Zeichenfläche bei %1,%2 setzt den Start auf %3/%4")
                 .arg(Ort.x())
                 .arg(Ort.y())
                 .arg(V.StartX)
                 .arg(V.StartY));
  }

  // What to type into a field, after its name.
  QString Vorschlag(const QWidget* Feld) {
    const QString& N = Feld->objectName();
    if (N == QLatin1String("ERegel")) return Eines(Regelzeilen);
    if (N == QLatin1String("EAxiom")) return Chance(70) ? Eines(Axiome) : Eines(Regelzeilen);
    if (N.startsWith(QLatin1String("ETiefe")) && Chance(70)) return Eines(Tiefen);
    if (N == QLatin1String("ESaat") && Chance(70)) return Eines(Saaten);
    return Eines(Zahlen);
  }

  // Typing into a field of a window.
  void Eingabe(QWidget* Fenster = nullptr) {
    std::vector<TSteuerelement> Felder;
    for (const TSteuerelement& S : Steuerelemente(Fenster ? Fenster : Zielfenster()))
      if (S.Art == TArt::Feld || S.Art == TArt::Drehfeld) Felder.push_back(S);
    if (const std::optional<TSteuerelement> S = Waehlen(Felder)) Eintippen(S->W, Vorschlag(S->W));
  }

  // Clicks into a field, replaces or extends its text by typing or pasting,
  // and sometimes ends with a key.
  void Eintippen(QWidget* Feld, const QString& Was) {
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

  // One typed character: its key (for Latin-1 the key code is the upper-case
  // character) with the character as the key's text.
  static void Zeichen(QWidget* W, QChar Z) {
    const char16_t Gross = Z.toUpper().unicode();
    const auto Code = Gross < 0x100 ? static_cast<Qt::Key>(Gross) : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Click, W, Code, QString(Z), {});
  }

  // A key goes to an open popup first, as the platform delivers it.
  void Taste(QWidget* W, Qt::Key T, Qt::KeyboardModifiers Mod = {}) {
    if (QWidget* P = QApplication::activePopupWidget()) W = P;
    if (!W) return;
    Log(QStringLiteral("  Taste %1%2 an %3")
            .arg(Mod ? QKeySequence(int(Mod)).toString() : QString())
            .arg(QKeySequence(T).toString())
            .arg(Name(W)));
    Zaehlen(W);
    QTest::keyClick(W, T, Mod);
  }

  // Where a key typed now goes: the focus of the active window.
  static QWidget* Tastenziel() {
    QWidget* Aktiv = QApplication::activeWindow();
    if (!Aktiv) return nullptr;
    return Aktiv->focusWidget() ? Aktiv->focusWidget() : Aktiv;
  }

  void Tastendruck() {
    QWidget* Aktiv = QApplication::activeWindow();
    if (!Aktiv || !IstArbeitsfenster(Aktiv)) Aktivieren(Zielfenster());
    static const Qt::Key Tasten[] = {
        Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Escape, Qt::Key_Tab,    Qt::Key_Backtab,
        Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Left,
        Qt::Key_Right,  Qt::Key_Home,   Qt::Key_End,    Qt::Key_Space,  Qt::Key_Backspace,
        Qt::Key_A,      Qt::Key_F,      Qt::Key_Plus,   Qt::Key_Minus,  Qt::Key_BracketLeft,
        Qt::Key_1,      Qt::Key_Comma,  Qt::Key_Tab,    Qt::Key_Return, Qt::Key_Down};
    Taste(Tastenziel(), Eines(Tasten));
  }

  void Zugriffstaste() {
    static const Qt::Key Buchstaben[] = {Qt::Key_Z, Qt::Key_L, Qt::Key_T, Qt::Key_W,
                                         Qt::Key_S, Qt::Key_R, Qt::Key_A};
    Taste(Tastenziel(), Eines(Buchstaben), Qt::AltModifier);
  }

  void FensterWechseln() {
    std::vector<QWidget*> Andere;
    for (QWidget* W : Arbeitsfenster())
      if (W != QApplication::activeWindow()) Andere.push_back(W);
    if (Andere.empty()) return;
    QWidget* Ziel = Eines(Andere);
    Log(QStringLiteral("wechselt zu ") + Name(Ziel));
    Aktivieren(Ziel);
  }

  // Any window but the main one, whose closing ends the program.
  void FensterSchliessen() {
    std::vector<QWidget*> Andere;
    for (QWidget* W : Arbeitsfenster())
      if (W != Form1) Andere.push_back(W);
    if (Andere.empty()) return;
    QWidget* Ziel = Eines(Andere);
    Log(QStringLiteral("schließt %1 über den Rahmen").arg(Name(Ziel)));
    Ziel->close();
    // The desktop hands the activation to the main window.
    Aktivieren(Form1);
  }

  // Depth and start in the drawing window, opened first when needed.
  void KleineZeichnung() {
    if (!ZeichenfensterOffen()) {
      Anklicken(Form1->BZeichnen);
      if (Stopp || !ZeichenfensterOffen()) return;
    }
    Log(QStringLiteral("kleine Zeichnung"));
    if (Chance(70)) {
      const int r = Wurf(100);
      const QString Tiefe = QString::number(r < 90 ? Wurf(7) : r < 98 ? 7 + Wurf(6) : 30);
      Eintippen(FZeichenform->ETiefe, Tiefe);
      if (Stopp) return;
    }
    if (Chance(20)) RadioWaehlen(FZeichenform->RGSchrittModus);
    if (Stopp) return;
    Vermerken("Zeichnungen");
    Anklicken(FZeichenform->BZeichnen);
  }

  // Selects a rule and types a line into the rule field.
  void RegelBearbeiten() {
    Aktivieren(Form1);
    if (Chance(60)) ZeileKlicken(Form1->LBRegeln);
    if (Stopp) return;
    Eintippen(Form1->ERegel, Eines(Regelzeilen));
  }

  // ------------------------------------------------------------ drops

  // Files of the working folder and its subfolder, as a file manager offers them.
  QStringList Ordnerdateien() const {
    QStringList L;
    for (const QString& Unter : {QString(), QStringLiteral("/sub")}) {
      const QDir D(Ordner + Unter);
      for (const QString& N : D.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        L << D.absoluteFilePath(N);
    }
    return L;
  }

  // Drops files, mostly one, on a point of a window, as a file manager does
  // at the end of a drag: enter, move, then the drop where it was taken, or
  // leave where it was not. Mostly on the main window and its fields.
  void Ablage() {
    const std::vector<QWidget*> Fenster = Arbeitsfenster();
    QWidget* F = Chance(70) || Fenster.size() < 2 ? static_cast<QWidget*>(Form1) : Eines(Fenster);
    QWidget* Ziel = F;
    std::optional<QPoint> P;
    if (Chance(70)) {
      std::vector<TSteuerelement> L = Steuerelemente(F);
      std::vector<TSteuerelement> Felder;
      for (const TSteuerelement& S : L)
        if (S.Art == TArt::Feld) Felder.push_back(S);
      if (const std::optional<TSteuerelement> S = Waehlen(Chance(60) ? Felder : L)) {
        Ziel = S->W;
        P = Treffpunkt(Ziel);
      }
    }
    if (!P) {
      Ziel = F;
      P = QPoint(Wurf(F->width()), Wurf(F->height()));
    }
    const QStringList Vorhanden = Ordnerdateien();
    QStringList Pfade;
    const int k = Wurf(100);
    if (k < 85 && !Vorhanden.isEmpty()) {
      Pfade << Eines(Vorhanden);
      if (k < 8) Pfade << Eines(Vorhanden);
    } else if (k < 93) {
      Pfade << Ordner + QStringLiteral("/fehlt.LSY");
    } else {
      Pfade << Ordner + QStringLiteral("/sub");
    }
    Ablegen(F, Ziel->mapTo(F, *P), Pfade);
  }

  // A file dropped on the main window, and the messages shown until then.
  struct TAblageprobe {
    QString Pfad, Ziel;
    int64_t Meldungen = 0;
    bool Angenommen = false;  // the window took the drop event
  };
  std::optional<TAblageprobe> Ablageprobe;

  // A drop that has loaded its file, or said why not, is done with: what the
  // user does later in the same event (another file loaded while the drop's
  // live redraw runs) must not hide it.
  void AblageBeobachten() {
    if (Ablageprobe && (Form1->GeladeneDatei == Ablageprobe->Pfad ||
                        Statistik["Meldungen"] != Ablageprobe->Meldungen))
      Ablageprobe.reset();
  }

  // Once the event loop ran, a file dropped on the main window is loaded, or
  // a message said why not; wherever on the window it was dropped.
  void AblagePruefen() {
    AblageBeobachten();
    if (!Ablageprobe) return;
    const TAblageprobe P = *Ablageprobe;
    Ablageprobe.reset();
    Verletzt(QStringLiteral("die Ablage von %1 auf %2 lud nichts und meldete nichts (%3)")
                 .arg(QFileInfo(P.Pfad).fileName(), P.Ziel,
                      P.Angenommen ? QStringLiteral("Ablage angenommen")
                                   : QStringLiteral("Ablage nicht angenommen")));
  }

  void Ablegen(QWidget* F, QPoint Ort, const QStringList& Pfade) {
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
    ++Ablagen[Ziel];
    QStringList Namen;
    for (const QString& Pfad : Pfade) Namen << QFileInfo(Pfad).fileName();
    // The window system offers no drag to a window a modal dialog blocks.
    if (Gesperrt(F)) {
      Log(QStringLiteral("Ablage von %1 auf %2 (gesperrt)").arg(Namen.join(", "), Ziel));
      return;
    }
    Log(QStringLiteral("Ablage von %1 auf %2 bei %3,%4")
            .arg(Namen.join(", "), Ziel)
            .arg(Ort.x())
            .arg(Ort.y()));
    Vermerken("Ablagen");
    QPointer<QWidget> Fenster = F;
    QPointer<QLineEdit> Feld = qobject_cast<QLineEdit*>(Dort);
    const QString FeldVorher = Feld ? Feld->text() : QString();
    QWindow* W = F->windowHandle();
    QDragEnterEvent Eintritt(Ort, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &Daten,
                             Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(W, &Eintritt);
    QDragMoveEvent Bewegung(Ort, Eintritt.possibleActions(), &Daten, Qt::LeftButton,
                            Qt::NoModifier);
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
    if (F == Form1 && Pfade.size() == 1 && Form1->GeladeneDatei != Pfade.front())
      Ablageprobe = {Pfade.front(), Ziel, Statistik["Meldungen"]};
    QApplication::sendEvent(W, &Abwurf);
    if (Ablageprobe) Ablageprobe->Angenommen = Abwurf.isAccepted();
    // A field takes text, not files: the window loads them, once the drop is over.
    if (Feld && Feld->text() != FeldVorher && Feld->text().contains(Texte.front()))
      Verletzt(QStringLiteral("die Ablage auf %1 fügte den Namen ein: '%2'")
                   .arg(Name(Feld), Feld->text()));
  }

  // ------------------------------------------------------------ the answerer

  std::chrono::steady_clock::time_point Geplant;
  QPointer<QWidget> Beobachtet;  // the modal widget seen last
  int Reife = 0;                 // ticks it has been up
  QPointer<QWidget> Dialog;      // the program's dialog being worked in
  int DialogUebrig = 0;          // steps left before it is closed
  bool ERegelFrei = false;       // a prompt of the rule field was shown: it may keep its text
  int Verschachtelung = 0;       // nesting of ticks that act
  static constexpr int EreignisTiefe = 4;  // deepest tick that starts events
  static constexpr int AntwortTiefe = 12;  // deepest tick that still answers dialogs
  std::chrono::steady_clock::time_point LaufSeit;
  bool LaufGesehen = false;
  bool AbbruchGeklickt = false;
  std::chrono::steady_clock::time_point AbbruchZeit;

  void Ticken() {
    const double Verspaetung = Millisekunden(Geplant) - 2;
    Planen();
    if (Stopp) {
      Notausgang();
      return;
    }
    if (Verspaetung > GrenzeMs && Verschachtelung == 0)
      Verletzt(QStringLiteral("ein Zeitgeber kam %1 ms zu spät").arg(qRound(Verspaetung)));
    AbbruchBeobachten();
    AblageBeobachten();
    // Ticks nested deeper than EreignisTiefe start no events, but still answer
    // what is open, or a dialog opened there would wait for good.
    const bool Offen = QApplication::activeModalWidget() || QApplication::activePopupWidget();
    if (Verschachtelung >= EreignisTiefe && (!Offen || Verschachtelung > AntwortTiefe)) return;
    ++Verschachtelung;
    Handeln();
    --Verschachtelung;
  }

  void Handeln() {
    if (Dialog && !Dialog->isVisible()) Dialog = nullptr;
    QWidget* M = QApplication::activeModalWidget();
    if (M && M->isVisible()) {
      if (M != Beobachtet) {
        Beobachtet = M;
        Reife = 0;
      }
      // A person answers once the dialog is there and active.
      if (++Reife < 3 || (!M->isActiveWindow() && Reife < 25)) return;
      Reife = 0;
      if (QWidget* P = QApplication::activePopupWidget()) {
        PopupBeantworten(P);
        return;
      }
      if (Loslassen == TLoslassen::Geschluckt) {
        Log(QStringLiteral("  Loslassen auf ") + Name(M));
        Loslassen = TLoslassen::Keins;
        QTest::mouseRelease(M->windowHandle(), Qt::LeftButton, {}, QPoint(1, 1));
        return;
      }
      Beantworten(M);
      return;
    }
    if (QWidget* P = QApplication::activePopupWidget(); P && ImEreignis) {
      if (++Reife < 3) return;
      Reife = 0;
      PopupBeantworten(P);
      return;
    }
    if (FZeichenform && FZeichenform->ZeichnungLaeuft() && Verschachtelung <= EreignisTiefe)
      ImLauf();
  }

  // Answers what is left open after a failure, so that the program can end.
  void Notausgang() {
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
  void ImLauf() {
    // A hand that holds a button down clicks no other.
    if (auto* K = qobject_cast<QAbstractButton*>(Festgehalten.data()); K && K->isDown()) return;
    if (!LaufGesehen) {
      LaufGesehen = true;
      LaufSeit = std::chrono::steady_clock::now();
    }
    QPushButton* Abbrechen = FZeichenform->BAbbrechen;
    if (Abbrechen->isVisible() && Abbrechen->isEnabled() &&
        (ZufallImLauf() % 100 == 0 || Millisekunden(LaufSeit) > 1500)) {
      Log(QStringLiteral("  im Lauf: Abbrechen"));
      Vermerken("Abbrechen");
      AbbruchGeklickt = true;
      AbbruchZeit = std::chrono::steady_clock::now();
      LaufSeit = AbbruchZeit;
      Aktivieren(Abbrechen);
      QTest::mouseClick(Abbrechen->window()->windowHandle(), Qt::LeftButton, {},
                        Abbrechen->mapTo(Abbrechen->window(), Abbrechen->rect().center()));
      Zaehlen(Abbrechen);
      return;
    }
    if (ZufallImLauf() % 50 == 0) NebenbeiArbeiten();
  }

  // One event fired from inside a run or a save. It and the dialogs it opens
  // draw from the run's generator, so that the main sequence does not depend
  // on when the run gave way.
  void NebenbeiArbeiten() {
    if (LaufEreignisse > 0) return;
    ++LaufEreignisse;
    Vermerken("Ereignisse im Lauf");
    Log(QStringLiteral("  im Lauf:"));
    std::swap(Zufall, ZufallImLauf);
    Ereignis();
    std::swap(Zufall, ZufallImLauf);
    --LaufEreignisse;
  }

  // The stop must take effect promptly: the run ends, or goes on to its next
  // part (the drawing after a stopped fitting, with its message first).
  void AbbruchBeobachten() {
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

  void PopupBeantworten(QWidget* P) {
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

  // The desktop activates the window below a dialog as soon as it closes,
  // before anything the program asks for afterwards.
  static void DarunterAktivieren(QWidget* Dialog, QWidget* Eltern) {
    if (Dialog->isVisible()) return;
    if (QWidget* M = QApplication::activeModalWidget(); M && M->isVisible())
      M->activateWindow();
    else if (Eltern && Eltern->isVisible())
      Eltern->activateWindow();
  }

  void Beantworten(QWidget* M) {
    QPointer<QWidget> Offen = M;
    QPointer<QWidget> Eltern = M->parentWidget() ? M->parentWidget()->window() : nullptr;
    // While the user holds a button down, only the keyboard answers.
    const bool NurTasten = Loslassen == TLoslassen::Gehalten;
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
    if (Offen) DarunterAktivieren(Offen, Eltern);
  }

  // Closing through the frame: what the close button of the title bar does.
  void Rahmen(QWidget* W) {
    Log(QStringLiteral("  %1: Rahmen").arg(Name(W)));
    W->close();
  }

  void KnopfDruecken(QAbstractButton* B, bool NurTasten) {
    if (NurTasten) {
      B->setFocus(Qt::TabFocusReason);
      Taste(B, Qt::Key_Space);
    } else {
      Klick(B, Qt::LeftButton, B->rect().center());
    }
  }

  // A dialog of the program: worked in for a few steps like any window
  // (now and then with a click on a window it blocks), then closed, mostly
  // with its default button, as a person goes on.
  void DialogBeantworten(QWidget* D, bool NurTasten) {
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
      NamenPruefen(D);
      DialogGeoeffnet(D);
      if (Stopp) return;
      DialogUebrig = Vorgabe && Chance(60) ? 0 : Wurf(static_cast<int>(L.size()) + 1);
      // Now and then a person first clicks where the dialog does not let them.
      if (!NurTasten && Chance(15)) {
        GesperrtBedienen();
        return;
      }
    } else {
      DialogPruefen(D);
      if (Stopp) return;
    }
    if (DialogUebrig-- > 0 && !NurTasten) {
      const int r = Wurf(100);
      if (r < 75) {
        if (const std::optional<TSteuerelement> S = Waehlen(L)) Bedienen(*S);
      } else if (r < 88) {
        static const Qt::Key Tasten[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Escape,
                                         Qt::Key_Return, Qt::Key_Enter};
        Taste(Tastenziel(), Eines(Tasten));
      } else {
        GesperrtBedienen();
      }
      return;
    }
    const int r = Wurf(100);
    if (Vorgabe && r < 55) {
      const int k = Wurf(3);
      if (k == 0 || NurTasten)
        Taste(Tastenziel(), Qt::Key_Return);
      else if (k == 1 && QApplication::focusWidget() == Vorgabe)
        Taste(Vorgabe, Qt::Key_Space);
      else
        KnopfDruecken(Vorgabe, NurTasten);
    } else if (r < 75 && !Knoepfe.empty()) {
      KnopfDruecken(Eines(Knoepfe), NurTasten);
    } else if (r < 88) {
      Taste(Tastenziel(), Chance(50) ? Qt::Key_Escape : Qt::Key_Return);
    } else {
      Rahmen(D);
    }
  }

  // A control of a window the open dialog blocks: Qt must let nothing through.
  void GesperrtBedienen() {
    std::vector<TSteuerelement> L;
    for (QWidget* F : Arbeitsfenster())
      if (Gesperrt(F))
        for (const TSteuerelement& S : Steuerelemente(F)) L.push_back(S);
    if (const std::optional<TSteuerelement> S = Waehlen(L, 50)) Bedienen(*S);
  }

  void BoxBeantworten(QMessageBox* Box, bool NurTasten) {
    const QString Inhalt = Box->text();
    Vermerken("Meldungen");
    if (Inhalt.startsWith(QStringLiteral("Regel geändert aber nicht übernommen")) ||
        Inhalt.startsWith(QStringLiteral("Fehler in der Regel")))
      ERegelFrei = true;
    const QString Kurz = Inhalt.left(60).replace(QLatin1String("\r\n"), QLatin1String(" / "));
    const int r = Wurf(100);
    const QList<QAbstractButton*> Knoepfe = Box->buttons();
    if (r < 55 && !Knoepfe.isEmpty()) {
      QAbstractButton* K = Knoepfe[Wurf(static_cast<int>(Knoepfe.size()))];
      Log(QStringLiteral("  Box '%1': %2").arg(Kurz, K->text()));
      KnopfDruecken(K, NurTasten);
    } else if (r < 70) {
      Log(QStringLiteral("  Box '%1': Escape").arg(Kurz));
      Taste(Box, Qt::Key_Escape);
    } else if (r < 85 || NurTasten) {
      Log(QStringLiteral("  Box '%1': Eingabe").arg(Kurz));
      Taste(Box, Chance(50) ? Qt::Key_Return : Qt::Key_Enter);
    } else {
      Log(QStringLiteral("  Box '%1'").arg(Kurz));
      Rahmen(Box);
    }
  }

  static QAbstractButton* DialogKnopf(QWidget* D, QDialogButtonBox::ButtonRole Rolle) {
    auto* Leiste = D->findChild<QDialogButtonBox*>();
    if (!Leiste) return nullptr;
    for (QAbstractButton* B : Leiste->buttons())
      if (Leiste->buttonRole(B) == Rolle && B->isVisible() && B->isEnabled()) return B;
    return nullptr;
  }

  // A picture dialog offers PNG among its types.
  static bool IstBilddialog(const QFileDialog* D) {
    return D->acceptMode() == QFileDialog::AcceptSave &&
           D->nameFilters().join(QLatin1Char(' ')).contains(QLatin1String("*.png"));
  }

  QString Dateiname(const QFileDialog* D) {
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

  void DateidialogBeantworten(QFileDialog* D, bool NurTasten) {
    Vermerken("Dateidialoge");
    // The folders the monkey works in are its own: a dialog that went
    // elsewhere (".." typed) is brought back first.
    const QString Dort = D->directory().canonicalPath();
    const QString Hier = QDir(Ordner).canonicalPath();
    if (Dort != Hier && !Dort.startsWith(Hier + QLatin1Char('/'))) D->setDirectory(Ordner);
    if (!D->property("affeBeobachtet").toBool()) {
      D->setProperty("affeBeobachtet", true);
      QObject::connect(D, &QFileDialog::fileSelected, &Kontext,
                       [this, P = QPointer<QFileDialog>(D)](const QString& Datei) {
                         if (P) BildGewaehlt(P, Datei);
                       });
    }
    auto* Name = D->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const int r = Wurf(100);
    if (r < 8) {
      // The other type: for pictures it changes the ending added to a bare name.
      if (auto* Typ = D->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
          Typ && Typ->isVisible() && Typ->count() > 1) {
        Log(QStringLiteral("  Dateidialog: anderer Typ"));
        Typ->setFocus(Qt::TabFocusReason);
        Taste(Typ, Chance(50) ? Qt::Key_Down : Qt::Key_Up);
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
        Taste(Name, Qt::Key_A, Qt::ControlModifier);
        for (QChar Z : N)
          Zeichen(QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                    : static_cast<QWidget*>(Name),
                  Z);
      }
      QAbstractButton* Ok = DialogKnopf(D, QDialogButtonBox::AcceptRole);
      if (Chance(50) || !Ok) {
        Taste(Name, Qt::Key_Return);
      } else {
        Log(QStringLiteral("  Dateidialog: ") + Ok->text());
        KnopfDruecken(Ok, NurTasten);
      }
      return;
    }
    const int k = Wurf(3);
    if (k == 0 || NurTasten) {
      Log(QStringLiteral("  Dateidialog: Escape"));
      Taste(D, Qt::Key_Escape);
    } else if (QAbstractButton* Ab = DialogKnopf(D, QDialogButtonBox::RejectRole); Ab && k == 1) {
      Log(QStringLiteral("  Dateidialog: ") + Ab->text());
      KnopfDruecken(Ab, NurTasten);
    } else {
      PopupSchliessen();
      Rahmen(D);
    }
  }

  void FarbdialogBeantworten(QColorDialog* C, bool NurTasten) {
    Vermerken("Farbdialoge");
    if (Chance(60)) {
      const QColor Farbe(Wurf(256), Wurf(256), Wurf(256));
      Log(QStringLiteral("  Farbdialog: %1, OK").arg(Farbe.name()));
      C->setCurrentColor(Farbe);
      if (QAbstractButton* Ok = DialogKnopf(C, QDialogButtonBox::AcceptRole); Ok && !NurTasten)
        KnopfDruecken(Ok, false);
      else
        Taste(C, Qt::Key_Return);
      return;
    }
    if (Chance(50) || NurTasten) {
      Log(QStringLiteral("  Farbdialog: Escape"));
      Taste(C, Qt::Key_Escape);
    } else {
      Rahmen(C);
    }
  }

  // The progress of an SVG being written: waited for, stopped, or worked
  // beside in the windows it does not block.
  void FortschrittBeantworten(QProgressDialog* P, bool NurTasten) {
    Vermerken("Fortschrittsanzeigen");
    const int r = Wurf(100);
    if (r < 50) {
      if (ZufallImLauf() % 4 == 0) NebenbeiArbeiten();
      return;
    }
    if (r < 75) {
      if (auto* Ab = P->findChild<QPushButton*>(); Ab && Ab->isVisible()) {
        Log(QStringLiteral("  Fortschritt: ") + Ab->text());
        KnopfDruecken(Ab, NurTasten);
        return;
      }
    }
    if (r < 90 || NurTasten) {
      Log(QStringLiteral("  Fortschritt: Escape"));
      Taste(P, Qt::Key_Escape);
    } else {
      Rahmen(P);
    }
  }

  // ------------------------------------------------------------ saved pictures

  // A PNG the drawing window saves: the file as it was before, and the
  // surface at the moment its name was confirmed.
  struct TBildprobe {
    QString Datei;
    QByteArray Vorher;
    QImage Flaeche;
  };
  std::vector<TBildprobe> Bildproben;

  void BildGewaehlt(QFileDialog* D, const QString& Datei) {
    if (!IstBilddialog(D) || !FZeichenform || D->parentWidget() != FZeichenform ||
        QFileInfo(Datei).suffix().toLower() != QLatin1String("png"))
      return;
    BilderPruefen();
    Bildproben.push_back({Datei, Pruefsumme(Datei), FZeichenform->zeichenflaeche->Bitmap().copy()});
  }

  // A PNG written since must show the surface exactly; one whose saving
  // failed is left as it was.
  void BilderPruefen() {
    for (const TBildprobe& P : Bildproben) {
      if (Stopp) break;
      if (!QFileInfo::exists(P.Datei) || Pruefsumme(P.Datei) == P.Vorher) continue;
      Vermerken("PNG verglichen");
      const QImage Gelesen(P.Datei);
      if (Gelesen.isNull()) {
        Verletzt(QStringLiteral("das gespeicherte Bild %1 lässt sich nicht lesen").arg(P.Datei));
        break;
      }
      const QImage A = Gelesen.convertToFormat(QImage::Format_RGB32);
      const QImage B = P.Flaeche.convertToFormat(QImage::Format_RGB32);
      // Coming back from the file dialog activates the drawing window, which
      // toggles the turtle symbol before the picture is written: then the
      // file shows the surface as it is after the event.
      if (A != B && FZeichenform &&
          FZeichenform->zeichenflaeche->Bitmap().convertToFormat(QImage::Format_RGB32) == A) {
        Vermerken("PNG nach Rückkehr verglichen");
        continue;
      }
      if (A != B) {
        int Abweichend = 0;
        QRect Bereich;
        if (A.size() == B.size())
          for (int y = 0; y < A.height(); ++y)
            for (int x = 0; x < A.width(); ++x)
              if (A.pixel(x, y) != B.pixel(x, y)) {
                ++Abweichend;
                Bereich |= QRect(x, y, 1, 1);
              }
        // Activations toggle the turtle symbol, also more than once between
        // the confirmation and the end of the event, and a live redraw moves
        // it: a picture that differs only in one square of the symbol's size
        // shows the surface at another toggle.
        if (FZeichenform && !Bereich.isEmpty()) {
          const double Seite = 2 * (FZeichenform->Turtle().SymbolGroesse + 4);
          if (Bereich.width() <= Seite && Bereich.height() <= Seite) {
            Vermerken("PNG bis auf das Turtlesymbol verglichen");
            continue;
          }
        }
        // Both pictures stay beside the temporary folder for a look, and the
        // surface as it is now tells whether it changed after the confirmation.
        const QString Ablage =
            QDir::temp().filePath(QStringLiteral("affen-%1-%2").arg(Saat).arg(Nummer));
        A.save(Ablage + QStringLiteral("-gespeichert.png"));
        B.save(Ablage + QStringLiteral("-flaeche.png"));
        Verletzt(QStringLiteral("das gespeicherte Bild %1 (%2 x %3) weicht in %4 Punkten "
                                "(%5,%6 %7 x %8) von der Zeichenfläche (%9 x %10) ab, vor "
                                "und nach dem Ereignis (Bilder: %11-*.png)")
                     .arg(P.Datei)
                     .arg(A.width())
                     .arg(A.height())
                     .arg(Abweichend)
                     .arg(Bereich.x())
                     .arg(Bereich.y())
                     .arg(Bereich.width())
                     .arg(Bereich.height())
                     .arg(B.width())
                     .arg(B.height())
                     .arg(Ablage));
      }
    }
    Bildproben.clear();
  }

  // ------------------------------------------------------------ invariants

  static QString Zeile(const TRegel& R) { return Text(TRegelsystem::RegelAlsText(R)); }

  // After an event returned, no dialog and no popup may still be open; the
  // windows left shown are those the user works in.
  void NichtsOffen(const char* Wann) {
    if (QWidget* M = QApplication::activeModalWidget(); M && M->isVisible())
      Verletzt(QStringLiteral("%1 ist %2 noch offen").arg(Name(M), Wann));
    else if (QWidget* P = QApplication::activePopupWidget())
      Verletzt(QStringLiteral("Popup %1 ist %2 noch offen").arg(Name(P), Wann));
    else if (ModalOffen())
      // Live redraws and the magnifier's views would wait for it for good.
      Verletzt(QStringLiteral("ein Dialog gilt %1 noch als offen, obwohl keiner zu sehen ist")
                   .arg(Wann));
    else
      for (QWidget* W : QApplication::topLevelWidgets())
        if (W->isVisible() && !IstArbeitsfenster(W) && !W->inherits("QTipLabel")) {
          Verletzt(QStringLiteral("Fenster %1 ist %2 noch offen").arg(Name(W), Wann));
          break;
        }
  }

  static bool HatFokus(QWidget* Feld) { return Feld->window()->focusWidget() == Feld; }

  void Pruefen() {
    NichtsOffen("nach dem Abwarten");
    for (QWidget* F : Programmfenster())
      if (!Stopp) NamenPruefen(F);
    if (Stopp) return;
    // A click that is over leaves no button pressed. An access key shows its
    // button pressed for 100 ms before it clicks it, by a timer that may come
    // as late as any other.
    const auto Gedrueckt = [] {
      for (QWidget* F : Arbeitsfenster())
        for (QAbstractButton* B : F->findChildren<QAbstractButton*>())
          if (B->window() == F && B->isVisible() && B->isDown()) return B;
      return static_cast<QAbstractButton*>(nullptr);
    };
    const auto Anfang = std::chrono::steady_clock::now();
    while (Gedrueckt() && Millisekunden(Anfang) < 100 + GrenzeMs)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (QAbstractButton* B = Gedrueckt()) {
      Verletzt(QStringLiteral("%1 bleibt gedrückt").arg(Name(B)));
      return;
    }
    RegelnPruefen();
    if (!Stopp) HauptfelderPruefen();
    if (!Stopp) ZeichenfensterPruefen();
    if (!Stopp) EinstellungenPruefen();
    if (!Stopp) BilderPruefen();
    if (!Stopp) AblagePruefen();
    if (Form1->GeladeneDatei != Geladen) {
      Geladen = Form1->GeladeneDatei;
      const QString Endung = QFileInfo(Geladen).suffix().toLower();
      if (Endung == QLatin1String("png") || Endung == QLatin1String("svg"))
        Vermerken("Bilder geladen");
    }
  }

  QString Geladen;  // the file the main window loaded or saved last

  // Every window and control shown carries its name, for this report and
  // for the tests.
  void NamenPruefen(QWidget* F) {
    if (!Benannt(F)) {
      Verletzt(QStringLiteral("ein Fenster ohne Namen ist offen: %1 '%2'")
                   .arg(QString::fromLatin1(F->metaObject()->className()), F->windowTitle()));
      return;
    }
    std::vector<TSteuerelement> L;
    QStringList Unbenannt;
    Sammeln(F, true, L, Unbenannt);
    if (!Unbenannt.isEmpty())
      Verletzt(QStringLiteral("Steuerelemente ohne Namen: ") + Unbenannt.join(", "));
  }

  void RegelnPruefen() {
    TForm1* H = Form1;
    const TRegelsystem& R = H->Regelsystem;
    if (H->LBRegeln->count() != R.Count()) {
      Verletzt(QStringLiteral("LBRegeln hat %1 Einträge, das Regelsystem %2 Regeln")
                   .arg(H->LBRegeln->count())
                   .arg(R.Count()));
      return;
    }
    for (int i = 0; i < R.Count(); ++i) {
      const TRegel& Regel = R.Items(i);
      std::string Meldung, Rumpf;
      char Kopf = 0;
      if (!TRegelsystem::RegelZerlegen(TRegelsystem::RegelAlsText(Regel), Meldung, Rumpf, Kopf) ||
          Kopf != Regel.Kopf || Rumpf != Regel.Rumpf) {
        Verletzt(QStringLiteral("Regel %1 '%2' ist ungültig").arg(i).arg(Zeile(Regel)));
        return;
      }
      const QString Eintrag = H->LBRegeln->item(i)->text();
      if (!TRegelsystem::RegelZerlegen(Bytes(Eintrag), Meldung, Rumpf, Kopf) ||
          Kopf != Regel.Kopf || Rumpf != Regel.Rumpf) {
        Verletzt(QStringLiteral("Eintrag %1 '%2' passt nicht zur Regel '%3'")
                     .arg(i)
                     .arg(Eintrag, Zeile(Regel)));
        return;
      }
    }
    if (R.Count() > 0 && H->LBRegeln->currentRow() < 0)
      Verletzt(QStringLiteral("in LBRegeln ist kein Eintrag ausgewählt"));
  }

  void Feld(QLineEdit* E, bool Stimmt, const QString& Soll) {
    if (Stopp || HatFokus(E) || Stimmt) return;
    Verletzt(QStringLiteral("%1 zeigt '%2', in Kraft ist %3").arg(Name(E), E->text(), Soll));
  }

  void HauptfelderPruefen() {
    TForm1* H = Form1;
    const TRegelsystem& R = H->Regelsystem;
    Feld(H->EAxiom, Bytes(H->EAxiom->text()) == R.Axiom, Text(R.Axiom));
    const auto Winkel = [&](QLineEdit* E, double W) {
      Feld(E, LiestSichAls(E->text(), W) || Bytes(E->text()) == KommazahlAlsText(2, W),
           QString::number(W, 'g', 17));
    };
    Winkel(H->EPlus, R.WinkelPlus);
    Winkel(H->EMinus, R.WinkelMinus);
    const std::string T = Bytes(H->ETiefeString->text());
    Feld(H->ETiefeString, IstGanzzahl(T) && GanzzahlWert(T) == R.Tiefe, QString::number(R.Tiefe));
    // The rule field holds the selected rule, unless its prompt let it keep a text.
    const int i = H->LBRegeln->currentRow();
    const QString Eintrag = i >= 0 ? H->LBRegeln->item(i)->text() : QString();
    if (H->ERegel->text() == Eintrag) ERegelFrei = false;
    if (!ERegelFrei) Feld(H->ERegel, H->ERegel->text() == Eintrag, "'" + Eintrag + "'");
  }

  void ZeichenfensterPruefen() {
    TFZeichenform* Z = FZeichenform;
    const auto Zahl = [](int Stellen, double W) { return Text(KommazahlAlsText(Stellen, W)); };
    Feld(Z->ETiefe, Z->ETiefe->text() == QString::number(Z->Vorgaben().Tiefe),
         QString::number(Z->Vorgaben().Tiefe));
    Feld(Z->ESchrittweite, Z->ESchrittweite->text() == Zahl(3, Z->Maschine().Schrittweite()),
         Zahl(3, Z->Maschine().Schrittweite()));
    Feld(Z->Ex, Z->Ex->text() == Zahl(1, Z->Vorgaben().StartX), Zahl(1, Z->Vorgaben().StartX));
    Feld(Z->Ey, Z->Ey->text() == Zahl(1, Z->Vorgaben().StartY), Zahl(1, Z->Vorgaben().StartY));
    Feld(Z->EWinkel, Z->EWinkel->text() == Zahl(1, Z->Vorgaben().Startwinkel),
         Zahl(1, Z->Vorgaben().Startwinkel));
    if (Stopp) return;
    // All dialogs are answered now: nothing can be under way.
    if (Z->ZeichnungLaeuft() || Z->SvgWirdGeschrieben()) {
      Verletzt(QStringLiteral("ohne offenen Dialog %1")
                   .arg(Z->ZeichnungLaeuft() ? "läuft noch eine Zeichnung"
                                             : "wird noch ein SVG geschrieben"));
      return;
    }
    for (QWidget* W :
         std::initializer_list<QWidget*>{Z->BAbbrechen, Z->PBFortschritt, Z->EZeichen, Z->EString})
      if (!W->isHidden()) {
        Verletzt(QStringLiteral("%1 ist ohne Zeichnung sichtbar").arg(Name(W)));
        return;
      }
  }

  // The radio groups show the settings in force, and the extra settings'
  // working values are those in force while the dialog is closed.
  void EinstellungenPruefen() {
    TFZeichenform* Z = FZeichenform;
    const struct {
      TRadioGruppe* Gruppe;
      bool Wert;
    } Gruppen[] = {
        {Z->RGSchrittModus, Einstellungen.Schrittmodus},
        {Z->RGSchrittweite, Einstellungen.SchrittweiteAnpassen},
        {Z->RGZufallsModus, Einstellungen.Zufallsmodus},
        {Z->RGLage, Einstellungen.Zentriert},
        {Z->RGTurtleZeigen, !Z->Turtle().Sichtbar},
        {Z->RGNachzeichnen, Z->Nachzeichnen().Sofort()},
    };
    for (const auto& G : Gruppen)
      if (G.Gruppe->ItemIndex() != (G.Wert ? 1 : 0)) {
        Verletzt(QStringLiteral("%1 zeigt Punkt %2, in Kraft ist der für '%3'")
                     .arg(Name(G.Gruppe))
                     .arg(G.Gruppe->ItemIndex())
                     .arg(G.Gruppe->Items[G.Wert ? 1 : 0]->text()));
        return;
      }
    if (ExtraEinstellungen->isVisible()) return;
    for (const TRezeptfeld* F : ExtraFelder()) {
      TLauf Arbeit, InKraft;
      Arbeit.Einstellungen = ExtraWerte;
      InKraft.Einstellungen = Einstellungen;
      // The seed in force moves on with every run; the dialog takes it when it opens.
      if (std::string(F->Schluessel) == "Zufallszustand") continue;
      if (Feldwert(*F, Arbeit) != Feldwert(*F, InKraft)) {
        Verletzt(QStringLiteral("Extra-Wert %1 ist %2, in Kraft ist %3")
                     .arg(QString::fromLatin1(F->Schluessel), Feldwert(*F, Arbeit),
                          Feldwert(*F, InKraft)));
        return;
      }
    }
  }

  // ------------------------------------------------------------ the extra settings' fields

  // The field table's rows of the extra settings' fields, by field name.
  static const std::map<QString, const char*>& Extraschluessel() {
    static const std::map<QString, const char*> Schluessel = {
        {QStringLiteral("EDicke"), "Anfangsdicke"},
        {QStringLiteral("ESchwund"), "Schwundfaktor"},
        {QStringLiteral("EAbweichungS"), "AbweichungSchritt"},
        {QStringLiteral("EAbweichungP"), "AbweichungPlus"},
        {QStringLiteral("EAbweichungM"), "AbweichungMinus"},
        {QStringLiteral("ESaat"), "Zufallszustand"},
        {QStringLiteral("BZeichenfarbe"), "Zeichenfarbe"},
    };
    return Schluessel;
  }

  static std::vector<const TRezeptfeld*> ExtraFelder() {
    std::vector<const TRezeptfeld*> L;
    for (const auto& [Feld, Schluessel] : Extraschluessel())
      L.push_back(FeldZuSchluessel(Schluessel));
    return L;
  }

  // A value of the field table as a text that shows every bit of it.
  static QString Feldwert(const TRezeptfeld& F, TLauf R) {
    if (F.Zahl) return QString::number(F.Zahl(R), 'g', 17);
    if (F.Wort) return QString::number(F.Wort(R));
    if (F.Ganz) return QString::number(F.Ganz(R));
    return {};
  }

  // As the dialog shows a value: the field's unit, one decimal.
  static QString Anzeige(const TRezeptfeld& F, const TEinstellungen& W) {
    TLauf R;
    R.Einstellungen = W;
    if (F.Wort) return QString::number(F.Wort(R));
    double Wert = F.Zahl(R);
    if (F.Art == TFeldart::Prozent) Wert *= 100;
    if (F.Art == TFeldart::Schwund) Wert = 100 - Wert * 100;
    return Text(KommazahlAlsText(1, Wert));
  }

  // The fields of a dialog that just opened show the settings in force.
  void DialogGeoeffnet(QWidget* D) {
    if (D != ExtraEinstellungen || !D->isActiveWindow()) return;
    for (const TSteuerelement& S : Steuerelemente(D)) {
      auto* E = qobject_cast<QLineEdit*>(S.W);
      const auto It = Extraschluessel().find(S.W->objectName());
      if (!E || It == Extraschluessel().end()) continue;
      const QString Soll = Anzeige(*FeldZuSchluessel(It->second), Einstellungen);
      if (E->text() != Soll) {
        Verletzt(QStringLiteral("%1 zeigt beim Öffnen '%2', in Kraft ist %3")
                     .arg(Name(E), E->text(), Soll));
        return;
      }
    }
  }

  // The dialog's fields not being typed in read as the working values (an
  // accepted entry keeps its text; a refused one shows the value again).
  void DialogPruefen(QWidget* D) {
    if (D != ExtraEinstellungen || !D->isActiveWindow()) return;
    for (const TSteuerelement& S : Steuerelemente(D)) {
      auto* E = qobject_cast<QLineEdit*>(S.W);
      const auto It = Extraschluessel().find(S.W->objectName());
      if (!E || It == Extraschluessel().end()) continue;
      const TRezeptfeld& F = *FeldZuSchluessel(It->second);
      TLauf Arbeit;
      Arbeit.Einstellungen = ExtraWerte;
      bool Stimmt = E->text() == Anzeige(F, ExtraWerte);
      if (!Stimmt) {
        try {
          TLauf Gelesen = Arbeit;
          FeldEingeben(F, Gelesen, Bytes(E->text()));
          Stimmt = Feldwert(F, Gelesen) == Feldwert(F, Arbeit);
        } catch (const std::exception&) {
        }
      }
      Feld(E, Stimmt, Feldwert(F, Arbeit));
      if (Stopp) return;
    }
  }
};

// Where the windows' thread hangs: it writes its own stack when asked.
void StapelZeigen(int) {
  void* Rahmen[80];
  const int n = backtrace(Rahmen, 80);
  static const char Kopf[] = "Stapel des Fensterfadens:\n";
  (void)!write(STDERR_FILENO, Kopf, sizeof Kopf - 1);
  backtrace_symbols_fd(Rahmen, n, STDERR_FILENO);
}

// Ends a run that hangs, naming the seed, the last events and where the
// windows' thread stands.
class TWachhund {
 public:
  TWachhund(TAffe& Affe, int Sekunden)
      : Affe(Affe), Sekunden(Sekunden), Hauptfaden(pthread_self()) {
    signal(SIGUSR1, StapelZeigen);
    Faden = std::thread([this] { Wachen(); });
  }
  ~TWachhund() {
    Fertig = true;
    Faden.join();
  }

 private:
  void Wachen() {
    int64_t Zuletzt = -1;
    auto Seit = std::chrono::steady_clock::now();
    while (!Fertig) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      const int64_t Jetzt = Affe.Fortschritt;
      if (Jetzt != Zuletzt) {
        Zuletzt = Jetzt;
        Seit = std::chrono::steady_clock::now();
      } else if (std::chrono::steady_clock::now() - Seit > std::chrono::seconds(Sekunden)) {
        std::fprintf(stderr,
                     "Affentest hängt seit %d s nach Ereignis %lld (Saat %llu).\n"
                     "Letzte Ereignisse:\n%s",
                     Sekunden, static_cast<long long>(Jetzt),
                     static_cast<unsigned long long>(Affe.Saat), Affe.Verlauf().c_str());
        std::fflush(stderr);
        pthread_kill(Hauptfaden, SIGUSR1);
        std::this_thread::sleep_for(std::chrono::seconds(2));
        std::_Exit(2);
      }
    }
  }

  TAffe& Affe;
  const int Sekunden;
  const pthread_t Hauptfaden;
  std::atomic<bool> Fertig{false};
  std::thread Faden;
};

// Mouse events on plain widgets are not accepted, and the offscreen platform
// cannot do all a desktop does; that is no news.
void Meldungsfilter(QtMsgType Typ, const QMessageLogContext&, const QString& Text) {
  if (Typ == QtWarningMsg && (Text.contains(QLatin1String("not accepted by receiving widget")) ||
                              Text.startsWith(QLatin1String("This plugin does not support"))))
    return;
  std::fprintf(stderr, "%s\n", Text.toLocal8Bit().constData());
}

TEST(Affentest, ZufaelligeBedienungLaesstDieFensterStimmig) {
  const uint64_t Saat = static_cast<uint64_t>(Umgebung(
      "AFFEN_SAAT", std::chrono::system_clock::now().time_since_epoch().count() % 1000000));
  const int64_t Anzahl = Umgebung("AFFEN_EREIGNISSE", 0);
  const double Sekunden = static_cast<double>(Umgebung("AFFEN_SEKUNDEN", Anzahl > 0 ? 0 : 25));
  const int Grenze = static_cast<int>(Umgebung("AFFEN_GRENZE_MS", 3000));
  std::printf("Affentest: Saat %llu, %s\n", static_cast<unsigned long long>(Saat),
              Anzahl > 0 ? qPrintable(QStringLiteral("%1 Ereignisse").arg(Anzahl))
                         : qPrintable(QStringLiteral("%1 s").arg(Sekunden)));
  std::fflush(stdout);

  // A working folder with files for the dialogs to find and to drop.
  QTemporaryDir Ordner;
  ASSERT_TRUE(Ordner.isValid());
  const QString Vorher = QDir::currentPath();
  QDir::setCurrent(Ordner.path());
  QDir().mkdir(QStringLiteral("sub"));
  for (const auto& D : Dateien) {
    QFile F(QString::fromLatin1(D.Name));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(D.Inhalt);
  }
  QFile::copy(QStringLiteral("klein.LSY"), QStringLiteral("sub/klein.LSY"));

  const QtMessageHandler Alt = qInstallMessageHandler(Meldungsfilter);
  TAffe Affe(Saat, Anzahl, Sekunden, Grenze, Ordner.path());
  int Ergebnis = -1;
  {
    TWachhund Hund(Affe, 120);
    Affe.Planen();
    QTimer::singleShot(0, [&Affe] { Affe.Starten(); });
    // As the program entry does it; the about box is answered like any dialog.
    Ergebnis = Programmstart({}, ZeichenfensterAnschliessen);
  }
  qInstallMessageHandler(Alt);
  // Live redraws happen only where nothing holds them back: their number shows it.
  const int Nachzeichnungen = FZeichenform ? FZeichenform->Nachzeichnen().Nachzeichnungen() : 0;
  delete FZeichenform;
  FZeichenform = nullptr;
  WeiterBox = nullptr;
  ExtraEinstellungen = nullptr;
  QDir::setCurrent(Vorher);

  std::printf("Affentest: %lld Ereignisse in %.1f s, Saat %llu\n",
              static_cast<long long>(Affe.Nummer), Affe.Dauer,
              static_cast<unsigned long long>(Saat));
  for (const QString& Zeile : Affe.Bericht()) std::printf("%s\n", qPrintable(Zeile));
  std::printf("Nachzeichnungen: %d\n", Nachzeichnungen);
  if (Umgebung("AFFEN_PROTOKOLL", 0) != 0)
    std::printf("Letzte Ereignisse:\n%s", Affe.Verlauf().c_str());
  EXPECT_EQ(Ergebnis, 0);
  EXPECT_TRUE(Affe.Fehler.isEmpty()) << Affe.Fehler.toStdString();
  // A control the monkey no longer reaches is a control it no longer tests.
  if (Umgebung("AFFEN_ALLE", 0) != 0 && Affe.Fehler.isEmpty()) {
    EXPECT_TRUE(Affe.Unberuehrt().isEmpty())
        << "Ohne Ereignis blieben: " << Affe.Unberuehrt().join(", ").toStdString();
  }
}

}  // namespace
