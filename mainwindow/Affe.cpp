#include "mainwindow/Affe.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "drawing/LSystemZeichnen.h"
#include "gui/Eingabefeld.h"
#include "gui/Radiogruppe.h"
#include "mainwindow/Affenhand.h"
#include "mainwindow/Affenpruefung.h"
#include "mainwindow/LsystemHauptfenster.h"

namespace {

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

bool ZeichenfensterOffen() { return FZeichenform && FZeichenform->isVisible(); }

}  // namespace

TAffe::TAffe(TAffenbuch& Buch, int64_t Hoechstzahl, double Sekunden, int GrenzeMs, QString Ordner)
    : TAffenteil(Buch),
      Hoechstzahl(Hoechstzahl),
      Sekunden(Sekunden),
      GrenzeMs(GrenzeMs),
      Ordner(std::move(Ordner)),
      Pruefung(Buch, GrenzeMs),
      Hand(Buch, Pruefung),
      Antwort(Buch, Hand, Pruefung, *this, this->Ordner, GrenzeMs) {}

void TAffe::Starten() {
  if (!Form1 || !Form1->isVisible() || QApplication::activeModalWidget()) {
    QTimer::singleShot(10, [this] { Starten(); });
    return;
  }
  FensterVerlangen(true);
  Laufen();
  if (FZeichenform) FZeichenform->ZeichnungBeenden();
  Form1->close();
}

void TAffe::Laufen() {
  const auto Anfang = std::chrono::steady_clock::now();
  for (Buch.Nummer = 1; !Buch.Stopp; ++Buch.Nummer) {
    if (Hoechstzahl > 0 && Buch.Nummer > Hoechstzahl) break;
    if (Hoechstzahl <= 0 && Millisekunden(Anfang) > Sekunden * 1000) break;
    Buch.ImEreignis = true;
    const auto Beginn = std::chrono::steady_clock::now();
    Ereignis();
    const double Ms = Millisekunden(Beginn);
    Buch.ImEreignis = false;
    if (Ms > Buch.Laengstes) {
      Buch.Laengstes = Ms;
      Buch.LaengstesNummer = Buch.Nummer;
    }
    if (Ms > 2000) Buch.Log(QStringLiteral("  (dauerte %1 ms)").arg(qRound(Ms)));
    // Whatever the event opened must have been answered by now.
    if (!Buch.Stopp) Pruefung.NichtsOffen("direkt nach dem Ereignis");
    if (!Buch.Stopp) Abwarten();
    if (!Buch.Stopp) Pruefung.Pruefen();
    FensterVerlangen(false);
    Buch.Fortschritt = Buch.Nummer;
  }
  --Buch.Nummer;
  Dauer = Millisekunden(Anfang) / 1000;
}

void TAffe::FensterVerlangen(bool Dialoge) {
  for (QWidget* F : Programmfenster(true))
    if ((Dialoge || IstArbeitsfenster(F)) && Verlangt.insert(F).second)
      for (const TSteuerelement& S : Steuerelemente(F, true)) Buch.Verlangen(S);
}

void TAffe::Abwarten() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  bool Dran = false;
  QTimer::singleShot(0, &Kontext, [&Dran] { Dran = true; });
  const auto Anfang = std::chrono::steady_clock::now();
  while (!Dran && Millisekunden(Anfang) < GrenzeMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  if (!Dran) Buch.Verletzt(QStringLiteral("ein Zeitgeber kam nicht in %1 ms dran").arg(GrenzeMs));
}

void TAffe::Ereignis() {
  // Each kind of event up to its bound of a throw out of 100.
  static constexpr std::pair<int, void (TAffe::*)()> Arten[] = {
      {34, &TAffe::SteuerelementBedienen},
      {50, &TAffe::Eingabe},
      {64, &TAffe::Tastendruck},
      {67, &TAffe::Zugriffstaste},
      {71, &TAffe::FensterWechseln},
      {73, &TAffe::FensterSchliessen},
      {82, &TAffe::KleineZeichnung},
      {88, &TAffe::RegelBearbeiten},
      {94, &TAffe::Ablage},
      {100, &TAffe::DrehenOderZiehen},
  };
  const int r = Wurf(100);
  for (const auto& [Bis, Tun] : Arten)
    if (r < Bis) return (this->*Tun)();
}

// The windows the user works in that are shown: the main window, the
// drawing window, and any the program opens besides its dialogs.
QWidget* TAffe::Zielfenster() {
  const std::vector<QWidget*> L = Arbeitsfenster();
  return L.empty() ? static_cast<QWidget*>(Form1) : Eines(L);
}

std::optional<TSteuerelement> TAffe::Waehlen(const std::vector<TSteuerelement>& L, int Selten) {
  if (L.empty()) return std::nullopt;
  // A control not touched yet goes first: those shown only for moments (the
  // step mode's fields) get their turn whenever they show, however the
  // machine's speed has shifted what is shown when.
  std::vector<const TSteuerelement*> Neu;
  for (const TSteuerelement& S : L)
    if (Buch.Anzahl(S.Name) == 0) Neu.push_back(&S);
  if (!Neu.empty()) return *Neu[static_cast<size_t>(Wurf(static_cast<int>(Neu.size())))];
  if (!Chance(Selten)) return Eines(L);
  const TSteuerelement* Seltenstes = &L.front();
  for (const TSteuerelement& S : L)
    if (Buch.Anzahl(S.Name) < Buch.Anzahl(Seltenstes->Name)) Seltenstes = &S;
  return *Seltenstes;
}

void TAffe::SteuerelementBedienen() {
  if (const std::optional<TSteuerelement> S = Waehlen(Steuerelemente(Zielfenster()))) Bedienen(*S);
}

void TAffe::Bedienen(const TSteuerelement& S) {
  switch (S.Art) {
    case TArt::Knopf:
      if (Chance(85))
        Hand.Anklicken(S.W);
      else
        Hand.Anklicken(S.W, Chance(50) ? Qt::RightButton : Qt::MiddleButton);
      return;
    case TArt::Feld:
    case TArt::Drehfeld:
      if (Chance(75)) {
        Hand.Eintippen(S.W, Vorschlag(S.W));
      } else {
        const int k = Wurf(4);
        if (k == 0) Hand.Anklicken(S.W, Qt::RightButton);  // the context menu
        if (k == 1) Hand.Doppelklick(S.W);
        if (k == 2) Hand.ZiehenIn(S.W);
        if (k == 3) Hand.Drehen(S.W);
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
      if (k < 4) Hand.Anklicken(S.W);
      if (k == 4) Hand.Anklicken(S.W, Qt::RightButton);
      if (k == 5) Hand.Doppelklick(S.W);
      if (k == 6) Hand.ZiehenIn(S.W);
      if (k == 7) Hand.Drehen(S.W);
      if (k >= 8 && Hand.Anklicken(S.W) && InnerhalbVon(QApplication::focusWidget(), S.W)) {
        static const Qt::Key Tasten[] = {Qt::Key_Up,     Qt::Key_Down,   Qt::Key_PageUp,
                                         Qt::Key_End,    Qt::Key_Home,   Qt::Key_Right,
                                         Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space};
        if (Chance(30))
          Hand.Taste(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        else
          Hand.Taste(QApplication::focusWidget(), Eines(Tasten));
      }
      return;
    }
  }
}

void TAffe::RadioWaehlen(QWidget* Gruppe) {
  std::vector<QRadioButton*> Items;
  for (QObject* O : Gruppe->children())
    if (auto* R = qobject_cast<QRadioButton*>(O); R && R->isVisible()) Items.push_back(R);
  if (Items.empty()) return;
  QRadioButton* R = Eines(Items);
  const int k = Wurf(10);
  if (k < 7) {
    // On the item's circle: a click beside a short caption hits nothing.
    const QRect Kreis(0, 0, std::min(14, R->width()), R->height());
    if (const std::optional<QPoint> P = Hand.Treffpunkt(R, Kreis))
      Hand.Klick(R, Qt::LeftButton, *P);
  } else if (k < 8) {
    Hand.Anklicken(Chance(50) ? static_cast<QWidget*>(R) : Gruppe);
  } else if (Hand.Anklicken(R) && QApplication::focusWidget() == R) {
    // The arrow keys move the choice within the group.
    static const Qt::Key Pfeile[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
    Hand.Taste(R, Eines(Pfeile));
  }
}

void TAffe::ListeBedienen(QAbstractItemView* L) {
  const int k = Wurf(10);
  if (k < 6) {
    ZeileKlicken(L);
  } else if (k < 7) {
    Hand.Drehen(L->viewport());
  } else if (k < 8) {
    Hand.ZiehenIn(L->viewport());
  } else if (k < 9) {
    Hand.Doppelklick(L->viewport());
  } else if (ZeileKlicken(L) && QApplication::focusWidget() == L) {
    static const Qt::Key Tasten[] = {Qt::Key_Up,     Qt::Key_Down, Qt::Key_Insert,
                                     Qt::Key_Delete, Qt::Key_Home, Qt::Key_End};
    Hand.Taste(L, Eines(Tasten));
  }
}

bool TAffe::ZeileKlicken(QAbstractItemView* L) {
  const int Zeilen = L->model() ? L->model()->rowCount(L->rootIndex()) : 0;
  if (Zeilen == 0 || Chance(10)) return Hand.Anklicken(L->viewport());
  const QModelIndex I = L->model()->index(Wurf(Zeilen), 0, L->rootIndex());
  L->scrollTo(I);
  const QRect R = L->visualRect(I);
  if (!L->viewport()->rect().contains(R.center())) return false;
  Hand.Klick(L->viewport(), Qt::LeftButton, R.center());
  return true;
}

// The drawing surface takes clicks of all buttons (left and right set the
// start), the wheel and drags.
void TAffe::FlaecheBedienen(QWidget* W) {
  const int k = Wurf(100);
  if (k < 25) {
    Hand.Drehen(W);
    return;
  }
  if (k < 40) {
    Hand.ZiehenIn(W, Chance(70) ? Qt::LeftButton : Qt::RightButton);
    return;
  }
  const std::optional<QPoint> P = Hand.Treffpunkt(W);
  if (!P) return;
  const Qt::MouseButton Knopf = k < 75   ? Qt::LeftButton
                                : k < 92 ? Qt::RightButton
                                         : Qt::MiddleButton;
  const bool Frei = !Gesperrt(W->window()) && !QApplication::activeModalWidget();
  Hand.Klick(W, Knopf, *P);
  if (W == FZeichenform->zeichenflaeche && Frei && Knopf != Qt::MiddleButton && !Stopp)
    Pruefung.StartPruefen(*P);
}

// What to type into a field, after its name.
QString TAffe::Vorschlag(const QWidget* Feld) {
  const QString& N = Feld->objectName();
  if (N == QLatin1String("ERegel")) return Eines(Regelzeilen);
  if (N == QLatin1String("EAxiom")) return Chance(70) ? Eines(Axiome) : Eines(Regelzeilen);
  if (N.startsWith(QLatin1String("ETiefe")) && Chance(70)) return Eines(Tiefen);
  if (N == QLatin1String("ESaat") && Chance(70)) return Eines(Saaten);
  return Eines(Zahlen);
}

void TAffe::Eingabe() {
  std::vector<TSteuerelement> Felder;
  for (const TSteuerelement& S : Steuerelemente(Zielfenster()))
    if (S.Art == TArt::Feld || S.Art == TArt::Drehfeld) Felder.push_back(S);
  if (const std::optional<TSteuerelement> S = Waehlen(Felder))
    Hand.Eintippen(S->W, Vorschlag(S->W));
}

void TAffe::Tastendruck() {
  QWidget* Aktiv = QApplication::activeWindow();
  if (!Aktiv || !IstArbeitsfenster(Aktiv)) Hand.Aktivieren(Zielfenster());
  static const Qt::Key Tasten[] = {
      Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Escape, Qt::Key_Tab,    Qt::Key_Backtab,
      Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Left,
      Qt::Key_Right,  Qt::Key_Home,   Qt::Key_End,    Qt::Key_Space,  Qt::Key_Backspace,
      Qt::Key_A,      Qt::Key_F,      Qt::Key_Plus,   Qt::Key_Minus,  Qt::Key_BracketLeft,
      Qt::Key_1,      Qt::Key_Comma,  Qt::Key_Tab,    Qt::Key_Return, Qt::Key_Down};
  Hand.Taste(THand::Tastenziel(), Eines(Tasten));
}

void TAffe::Zugriffstaste() {
  static const Qt::Key Buchstaben[] = {Qt::Key_Z, Qt::Key_L, Qt::Key_T, Qt::Key_W,
                                       Qt::Key_S, Qt::Key_R, Qt::Key_A};
  Hand.Taste(THand::Tastenziel(), Eines(Buchstaben), Qt::AltModifier);
}

void TAffe::FensterWechseln() {
  std::vector<QWidget*> Andere;
  for (QWidget* W : Arbeitsfenster())
    if (W != QApplication::activeWindow()) Andere.push_back(W);
  if (Andere.empty()) return;
  QWidget* Ziel = Eines(Andere);
  Log(QStringLiteral("wechselt zu ") + Name(Ziel));
  Hand.Aktivieren(Ziel);
}

// Any window but the main one, whose closing ends the program.
void TAffe::FensterSchliessen() {
  std::vector<QWidget*> Andere;
  for (QWidget* W : Arbeitsfenster())
    if (W != Form1) Andere.push_back(W);
  if (Andere.empty()) return;
  QWidget* Ziel = Eines(Andere);
  Log(QStringLiteral("schließt %1 über den Rahmen").arg(Name(Ziel)));
  Ziel->close();
  // The desktop hands the activation to the main window.
  Hand.Aktivieren(Form1);
}

// Depth and start in the drawing window, opened first when needed.
void TAffe::KleineZeichnung() {
  if (!ZeichenfensterOffen()) {
    Hand.Anklicken(Form1->BZeichnen);
    if (Stopp || !ZeichenfensterOffen()) return;
  }
  Log(QStringLiteral("kleine Zeichnung"));
  if (Chance(70)) {
    const int r = Wurf(100);
    const QString Tiefe = QString::number(r < 90 ? Wurf(7) : r < 98 ? 7 + Wurf(6) : 30);
    Hand.Eintippen(FZeichenform->ETiefe, Tiefe);
    if (Stopp) return;
  }
  if (Chance(20)) RadioWaehlen(FZeichenform->RGSchrittModus);
  if (Stopp) return;
  Vermerken("Zeichnungen");
  Hand.Anklicken(FZeichenform->BZeichnen);
}

// Selects a rule and types a line into the rule field.
void TAffe::RegelBearbeiten() {
  Hand.Aktivieren(Form1);
  if (Chance(60)) ZeileKlicken(Form1->LBRegeln);
  if (Stopp) return;
  Hand.Eintippen(Form1->ERegel, Eines(Regelzeilen));
}

// Files of the working folder and its subfolder, as a file manager offers
// them, mostly one, mostly on the main window and its fields.
void TAffe::Ablage() {
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
      P = Hand.Treffpunkt(Ziel);
    }
  }
  if (!P) {
    Ziel = F;
    P = QPoint(Wurf(F->width()), Wurf(F->height()));
  }
  QStringList Vorhanden;
  for (const QString& Unter : {QString(), QStringLiteral("/sub")}) {
    const QDir D(Ordner + Unter);
    for (const QString& N : D.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
      Vorhanden << D.absoluteFilePath(N);
  }
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
  Hand.Ablegen(F, Ziel->mapTo(F, *P), Pfade);
}

void TAffe::DrehenOderZiehen() {
  const std::optional<TSteuerelement> S = Waehlen(Steuerelemente(Zielfenster()));
  if (!S) return;
  if (Chance(50))
    Hand.Drehen(S->W);
  else
    Hand.ZiehenIn(S->W, Chance(80) ? Qt::LeftButton : Qt::RightButton);
}
