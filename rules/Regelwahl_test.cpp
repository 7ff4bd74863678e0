#include "rules/Regelwahl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/RegelTestHilfen.h"

namespace {

void Laden(TRegelsystem& R, const std::string& Axiom, const std::vector<const char*>& Zeilen) {
  R.Axiom = Axiom;
  for (const char* Z : Zeilen) R.RegelHinzufuegen(Z);
}

const std::vector<const char*> Busch = {"F->F[+F]F", "F->F[-F]F", "F->FF"};
const std::vector<const char*> Drei = {"X->A", "X->B", "X->C"};

// Every picture of a stochastic recipe hangs on these strings.
TEST(Regelwahl, GoldeneZeichenfolgen) {
  const struct {
    std::string Axiom;
    const std::vector<const char*>* Regeln;
    int32_t Tiefe;
    uint32_t Saat;
    const char* Ergebnis;
  } Faelle[] = {
      {"XXXXXXXXXXXX", &Drei, 1, 0, "CBACAAACACBC"},
      {"XXXXXXXXXXXX", &Drei, 1, 7, "BACCBBBBCACA"},
      {"XXXXXXXXXXXX", &Drei, 1, 123456789, "ACABAAACACAC"},
      {"F", &Busch, 2, 4294967295u, "F[-F]F[-F[-F]F]F[-F]F"},
      {"F", &Busch, 3, 42, "F[-F]F[-F[+F]F]FF[-F[-F]F[-F[-F]F]F[+F]F]FF[+FF]F[-F]F"},
  };
  for (const auto& F : Faelle) {
    TRegelsystem R;
    Laden(R, F.Axiom, *F.Regeln);
    EXPECT_EQ(R.Ableitung(F.Tiefe, F.Saat), F.Ergebnis) << F.Saat;
  }
  EXPECT_EQ(PfadSchritt(PfadAnfang(0), 0), 0xe220a8397b1dcdafull);
}

// True when Nachher, from j on, is Vorher, from i on, with each character
// replaced by one of its rules (characters without rules kept).
bool EinmalUmgeschrieben(const TRegelsystem& R, const std::string& Vorher,
                         const std::string& Nachher, size_t i = 0, size_t j = 0) {
  if (i == Vorher.size()) return j == Nachher.size();
  bool Regel = false;
  for (int r = 0; r < R.Count(); ++r) {
    if (R.Items(r).Kopf != Vorher[i]) continue;
    Regel = true;
    const std::string& B = R.Items(r).Rumpf;
    if (Nachher.compare(j, B.size(), B) == 0 &&
        EinmalUmgeschrieben(R, Vorher, Nachher, i + 1, j + B.size()))
      return true;
  }
  return !Regel && j < Nachher.size() && Nachher[j] == Vorher[i] &&
         EinmalUmgeschrieben(R, Vorher, Nachher, i + 1, j + 1);
}

TEST(Regelwahl, JedeTiefeIstDieVorigeEinmalUmgeschrieben) {
  const struct {
    std::string Axiom;
    std::vector<const char*> Regeln;
  } Faelle[] = {
      {"F", Busch},
      {"X+Y", {"X->X[-Y]", "X->Y", "Y->XF", "Y->Y", "Y->-"}},
      {"A", {"A->A", "A->AB", "B->"}},
  };
  for (const auto& F : Faelle) {
    TRegelsystem R;
    Laden(R, F.Axiom, F.Regeln);
    for (uint32_t Saat : {1u, 99u, 31337u})
      for (int32_t d = 0; d < 5; ++d)
        EXPECT_TRUE(EinmalUmgeschrieben(R, R.Ableitung(d, Saat), R.Ableitung(d + 1, Saat)))
            << F.Axiom << " " << Saat << " " << d;
  }
}

TEST(Regelwahl, SaatBestimmtDiePflanze) {
  TRegelsystem R;
  Laden(R, "F", Busch);
  const struct {
    uint32_t A, B;
    bool Gleich;
  } Faelle[] = {{5, 5, true}, {5, 6, false}, {0, 4294967295u, false}, {77, 78, false}};
  for (const auto& F : Faelle)
    EXPECT_EQ(R.Ableitung(5, F.A) == R.Ableitung(5, F.B), F.Gleich) << F.A << " " << F.B;
}

TEST(Regelwahl, DoppeltGelisteteRegelZaehltDoppelt) {
  const struct {
    std::vector<const char*> Regeln;
    double AnteilB;  // expected share of "B"
  } Faelle[] = {
      {{"X->A", "X->B"}, 0.5},
      {{"X->A", "X->B", "X->B"}, 2.0 / 3},
      {{"X->B", "X->A", "X->B", "X->B"}, 0.75},
  };
  for (const auto& F : Faelle) {
    TRegelsystem R;
    Laden(R, std::string(6000, 'X'), F.Regeln);
    const std::string S = R.Ableitung(1, 2024);
    const double B = static_cast<double>(std::count(S.begin(), S.end(), 'B')) / S.size();
    EXPECT_NEAR(B, F.AnteilB, 0.02) << F.Regeln.size();
  }
}

// Huge depths end at once where no choice is left, as the first rules' do;
// a string that keeps choosing without growing is refused with a message.
TEST(Regelwahl, HugeDepthsEndOrAreRefused) {
  const struct {
    std::vector<const char*> Regeln;
    const char* Ergebnis;  // nullptr: refused
  } Faelle[] = {
      {{"A->B", "B->A"}, "B"},          // no choice: its period
      {{"A->B", "B->C", "B->C"}, "C"},  // the same rule twice is no choice
      {{"A->B", "A->C", "B->A", "C->A"}, nullptr},
  };
  for (const auto& F : Faelle) {
    TRegelsystem R;
    Laden(R, "A", F.Regeln);
    if (F.Ergebnis)
      EXPECT_EQ(R.Ableitung(INT32_MAX, 7), F.Ergebnis);
    else
      EXPECT_THROW(R.Ableitung(INT32_MAX, 7), std::runtime_error);
  }
  // A choice reached only through another head still counts.
  TRegelsystem R;
  Laden(R, "A", {"A->B", "B->C", "B->D"});
  std::string Gesehen;
  for (uint32_t Saat = 1; Saat <= 16; ++Saat) Gesehen += R.Ableitung(2, Saat);
  EXPECT_NE(Gesehen.find('C'), std::string::npos);
  EXPECT_NE(Gesehen.find('D'), std::string::npos);
}

}  // namespace
