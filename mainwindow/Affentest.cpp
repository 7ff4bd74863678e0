// Monkey test: a seeded random stream of user events over the whole program,
// the main window, the drawing window and all their dialogs. After every event
// the windows must still agree with the rule system and the drawing settings,
// and nothing may be left hanging.
//
//   AFFEN_SAAT=n        seed (default: taken from the clock; printed either way)
//   AFFEN_EREIGNISSE=n  stop after n events
//   AFFEN_SEKUNDEN=s    stop after s seconds (default 25 when no count is given)
//   AFFEN_GRENZE_MS=ms  how late a queued timer or a stop may come (default 3000)
//   AFFEN_PROTOKOLL=1   print the last events also when all went well
//
// A failure names the seed, the event number and the last events, so that the
// run can be replayed with AFFEN_SAAT and AFFEN_EREIGNISSE.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <random>
#include <thread>
#include <utility>

#include "drawing/Extras.h"
#include "drawing/LSystemZeichnen.h"
#include "drawing/UnitWeiter.h"
#include "gui/Dialoge.h"
#include "gui/Eingabefeld.h"
#include "gui/Radiogruppe.h"
#include "helpers/Hilfen.h"
#include "mainwindow/AboutBoxDialog.h"
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

// Rule lines with and without brackets, blanks, broken heads and brackets.
const QStringList Regelzeilen = Vorrat(
    "A->F|B -> F[+F]|B -> F[+F|BF -> F|B||F->F+F--F+F|X->F[+X][-X]FX|* -> *|]->[|[->F|F->]|"
    "A->[[[[F]]]]|F->FF| |A - > B|->|A->|A->A|->F|ä->ö|F->F[+F]F[-F]F|A->B][|F -> F F|"
    "A->FF+[FA]--[FA]|f->F|+->-|F->[F]|A->FA|F->F-F++F-F");

const QStringList Axiome = Vorrat("A|F|F+F|| |X|F]|[F|FFFFFFFFFF|AB|[|]|F[+F]F|FX|f F");

// Files the load dialog finds: good ones and broken ones.
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
};

// Names typed into the file dialogs besides those of the folder's files.
const QStringList NeueNamen =
    Vorrat("neu|neu.LSY|Neue Datei.lsy|sub/x.LSY|fehlt/x.LSY|| |..|sub|a.txt|*.LSY|temp.LSY");

// ---------------------------------------------------------------- small helpers

QString Text(const std::string& Bytes) { return AusCp1252(Bytes); }
std::string Bytes(const QString& Text) { return NachCp1252(Text); }

bool LiestSichAls(const QString& Feldtext, double Wert, double Faktor = 1) {
  const std::string T = Bytes(Feldtext);
  if (!IstKommazahl(T)) return false;
  try {
    return TextAlsKommazahl(T) * Faktor == Wert;
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

// ---------------------------------------------------------------- the monkey

class TAffe {
 public:
  TAffe(uint64_t Saat, int64_t Hoechstzahl, double Sekunden, int GrenzeMs)
      : Saat(Saat),
        Zufall(Saat),
        ZufallImLauf(Saat ^ 0x9E3779B97F4A7C15ull),
        Hoechstzahl(Hoechstzahl),
        Sekunden(Sekunden),
        GrenzeMs(GrenzeMs) {}

  // Waits for the main window, runs the events, then closes the program.
  void Starten() {
    if (!Form1 || !Form1->isVisible() || QApplication::activeModalWidget()) {
      QTimer::singleShot(10, [this] { Starten(); });
      return;
    }
    Namen();
    Laufen();
    if (FZeichenform) FZeichenform->ZeichnungBeenden();
    Form1->close();
  }

  // Answers modal dialogs from the start, the about box included.
  void Planen() {
    Geplant = std::chrono::steady_clock::now();
    QTimer::singleShot(2, &Kontext, [this] { Ticken(); });
  }

  // Known open faults: the monkey steps around their paths unless asked not to.
  const uint64_t Saat;
  QString Fehler;
  int64_t Nummer = 0;
  double Dauer = 0;
  double Laengstes = 0;  // ms of the longest event
  int64_t LaengstesNummer = 0;
  QStringList Zaehler() const {
    QStringList L{QStringLiteral("längstes Ereignis #%1 mit %2 ms")
                      .arg(LaengstesNummer)
                      .arg(qRound(Laengstes))};
    for (auto It = Statistik.begin(); It != Statistik.end(); ++It)
      L << It.key() + "=" + QString::number(It.value());
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
  QObject Kontext;  // pending ticks die with it

  int Wurf(int n) { return static_cast<int>(Zufall() % static_cast<uint64_t>(n)); }
  bool Chance(int Prozent) { return Wurf(100) < Prozent; }
  template <class T, size_t N>
  const T& Eines(const T (&Liste)[N]) {
    return Liste[Wurf(static_cast<int>(N))];
  }
  const QString& Eines(const QStringList& Liste) {
    return Liste[Wurf(static_cast<int>(Liste.size()))];
  }

  // ------------------------------------------------------------ log

  std::mutex LogSperre;
  std::deque<QString> Letzte;
  QHash<const QObject*, QString> Namensliste;
  QMap<QString, int64_t> Statistik;

  void Log(const QString& Zeile) {
    std::lock_guard<std::mutex> Sperre(LogSperre);
    Letzte.push_back(QStringLiteral("#%1 %2").arg(Nummer).arg(Zeile));
    if (Letzte.size() > 120) Letzte.pop_front();
  }

  void Zaehlen(const QString& Was) { ++Statistik[Was]; }

  QString Name(const QObject* W) const {
    if (!W) return QStringLiteral("(nichts)");
    if (auto It = Namensliste.find(W); It != Namensliste.end()) return *It;
    if (auto* B = qobject_cast<const QAbstractButton*>(W))
      return QStringLiteral("Knopf '%1'").arg(B->text());
    return QString::fromLatin1(W->metaObject()->className());
  }

  void Namen() {
    TForm1* H = Form1;
    const std::pair<QObject*, const char*> Liste[] = {
        {H, "Hauptfenster"},
        {H->BLoad, "BLoad"},
        {H->BSave, "BSave"},
        {H->BZeichnen, "Hauptfenster.BZeichnen"},
        {H->Button1, "Button1"},
        {H->BRegelEinfuegen, "BRegelEinfuegen"},
        {H->BAnzeigen, "BAnzeigen"},
        {H->EAxiom, "EAxiom"},
        {H->ERegel, "ERegel"},
        {H->EPlus, "EPlus"},
        {H->EMinus, "EMinus"},
        {H->ETiefeString, "ETiefeString"},
        {H->LBRegeln, "LBRegeln"},
        {H->LBRegeln->viewport(), "LBRegeln"},
        {H->MBildStringAlle, "MBildStringAlle"},
        {H->MBildStringTerminal, "MBildStringTerminal"},
        {FZeichenform, "Zeichenfenster"},
        {FZeichenform->BZeichnen, "BZeichnen"},
        {FZeichenform->BLoeschen, "BLoeschen"},
        {FZeichenform->BExtras, "BExtras"},
        {FZeichenform->BZwischenablage, "BZwischenablage"},
        {FZeichenform->BAbbrechen, "BAbbrechen"},
        {FZeichenform->ETiefe, "ETiefe"},
        {FZeichenform->ESchrittweite, "ESchrittweite"},
        {FZeichenform->Ex, "Ex"},
        {FZeichenform->Ey, "Ey"},
        {FZeichenform->EWinkel, "EWinkel"},
        {FZeichenform->zeichenflaeche, "zeichenflaeche"},
        {ExtraEinstellungen, "ExtraEinstellungen"},
        {ExtraEinstellungen->EDicke, "EDicke"},
        {ExtraEinstellungen->ESchwund, "ESchwund"},
        {ExtraEinstellungen->EAbweichungS, "EAbweichungS"},
        {ExtraEinstellungen->EAbweichungP, "EAbweichungP"},
        {ExtraEinstellungen->EAbweichungM, "EAbweichungM"},
        {ExtraEinstellungen->BZeichenfarbe, "BZeichenfarbe"},
        {ExtraEinstellungen->BOk, "Extra.BOk"},
        {ExtraEinstellungen->BAbbrechen, "Extra.BAbbrechen"},
        {ExtraEinstellungen->Memo1, "Memo1"},
        {WeiterBox, "WeiterBox"},
    };
    for (const auto& [W, N] : Liste) Namensliste.insert(W, QString::fromLatin1(N));
    for (TRadioGruppe* G : {FZeichenform->RGSchrittModus, FZeichenform->RGSchrittweite,
                            FZeichenform->RGZufallsModus, FZeichenform->RGTurtleZeigen})
      for (QRadioButton* R : G->Items)
        Namensliste.insert(R, G->title().remove('&') + "." + R->text());
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
               "schrittweise %7, Zufall %8, Turtle gezeigt %9\n")
               .arg(FZeichenform->Vorgaben().Tiefe)
               .arg(FZeichenform->Maschine().Schrittweite)
               .arg(FZeichenform->Vorgaben().StartX)
               .arg(FZeichenform->Vorgaben().StartY)
               .arg(FZeichenform->Vorgaben().Startwinkel)
               .arg(Einstellungen.SchrittweiteAnpassen)
               .arg(Einstellungen.Schrittmodus)
               .arg(Einstellungen.Zufallsmodus)
               .arg(FZeichenform->Turtle().Sichtbar);
    Z += QStringLiteral("    Dicke %1, Schwund %2, Abweichungen %3/%4/%5, Farbe %6\n")
             .arg(Einstellungen.Anfangsdicke)
             .arg(Einstellungen.Schwundfaktor)
             .arg(Einstellungen.AbweichungPlus)
             .arg(Einstellungen.AbweichungMinus)
             .arg(Einstellungen.AbweichungSchritt)
             .arg(Einstellungen.Zeichenfarbe, 6, 16, QLatin1Char('0'));
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
  int LaufEreignisse = 0;  // events fired from inside a drawing run

  QWidget* Hauptfenster() const { return Form1; }
  bool ZeichenfensterOffen() const { return FZeichenform && FZeichenform->isVisible(); }

  void Ereignis() {
    const int r = Wurf(100);
    if (r < 28)
      KlickAufSteuerelement();
    else if (r < 55)
      Eingabe();
    else if (r < 72)
      Tastendruck();
    else if (r < 77)
      FensterWechseln();
    else if (r < 79)
      ZeichenfensterSchliessen();
    else if (r < 88)
      KleineZeichnung();
    else if (r < 95)
      RegelBearbeiten();
    else
      Zugriffstaste();
  }

  // The window an event goes to: the main window or, if shown, the drawing window.
  QWidget* Zielfenster() {
    if (ZeichenfensterOffen() && Chance(50)) return FZeichenform;
    return Hauptfenster();
  }

  std::vector<QWidget*> Steuerelemente(QWidget* Fenster) {
    std::vector<QWidget*> L;
    if (Fenster == Form1) {
      TForm1* H = Form1;
      L = {H->BLoad,           H->BSave,
           H->BZeichnen,       H->Button1,
           H->BRegelEinfuegen, H->BAnzeigen,
           H->EAxiom,          H->ERegel,
           H->EPlus,           H->EMinus,
           H->ETiefeString,    H->LBRegeln,
           H->MBildStringAlle, H->MBildStringTerminal};
    } else if (Fenster == FZeichenform) {
      TFZeichenform* Z = FZeichenform;
      L = {Z->BZeichnen, Z->BLoeschen,      Z->BExtras,   Z->BZwischenablage,
           Z->ETiefe,    Z->ESchrittweite,  Z->Ex,        Z->Ey,
           Z->EWinkel,   Z->zeichenflaeche, Z->BAbbrechen};
      for (TRadioGruppe* G :
           {Z->RGSchrittModus, Z->RGSchrittweite, Z->RGZufallsModus, Z->RGTurtleZeigen})
        for (QRadioButton* R : G->Items) L.push_back(R);
    } else if (Fenster == ExtraEinstellungen) {
      TExtraEinstellungen* E = ExtraEinstellungen;
      L = {E->EDicke,        E->ESchwund, E->EAbweichungS, E->EAbweichungP, E->EAbweichungM,
           E->BZeichenfarbe, E->Memo1,    E->BOk,          E->BAbbrechen};
    }
    std::vector<QWidget*> Sichtbar;
    for (QWidget* W : L)
      if (W->isVisible() && W->isEnabled()) Sichtbar.push_back(W);
    return Sichtbar;
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

  // A click closes an open popup first, as a click outside it does.
  void PopupSchliessen() {
    if (QWidget* P = QApplication::activePopupWidget()) {
      Log(QStringLiteral("  Klick neben Popup ") + Name(P));
      QTest::mouseClick(P, Qt::LeftButton, {}, QPoint(-20, -20));
      if (QApplication::activePopupWidget() == P) P->close();
    }
  }

  void Klick(QWidget* W, Qt::MouseButton Knopf = Qt::LeftButton, QPoint Ort = {}) {
    PopupSchliessen();
    Aktivieren(W);
    QPointer<QWidget> Ziel = W;
    if (Ort.isNull())
      Ort = QPoint(1 + Wurf(std::max(1, W->width() - 2)), 1 + Wurf(std::max(1, W->height() - 2)));
    bool Schlucken = Knopf == Qt::LeftButton && Chance(30);
    Log(QStringLiteral("Klick %1 %2 bei %3,%4%5")
            .arg(Knopf == Qt::LeftButton    ? "links"
                 : Knopf == Qt::RightButton ? "rechts"
                                            : "Mitte")
            .arg(Name(W))
            .arg(Ort.x())
            .arg(Ort.y())
            .arg(Schlucken ? " (Loslassen geht an eine Box)" : ""));
    const TLoslassen Vorher = Loslassen;
    Loslassen = Schlucken ? TLoslassen::Geschluckt : TLoslassen::Gehalten;
    QTest::mousePress(W, Knopf, {}, Ort);
    // The platform sends the context menu request with the right button's press.
    if (Knopf == Qt::RightButton && Ziel) {
      QContextMenuEvent Menue(QContextMenuEvent::Mouse, Ort, Ziel->mapToGlobal(Ort));
      QApplication::sendEvent(Ziel, &Menue);
    }
    const bool Offen = Loslassen != TLoslassen::Keins;
    Loslassen = TLoslassen::Keins;
    if (Offen && Ziel) QTest::mouseRelease(Ziel, Knopf, {}, Ort);
    Loslassen = Vorher;
    if (QWidget* P = QApplication::activePopupWidget(); P && Knopf == Qt::RightButton)
      PopupBeantworten(P);
  }

  void KlickAufSteuerelement() {
    QWidget* F = Zielfenster();
    const std::vector<QWidget*> L = Steuerelemente(F);
    if (L.empty()) return;
    QWidget* W = L[static_cast<size_t>(Wurf(static_cast<int>(L.size())))];
    if (auto* Liste = qobject_cast<QListWidget*>(W)) {
      ZeileKlicken(Liste);
    } else if (W == FZeichenform->zeichenflaeche) {
      FlaecheKlicken();
    } else if (qobject_cast<QLineEdit*>(W) && Chance(10)) {
      Klick(W, Qt::RightButton);  // context menu
    } else {
      Klick(W);
    }
  }

  void ZeileKlicken(QListWidget* L) {
    if (L->count() == 0 || Chance(10)) {
      Klick(L->viewport());
      return;
    }
    const int Zeile = Wurf(L->count());
    L->scrollToItem(L->item(Zeile));
    const QRect R = L->visualItemRect(L->item(Zeile));
    if (!L->viewport()->rect().contains(R.center())) return;
    Klick(L->viewport(), Qt::LeftButton, R.center());
  }

  void FlaecheKlicken() {
    // Points where the control panel and the top row do not cover the surface.
    const QPoint Ort(112 + Wurf(880), 40 + Wurf(630));
    const int k = Wurf(10);
    Klick(FZeichenform->zeichenflaeche,
          k < 5   ? Qt::LeftButton
          : k < 8 ? Qt::RightButton
                  : Qt::MiddleButton,
          Ort);
  }

  std::vector<QLineEdit*> Felder(QWidget* Fenster) {
    std::vector<QLineEdit*> L;
    for (QWidget* W : Steuerelemente(Fenster))
      if (auto* E = qobject_cast<QLineEdit*>(W)) L.push_back(E);
    return L;
  }

  QString Vorschlag(QLineEdit* Feld) {
    if (Form1 && Feld == Form1->ERegel) return Eines(Regelzeilen);
    if (Form1 && Feld == Form1->EAxiom) return Chance(70) ? Eines(Axiome) : Eines(Regelzeilen);
    if (FZeichenform && Feld == FZeichenform->ETiefe && Chance(70)) return Eines(Tiefen);
    QString Zahl = Eines(Zahlen);
    return Zahl;
  }

  // Clicks into a field, replaces or extends its text by typing or pasting,
  // and sometimes ends with a key.
  void Eingabe(QWidget* Fenster = nullptr) {
    const std::vector<QLineEdit*> L = Felder(Fenster ? Fenster : Zielfenster());
    if (L.empty()) return;
    QLineEdit* Feld = L[static_cast<size_t>(Wurf(static_cast<int>(L.size())))];
    Eintippen(Feld, Vorschlag(Feld));
  }

  void Eintippen(QLineEdit* Feld, const QString& Was) {
    QPointer<QLineEdit> Ziel = Feld;
    Klick(Feld);
    // A box shown on the way hands the activation back a moment later.
    const auto Anfang = std::chrono::steady_clock::now();
    while (Ziel && !Stopp && QApplication::focusWidget() != Ziel && Millisekunden(Anfang) < 100)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (!Ziel || Stopp) return;
    QWidget* Fokus = QApplication::focusWidget();
    if (Fokus != Ziel) {
      Log(QStringLiteral("  Fokus ist nicht im Feld, sondern in ") + Name(Fokus));
      return;
    }
    const int Art = Wurf(10);
    if (Art < 7)
      Taste(Ziel, Qt::Key_A, Qt::ControlModifier);
    else if (Art < 8)
      Taste(Ziel, Qt::Key_End);
    if (!Ziel || Stopp) return;
    if (Chance(80) || Was.isEmpty()) {
      Log(QStringLiteral("  tippt '%1' in %2").arg(Was, Name(Ziel)));
      for (QChar Z : Was) {
        if (!Ziel || Stopp || QApplication::focusWidget() != Ziel) return;
        Zeichen(Ziel, Z);
      }
    } else {
      Log(QStringLiteral("  fügt '%1' in %2 ein").arg(Was, Name(Ziel)));
      QApplication::clipboard()->setText(Was);
      Taste(Ziel, Qt::Key_V, Qt::ControlModifier);
    }
    if (!Ziel || Stopp) return;
    const int Ende = Wurf(10);
    if (Ende < 3)
      Taste(Ziel, Chance(50) ? Qt::Key_Return : Qt::Key_Enter);
    else if (Ende < 4)
      Taste(Ziel, Qt::Key_Escape);
    else if (Ende < 6)
      Taste(Ziel, Chance(70) ? Qt::Key_Tab : Qt::Key_Backtab);
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
    Log(QStringLiteral("  Taste %1%2 an %3")
            .arg(Mod ? QKeySequence(int(Mod)).toString() : QString())
            .arg(QKeySequence(T).toString())
            .arg(Name(W)));
    QTest::keyClick(W, T, Mod);
  }

  void Tastendruck() {
    QWidget* Aktiv = QApplication::activeWindow();
    if (!Aktiv || (Aktiv != Form1 && Aktiv != FZeichenform)) {
      Aktiv = Zielfenster();
      Aktivieren(Aktiv);
    }
    QWidget* Fokus = Aktiv->focusWidget() ? Aktiv->focusWidget() : Aktiv;
    static const Qt::Key Tasten[] = {
        Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Escape, Qt::Key_Tab,    Qt::Key_Backtab,
        Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Left,
        Qt::Key_Right,  Qt::Key_Home,   Qt::Key_End,    Qt::Key_Space,  Qt::Key_Backspace,
        Qt::Key_A,      Qt::Key_F,      Qt::Key_Plus,   Qt::Key_Minus,  Qt::Key_BracketLeft,
        Qt::Key_1,      Qt::Key_Comma,  Qt::Key_Tab,    Qt::Key_Return, Qt::Key_Down};
    Taste(Fokus, Eines(Tasten));
  }

  void Zugriffstaste() {
    QWidget* Aktiv = QApplication::activeWindow();
    if (!Aktiv) return;
    static const Qt::Key Buchstaben[] = {Qt::Key_Z, Qt::Key_L, Qt::Key_T, Qt::Key_W,
                                         Qt::Key_S, Qt::Key_R, Qt::Key_A};
    QWidget* Fokus = Aktiv->focusWidget() ? Aktiv->focusWidget() : Aktiv;
    Taste(Fokus, Eines(Buchstaben), Qt::AltModifier);
  }

  void FensterWechseln() {
    QWidget* Ziel = QApplication::activeWindow() == Form1 && ZeichenfensterOffen()
                        ? static_cast<QWidget*>(FZeichenform)
                        : Form1;
    Log(QStringLiteral("wechselt zu ") + Name(Ziel));
    Aktivieren(Ziel);
  }

  void ZeichenfensterSchliessen() {
    if (!ZeichenfensterOffen()) return;
    Log(QStringLiteral("schließt das Zeichenfenster über den Rahmen"));
    FZeichenform->close();
    // The desktop hands the activation to the remaining window.
    Aktivieren(Form1);
  }

  // Depth and start in the drawing window, opened first when needed.
  void KleineZeichnung() {
    if (!ZeichenfensterOffen()) {
      Klick(Form1->BZeichnen);
      if (Stopp || !ZeichenfensterOffen()) return;
    }
    Log(QStringLiteral("kleine Zeichnung"));
    if (Chance(70)) {
      const int r = Wurf(100);
      const QString Tiefe = QString::number(r < 90 ? Wurf(7) : r < 98 ? 7 + Wurf(6) : 30);
      Eintippen(FZeichenform->ETiefe, Tiefe);
      if (Stopp) return;
    }
    if (Chance(20)) Klick(FZeichenform->RGSchrittModus->Items[Wurf(2)]);
    if (Stopp) return;
    Zaehlen("Zeichnungen");
    Klick(FZeichenform->BZeichnen);
  }

  // Selects a rule and types a line into the rule field.
  void RegelBearbeiten() {
    Aktivieren(Form1);
    if (Chance(60)) ZeileKlicken(Form1->LBRegeln);
    if (Stopp) return;
    Eintippen(Form1->ERegel, Eines(Regelzeilen));
  }

  // ------------------------------------------------------------ the answerer

  std::chrono::steady_clock::time_point Geplant;
  QPointer<QWidget> Beobachtet;  // the modal widget seen last
  int Reife = 0;                 // ticks it has been up
  bool ExtraOffen = false;
  int ExtraUebrig = 0;
  bool ERegelFrei = false;  // a prompt of the rule field was shown: it may keep its text
  int Verschachtelung = 0;  // nesting of ticks that act
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
    if (Verschachtelung > 3) return;
    ++Verschachtelung;
    Handeln();
    --Verschachtelung;
  }

  void Handeln() {
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
        QTest::mouseRelease(M, Qt::LeftButton, {}, QPoint(1, 1));
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
    if (FZeichenform && FZeichenform->ZeichnungLaeuft()) ImLauf();
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

  // While a drawing runs, the user may stop it, or go on working elsewhere.
  void ImLauf() {
    if (!LaufGesehen) {
      LaufGesehen = true;
      LaufSeit = std::chrono::steady_clock::now();
    }
    QPushButton* Abbrechen = FZeichenform->BAbbrechen;
    if (Abbrechen->isVisible() && Abbrechen->isEnabled() &&
        (ZufallImLauf() % 100 == 0 || Millisekunden(LaufSeit) > 1500)) {
      Log(QStringLiteral("  im Lauf: Abbrechen"));
      Zaehlen("Abbrechen");
      AbbruchGeklickt = true;
      AbbruchZeit = std::chrono::steady_clock::now();
      LaufSeit = AbbruchZeit;
      Klick(Abbrechen);
      return;
    }
    if (LaufEreignisse == 0 && ZufallImLauf() % 50 == 0) {
      ++LaufEreignisse;
      Zaehlen("Ereignisse im Lauf");
      Log(QStringLiteral("  im Lauf:"));
      // The event and the dialogs it opens draw from the run's generator, so
      // that the main sequence does not depend on when the run gave way.
      std::swap(Zufall, ZufallImLauf);
      Ereignis();
      std::swap(Zufall, ZufallImLauf);
      --LaufEreignisse;
    }
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
      for (int i = 0; i < Schritte; ++i) QTest::keyClick(Menue, Qt::Key_Down);
      QTest::keyClick(Menue, Qt::Key_Return);
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
    QPointer<QWidget> Dialog = M;
    QPointer<QWidget> Eltern = M->parentWidget() ? M->parentWidget()->window() : nullptr;
    // While the user holds a button down, only the keyboard answers.
    const bool NurTasten = Loslassen == TLoslassen::Gehalten;
    if (auto* Box = qobject_cast<QMessageBox*>(M))
      BoxBeantworten(Box, NurTasten);
    else if (auto* D = qobject_cast<QFileDialog*>(M))
      DateidialogBeantworten(D, NurTasten);
    else if (auto* C = qobject_cast<QColorDialog*>(M))
      FarbdialogBeantworten(C, NurTasten);
    else if (M == ExtraEinstellungen)
      ExtraBeantworten(NurTasten);
    else if (M == WeiterBox)
      WeiterBeantworten(NurTasten);
    else if (auto* A = qobject_cast<TAboutBox*>(M)) {
      Log(QStringLiteral("  Produkt-Information: OK"));
      A->OKButton->click();
    } else {
      Log(QStringLiteral("  unbekannter Dialog %1 geschlossen").arg(Name(M)));
      M->close();
    }
    if (Dialog) DarunterAktivieren(Dialog, Eltern);
  }

  // Closing through the frame: what the close button of the title bar does.
  static void Rahmen(QWidget* W) { W->close(); }

  void KnopfDruecken(QAbstractButton* B, bool NurTasten) {
    if (NurTasten) {
      B->setFocus(Qt::TabFocusReason);
      Taste(B, Qt::Key_Space);
    } else {
      Klick(B, Qt::LeftButton, B->rect().center());
    }
  }

  void BoxBeantworten(QMessageBox* Box, bool NurTasten) {
    const QString Inhalt = Box->text();
    Zaehlen("Meldungen");
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
      Log(QStringLiteral("  Box '%1': Rahmen").arg(Kurz));
      Rahmen(Box);
    }
  }

  QAbstractButton* DialogKnopf(QWidget* D, QDialogButtonBox::ButtonRole Rolle) {
    auto* Leiste = D->findChild<QDialogButtonBox*>();
    if (!Leiste) return nullptr;
    for (QAbstractButton* B : Leiste->buttons())
      if (Leiste->buttonRole(B) == Rolle && B->isVisible() && B->isEnabled()) return B;
    return nullptr;
  }

  QString Dateiname() {
    if (Chance(55)) {
      const QStringList Vorhanden =
          QDir(QDir::currentPath()).entryList(QDir::Files | QDir::NoDotAndDotDot);
      if (!Vorhanden.isEmpty()) {
        const QString& N = Vorhanden[Wurf(static_cast<int>(Vorhanden.size()))];
        return Chance(20) ? QDir::current().absoluteFilePath(N) : N;
      }
    }
    return Eines(NeueNamen);
  }

  void DateidialogBeantworten(QFileDialog* D, bool NurTasten) {
    Zaehlen("Dateidialoge");
    auto* Name = D->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const int r = Wurf(100);
    if (r < 60 && Name) {
      const QString N = Dateiname();
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
      Log(QStringLiteral("  Dateidialog: Rahmen"));
      PopupSchliessen();
      Rahmen(D);
    }
  }

  void FarbdialogBeantworten(QColorDialog* C, bool NurTasten) {
    Zaehlen("Farbdialoge");
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
      Log(QStringLiteral("  Farbdialog: Rahmen"));
      Rahmen(C);
    }
  }

  // Works in the extra settings dialog for a few steps, then closes it.
  void ExtraBeantworten(bool NurTasten) {
    TExtraEinstellungen* E = ExtraEinstellungen;
    if (!ExtraOffen) {
      ExtraOffen = true;
      ExtraUebrig = Wurf(7);
      Zaehlen("Extra Einstellungen");
    } else {
      ExtraPruefen();
    }
    if (Stopp) return;
    if (ExtraUebrig-- > 0 && !NurTasten) {
      const int r = Wurf(100);
      if (r < 55) {
        Eingabe(E);
      } else if (r < 70) {
        Klick(E->BZeichenfarbe);
      } else if (r < 90) {
        QWidget* Fokus = E->focusWidget() ? E->focusWidget() : E;
        static const Qt::Key Tasten[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Escape,
                                         Qt::Key_Return, Qt::Key_Enter};
        Taste(Fokus, Eines(Tasten));
      } else {
        Klick(E->Memo1);
      }
      return;
    }
    const int r = Wurf(100);
    if (r < 40) {
      Log(QStringLiteral("  Extra Einstellungen: Ok"));
      KnopfDruecken(E->BOk, NurTasten);
    } else if (r < 75) {
      Log(QStringLiteral("  Extra Einstellungen: Abbrechen"));
      KnopfDruecken(E->BAbbrechen, NurTasten);
    } else if (r < 85) {
      Log(QStringLiteral("  Extra Einstellungen: Escape (bleibt offen)"));
      Taste(E, Qt::Key_Escape);
      return;
    } else {
      Log(QStringLiteral("  Extra Einstellungen: Rahmen"));
      Rahmen(E);
    }
    if (!E->isVisible()) ExtraOffen = false;
  }

  void WeiterBeantworten(bool NurTasten) {
    Zaehlen("Weiter-Fragen");
    const int r = Wurf(100);
    TWeiterBox* W = WeiterBox;
    if (r < 85) {
      const int k = Wurf(3);
      if (k == 0 && !NurTasten) {
        Log(QStringLiteral("  Weiter: OK"));
        KnopfDruecken(W->OKBitBtn, false);
      } else {
        Log(QStringLiteral("  Weiter: ") + (k == 1 ? "Eingabe" : "Leertaste"));
        Taste(W->focusWidget() ? W->focusWidget() : W, k == 1 ? Qt::Key_Return : Qt::Key_Space);
      }
    } else if (r < 92) {
      Log(QStringLiteral("  Weiter: Abbruch"));
      KnopfDruecken(W->AbbruchBitBtn, NurTasten);
    } else if (r < 96) {
      Log(QStringLiteral("  Weiter: Rahmen"));
      Rahmen(W);
    } else {
      Log(QStringLiteral("  Weiter: Escape (bleibt offen)"));
      Taste(W, Qt::Key_Escape);
    }
  }

  // ------------------------------------------------------------ invariants

  static QString Zeile(const TRegel& R) { return Text(TRegelsystem::RegelAlsText(R)); }

  // After an event returned, no dialog and no popup may still be open.
  void NichtsOffen(const char* Wann) {
    if (QWidget* M = QApplication::activeModalWidget(); M && M->isVisible())
      Verletzt(QStringLiteral("%1 ist %2 noch offen").arg(Name(M), Wann));
    else if (QWidget* P = QApplication::activePopupWidget())
      Verletzt(QStringLiteral("Popup %1 ist %2 noch offen").arg(Name(P), Wann));
    else
      for (QWidget* W : QApplication::topLevelWidgets())
        if (W->isVisible() && W != Form1 && W != FZeichenform && !W->inherits("QTipLabel")) {
          Verletzt(QStringLiteral("Fenster %1 ist %2 noch offen").arg(Name(W), Wann));
          break;
        }
  }

  static bool HatFokus(QWidget* Feld) { return Feld->window()->focusWidget() == Feld; }

  void Pruefen() {
    NichtsOffen("nach dem Abwarten");
    if (!ExtraEinstellungen->isVisible()) ExtraOffen = false;
    if (Stopp) return;
    // A click that is over leaves no button pressed. An access key shows its
    // button pressed for 100 ms before it clicks it, by a timer that may come
    // as late as any other.
    const auto Gedrueckt = [] {
      for (QWidget* F : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(FZeichenform)})
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
    if (Stopp) return;
    HauptfelderPruefen();
    if (Stopp) return;
    ZeichenfensterPruefen();
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
    Feld(Z->ESchrittweite, Z->ESchrittweite->text() == Zahl(3, Z->Maschine().Schrittweite),
         Zahl(3, Z->Maschine().Schrittweite));
    Feld(Z->Ex, Z->Ex->text() == Zahl(1, Z->Vorgaben().StartX), Zahl(1, Z->Vorgaben().StartX));
    Feld(Z->Ey, Z->Ey->text() == Zahl(1, Z->Vorgaben().StartY), Zahl(1, Z->Vorgaben().StartY));
    Feld(Z->EWinkel, Z->EWinkel->text() == Zahl(1, Z->Vorgaben().Startwinkel),
         Zahl(1, Z->Vorgaben().Startwinkel));
    if (Stopp) return;
    if (!Z->ZeichnungLaeuft()) {
      for (QWidget* W : std::initializer_list<QWidget*>{Z->BAbbrechen, Z->PBFortschritt,
                                                        Z->EZeichen, Z->EString})
        if (!W->isHidden()) {
          Verletzt(QStringLiteral("%1 ist ohne Zeichnung sichtbar").arg(Name(W)));
          return;
        }
    }
    // Working values and settings in force are equal while the dialog is closed.
    if (!ExtraEinstellungen->isVisible() &&
        (ExtraWerte.Anfangsdicke != Einstellungen.Anfangsdicke ||
         ExtraWerte.Schwundfaktor != Einstellungen.Schwundfaktor ||
         ExtraWerte.AbweichungPlus != Einstellungen.AbweichungPlus ||
         ExtraWerte.AbweichungMinus != Einstellungen.AbweichungMinus ||
         ExtraWerte.AbweichungSchritt != Einstellungen.AbweichungSchritt ||
         ExtraWerte.Zeichenfarbe != Einstellungen.Zeichenfarbe))
      Verletzt(QStringLiteral("Extra-Werte und Einstellungen in Kraft weichen ab"));
  }

  // The dialog's fields read as the working values (an accepted entry keeps
  // its text; a refused one shows the value with one decimal).
  void ExtraPruefen() {
    TExtraEinstellungen* E = ExtraEinstellungen;
    if (!E->isActiveWindow()) return;
    const auto Wert = [&](QLineEdit* F, double Arbeitswert, double Skala) {
      const std::string T = Bytes(F->text());
      bool Stimmt = T == KommazahlAlsText(1, Arbeitswert * Skala);
      if (!Stimmt && IstKommazahl(T)) {
        try {
          Stimmt = TextAlsKommazahl(T) / Skala == Arbeitswert;
        } catch (const std::exception&) {
        }
      }
      Feld(F, Stimmt, QString::number(Arbeitswert * Skala, 'g', 17));
    };
    Wert(E->EDicke, ExtraWerte.Anfangsdicke, 1);
    Wert(E->EAbweichungS, ExtraWerte.AbweichungSchritt, 100);
    Wert(E->EAbweichungP, ExtraWerte.AbweichungPlus, 100);
    Wert(E->EAbweichungM, ExtraWerte.AbweichungMinus, 100);
    // Shown as the shrink in percent: 100 - factor * 100.
    const std::string T = Bytes(E->ESchwund->text());
    bool Stimmt = T == KommazahlAlsText(1, 100 - ExtraWerte.Schwundfaktor * 100);
    if (!Stimmt && IstKommazahl(T)) {
      try {
        Stimmt = 1 - TextAlsKommazahl(T) / 100 == ExtraWerte.Schwundfaktor;
      } catch (const std::exception&) {
      }
    }
    Feld(E->ESchwund, Stimmt, QString::number(100 - ExtraWerte.Schwundfaktor * 100, 'g', 17));
  }
};

// Ends a run that hangs, naming the seed and the last events.
class TWachhund {
 public:
  TWachhund(TAffe& Affe, int Sekunden) : Affe(Affe), Sekunden(Sekunden) {
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
        std::_Exit(2);
      }
    }
  }

  TAffe& Affe;
  const int Sekunden;
  std::atomic<bool> Fertig{false};
  std::thread Faden;
};

// Mouse events on plain widgets are not accepted; that is no news.
void Meldungsfilter(QtMsgType Typ, const QMessageLogContext&, const QString& Text) {
  if (Typ == QtWarningMsg && Text.contains(QLatin1String("not accepted by receiving widget")))
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

  // A working folder with files for the load dialog to find.
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
  TAffe Affe(Saat, Anzahl, Sekunden, Grenze);
  int Ergebnis = -1;
  {
    TWachhund Hund(Affe, 120);
    Affe.Planen();
    QTimer::singleShot(0, [&Affe] { Affe.Starten(); });
    // As the program entry does it; the about box is answered like any dialog.
    Ergebnis = Programmstart({}, ZeichenfensterAnschliessen);
  }
  qInstallMessageHandler(Alt);
  delete FZeichenform;
  FZeichenform = nullptr;
  WeiterBox = nullptr;
  ExtraEinstellungen = nullptr;
  QDir::setCurrent(Vorher);

  std::printf("Affentest: %lld Ereignisse in %.1f s, Saat %llu\n  %s\n",
              static_cast<long long>(Affe.Nummer), Affe.Dauer,
              static_cast<unsigned long long>(Saat), qPrintable(Affe.Zaehler().join(", ")));
  if (Umgebung("AFFEN_PROTOKOLL", 0) != 0)
    std::printf("Letzte Ereignisse:\n%s", Affe.Verlauf().c_str());
  EXPECT_EQ(Ergebnis, 0);
  EXPECT_TRUE(Affe.Fehler.isEmpty()) << Affe.Fehler.toStdString();
}

}  // namespace
