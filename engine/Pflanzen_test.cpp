#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/LaufTest.h"
#include "engine/Rezept.h"
#include "engine/Zeichenmaschine.h"
#include "engine/Zeichenzahl.h"
#include "turtle/Protokoll_test.h"

namespace {

// L drawn as a replay, every line written down with the pen's colour.
class TFarbLeinwand : public TProtokollLeinwand {
 public:
  explicit TFarbLeinwand(TLauf L, bool Anpassen = false) {
    TNachzeichnung Wie;
    Wie.Wiedergabe = true;
    Wie.SchrittweiteAnpassen = Anpassen;
    LaufZeichnen(L, *this, Wie);
  }
  void LinieNach(int X, int Y) override {
    Farben.push_back(Farbe);
    TProtokollLeinwand::LinieNach(X, Y);
  }
  std::vector<uint32_t> Farben;
};

TLauf Pflanze(const std::string& Axiom, const std::vector<const char*>& Regeln, int32_t Tiefe) {
  TLauf L = Regellauf(Axiom, Regeln, 30, Tiefe);
  L.Einstellungen.SchrittweiteAnpassen = false;
  L.Einstellungen.Zeichenfarbe = 0x000000;
  L.Einstellungen.Endfarbe = 0x3060C0;
  return L;
}

TEST(Pflanzen, Stufenfarbe) {
  const struct {
    uint32_t A, B;
    int64_t i, n;
    uint32_t Farbe;
  } Faelle[] = {
      {0x000000, 0x0A0B01, 1, 3, 0x050600},  // halves to even: 0.5 -> 0, 5.5 -> 6
      {0x0A0B01, 0x000000, 1, 3, 0x050600}, {0x123456, 0xFFFFFF, 0, 1, 0x123456},
      {0x008000, 0x90EE90, 1, 2, 0x90EE90}, {0x000000, 0x0000FF, 1, 4, 0x000055},
  };
  for (const auto& F : Faelle) EXPECT_EQ(Stufenfarbe(F.A, F.B, F.i, F.n), F.Farbe) << F.i;
}

// The level of each line, as found by hand.
TEST(Pflanzen, FarbeNachStufe) {
  const struct {
    std::string Axiom;
    std::vector<const char*> Regeln;
    int32_t Tiefe;
    TFaerbung Faerbung;
    int64_t Stufen;
    std::vector<int64_t> Linien;
  } Faelle[] = {
      {"F", {"F->F[+F][-F]"}, 2, TFaerbung::Alter, 3, {0, 2, 2, 1, 2, 2, 1, 2, 2}},
      {"F", {"F->FF"}, 2, TFaerbung::Alter, 3, {0, 2, 1, 2}},
      {"X", {"X->F[+X]F[-X]+X", "F->FF"}, 2, TFaerbung::Alter, 3, {1, 2, 2, 2, 1, 2, 2, 2, 2, 2}},
      {"FA", {"A->F[B]", "B->FF"}, 2, TFaerbung::Regel, 3, {0, 1, 2, 2}},
      {"F", {"F->F[F]"}, 2, TFaerbung::Verzweigung, 3, {0, 1, 1, 2}},
      {"F[F[F]]F", {}, 0, TFaerbung::Verzweigung, 3, {0, 1, 2, 0}},
  };
  for (const auto& F : Faelle) {
    TLauf L = Pflanze(F.Axiom, F.Regeln, F.Tiefe);
    L.Einstellungen.Faerbung = F.Faerbung;
    std::vector<uint32_t> Erwartet;
    for (int64_t i : F.Linien) Erwartet.push_back(Stufenfarbe(0, 0x3060C0, i, F.Stufen));
    for (bool Schritte : {false, true}) {
      L.Einstellungen.Schrittmodus = Schritte;
      EXPECT_EQ(TFarbLeinwand(L).Farben, Erwartet) << F.Axiom << " " << F.Regeln.size();
    }
  }
}

// What the walks draw under the random choice is the derived string of the seed.
TEST(Pflanzen, GezeichnetWieAbgeleitet) {
  const struct {
    bool Schritte, Anpassen, Zufall;
    std::optional<TRechteck> Ausschnitt;
  } Faelle[] = {
      {false, false, false, std::nullopt},
      {false, true, false, std::nullopt},
      {true, false, false, std::nullopt},
      {false, false, true, std::nullopt},
      {false, false, false, TRechteck{470, 560, 100, 68}},
  };
  for (const auto& F : Faelle)
    for (uint32_t Saat : {3u, 4u}) {
      TLauf L = Pflanze("X", {"X->F[+X]F[-X]+X", "X->F[-X]+X", "X->FX", "F->FF", "F->F"}, 5);
      L.Einstellungen.Regelwahl = TRegelwahl::Zufaellig;
      L.Einstellungen.Saat = Saat;
      L.Einstellungen.Zufallsmodus = F.Zufall;
      L.Einstellungen.Schrittmodus = F.Schritte;
      L.Ausschnitt = F.Ausschnitt;
      TLauf Abgeleitet = L;
      Abgeleitet.Einstellungen.Regelwahl = TRegelwahl::ErsteRegel;
      TRegelsystem Leer;
      Leer.Axiom = L.Regeln->Regelsystem().TerminalAbleitung(5, Saat);
      Abgeleitet.Regeln = TRegelstand::Aus(Leer);
      Abgeleitet.Tiefe = 0;
      // The fitting walks the same plant: the same step.
      const auto Linien = TFarbLeinwand(L, F.Anpassen).Linien;
      EXPECT_EQ(Linien, TFarbLeinwand(Abgeleitet, F.Anpassen).Linien) << Saat << F.Schritte;
      EXPECT_LE(Linien.size(),
                ZeichenZaehlen(L.Regeln->Ersetzungen(), 5, "X", TRegelwahl::Zufaellig).Linien);
    }
}

}  // namespace
