#include "mainwindow/Affenbuch.h"

#include "drawing/LSystemZeichnen.h"
#include "engine/Rezept.h"
#include "mainwindow/Affenhand.h"
#include "mainwindow/LsystemHauptfenster.h"
#include "turtle/turtleUnit.h"

namespace {

const char* ArtName(TArt A) {
  static const char* const Namen[] = {"Knöpfe",        "Felder",     "Radiogruppen",
                                      "Listen",        "Textfelder", "Drehfelder",
                                      "Auswahllisten", "Schieber",   "Flächen"};
  return Namen[static_cast<int>(A)];
}

// What a replay needs to know besides the events: the recipe of a run
// started now, with the main window's rule system, and what it leaves out.
QString Zustand() {
  QString Z = QStringLiteral("Zustand:\n");
  if (!Form1 || !FZeichenform) return Z;
  TLauf R = FZeichenform->LaufJetzt();
  RegelsystemErfassen(R, Form1->Regelsystem);
  for (const QString& Zeile : QString::fromStdString(RezeptAlsText(R)).split(u'\n'))
    if (!Zeile.isEmpty()) Z += QStringLiteral("    ") + Zeile + QLatin1Char('\n');
  return Z + Satz(
                 "    Winkel des Zeichenfensters %1/%2, Tiefe der Zeichenfolgen %3, Turtle "
                 "gezeigt %4, sofort nachzeichnen %5\n",
                 FZeichenform->Vorgaben().WinkelPlus, FZeichenform->Vorgaben().WinkelMinus,
                 Form1->Regelsystem.Tiefe, FZeichenform->Turtle().Sichtbar,
                 FZeichenform->Nachzeichnen().Sofort());
}

}  // namespace

TAffenbuch::TAffenbuch(uint64_t Saat)
    : Saat(Saat), Zufall(Saat), ZufallImLauf(Saat ^ 0x9E3779B97F4A7C15ull) {}

void TAffenbuch::Log(const QString& Zeile) {
  std::lock_guard<std::mutex> Sperre(LogSperre);
  Letzte.push_back(QStringLiteral("#%1 %2").arg(Nummer).arg(Zeile));
  if (Letzte.size() > 120) Letzte.pop_front();
}

void TAffenbuch::Zaehlen(QWidget* W) {
  if (const std::optional<TSteuerelement> S = Zuordnen(W)) {
    ++Treffer[S->Name];
    Arten[S->Name] = S->Art;
  }
}

int64_t TAffenbuch::Anzahl(const QString& Steuerelement) const {
  const auto It = Treffer.find(Steuerelement);
  return It == Treffer.end() ? 0 : It->second;
}

void TAffenbuch::Verlangen(const TSteuerelement& S) {
  Pflicht << S.Name;
  Arten[S.Name] = S.Art;
}

void TAffenbuch::Verletzt(const QString& Was) {
  if (Stopp) return;
  Stopp = true;
  Log(QStringLiteral("VERLETZT: ") + Was);
  Fehler = Satz(
               "Affentest verletzt nach Ereignis %1 (Saat %2): %3\n"
               "Wiederholen mit AFFEN_SAAT=%2 AFFEN_EREIGNISSE=%4\nLetzte Ereignisse:\n",
               Nummer, Saat, Was, Nummer + 1) +
           QString::fromStdString(Verlauf()) + Zustand();
}

QStringList TAffenbuch::Bericht() const {
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

QStringList TAffenbuch::Unberuehrt() const {
  QStringList L;
  for (const QString& Name : Pflicht)
    if (!Treffer.count(Name)) L << Name;
  return L;
}

std::string TAffenbuch::Verlauf() {
  std::lock_guard<std::mutex> Sperre(LogSperre);
  std::string S;
  for (const QString& Z : Letzte) S += "    " + Z.toStdString() + "\n";
  return S;
}
