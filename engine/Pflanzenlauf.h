// The walk of plants, shared by the drawing at once, step mode, the fitting
// and the cut-out walk: which replacement each character gets (the first
// rule, or the random choice by its path) and the colour level of what it
// writes. Not for use outside the engine.
#pragma once

#include "engine/Laufrahmen.h"
#include "rules/Regelwahl.h"

// What a replacement's characters inherit from the character it replaced:
// its path, and their level (Alter: the step that wrote them, but the head's
// first occurrence, Erbe, keeps the head's own; Regel: the rule's place + 1).
struct TZeichenmaschine::TZweig {
  uint64_t Pfad = 0;
  int64_t Stufe = 0;
  int32_t Erbe = -1;
  int64_t ErbStufe = 0;
};

// TArt says what happens around the expansion: Anfang(Laenge) at the start of
// each text (false: return), Springen(c, j, Zufaellig) may pass over a
// replacement, Blatt(c, Stufe, Zufaellig) lets a character act (false: stop
// this text).
template <class TArt>
void TZeichenmaschine::Wachsen(TArt& A, const char* s, size_t Laenge, int32_t n, const TZweig& Z) {
  if (!A.Anfang(Laenge)) return;
  const bool Zufaellig = E->Zufallsmodus;
  if (n <= 0) {
    for (size_t i = 0; i < Laenge; ++i)
      if (!A.Blatt(s[i], static_cast<int32_t>(i) == Z.Erbe ? Z.ErbStufe : Z.Stufe, Zufaellig))
        return;
    return;
  }
  const bool Waehlen = Pf.Wahl;
  const TFaerbung Faerbung = Pf.Faerbung;
  for (size_t i = 0; i < Laenge; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    const int64_t Stufe = static_cast<int32_t>(i) == Z.Erbe ? Z.ErbStufe : Z.Stufe;
    const TErsetzungen& T = *Aktuelle;
    int32_t r = -1;
    uint64_t Pfad = 0;
    if (Waehlen) {
      const std::vector<int32_t>& Regeln = T.Wahl[c];
      if (!Regeln.empty()) {
        Pfad = PfadSchritt(Z.Pfad, i);
        r = Regeln[Regeln.size() == 1 ? 0 : RegelWaehlen(Pfad, Regeln.size())];
      }
    } else if (T.Ersetzt[c]) {
      r = T.Erste[c];
    }
    if (r >= 0) {
      if (A.Springen(c, n - 1, Zufaellig)) continue;
      TZweig K{Pfad, 0, -1, 0};
      if (Faerbung == TFaerbung::Alter) {
        K.Stufe = Pf.Wurzeltiefe - n + 1;
        K.Erbe = T.Kopfstelle[static_cast<size_t>(r)];
        K.ErbStufe = Stufe;
      } else if (Faerbung == TFaerbung::Regel) {
        K.Stufe = r + 1;
      }
      const std::string& B = T.Ruempfe[static_cast<size_t>(r)];
      Wachsen(A, B.data(), B.size(), n - 1, K);
      continue;
    }
    if (!A.Blatt(static_cast<char>(c), Stufe, Zufaellig)) return;
  }
}

template <class TTun>
bool TZeichenmaschine::PflanzenZeichen(char c, int64_t Stufe, bool Zufaellig, TTun&& Tun) {
  if (Abbruch) return false;
  if (Pf.NurTerminale && !Terminale()[static_cast<unsigned char>(c)]) return true;
  ++Erledigt;
  if (Ausgefuehrt_ >= Art.Zeichengrenze) [[unlikely]] {
    Abbruch = true;
    return false;
  }
  Faerben(c, Stufe);
  Tun(c, Zufaellig);
  ++Ausgefuehrt_;
  SchwereArbeitPruefen();
  return true;
}
