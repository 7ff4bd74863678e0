#include "rules/Regelstand.h"

TErsetzungen::TErsetzungen(const TRegelsystem& R) : Stand(R.Stand()) {
  for (int i = 0; i < R.Count(); ++i) {
    const TRegel& Regel = R.Items(i);
    Ruempfe.push_back(Regel.Rumpf);
    const size_t Stelle = Regel.Rumpf.find(Regel.Kopf);
    Kopfstelle.push_back(Stelle == std::string::npos ? -1 : static_cast<int32_t>(Stelle));
    Wahl[static_cast<unsigned char>(Regel.Kopf)].push_back(i);
  }
  for (int i = 0; i < 256; ++i) {
    const char c = static_cast<char>(i);
    const int Index = R.RegelIndex(c);
    if (Index < 0) continue;
    const std::string& B = R.Items(Index).Rumpf;
    if (B.size() == 1 && B[0] == c) continue;
    Ersetzt[static_cast<size_t>(i)] = true;
    Rumpf[static_cast<size_t>(i)] = B;
    Erste[static_cast<size_t>(i)] = Index;
  }
}

void TRegelstand::Fertigstellen() { Tabelle = TErsetzungen(Regeln); }

std::shared_ptr<const TRegelstand> TRegelstand::Aus(const TRegelsystem& R) {
  std::shared_ptr<TRegelstand> S(new TRegelstand);
  // Every rule of R once passed the check, so it passes again.
  for (int i = 0; i < R.Count(); ++i)
    S->Regeln.RegelHinzufuegen(TRegelsystem::RegelAlsText(R.Items(i)));
  S->Regeln.Axiom = R.Axiom;
  S->Regeln.WinkelPlus = R.WinkelPlus;
  S->Regeln.WinkelMinus = R.WinkelMinus;
  S->Regeln.Terminalzeichen = R.Terminalzeichen;
  S->Text_ = R.Dateiinhalt();
  S->Fertigstellen();
  try {
    S->Genau = S->GleicheRegeln(*AusText(S->Text_));
  } catch (const std::exception&) {
    S->Genau = false;
  }
  return S;
}

std::shared_ptr<const TRegelstand> TRegelstand::AusText(const std::string& Text) {
  std::shared_ptr<TRegelstand> S(new TRegelstand);
  S->Regeln.InhaltLaden(Text);
  S->Text_ = Text;
  S->Fertigstellen();
  return S;
}

bool TRegelstand::GleicheRegeln(const TRegelstand& Andere) const {
  const TRegelsystem &A = Regeln, &B = Andere.Regeln;
  if (A.Axiom != B.Axiom || A.Count() != B.Count()) return false;
  for (int i = 0; i < A.Count(); ++i)
    if (A.Items(i).Kopf != B.Items(i).Kopf || A.Items(i).Rumpf != B.Items(i).Rumpf) return false;
  return true;
}
