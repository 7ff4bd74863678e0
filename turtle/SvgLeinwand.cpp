#include "turtle/SvgLeinwand.h"

#include <fstream>
#include <stdexcept>

TSvgLeinwand::TSvgLeinwand(int Breite, int Hoehe) : BildBreite(Breite), BildHoehe(Hoehe) {}

std::string TSvgLeinwand::Farbtext(uint32_t Farbe) {
  static const char Ziffern[] = "0123456789ABCDEF";
  std::string T = "#";
  for (int Byte = 0; Byte < 3; ++Byte) {
    unsigned v = (Farbe >> (8 * Byte)) & 0xFF;
    T += Ziffern[v >> 4];
    T += Ziffern[v & 15];
  }
  return T;
}

std::string TSvgLeinwand::Stiftattribute() const {
  std::string T = " stroke=\"" + Farbtext(Farbe) + "\" stroke-width=\"" +
                  std::to_string(Stiftbreite == 0 ? 1 : Stiftbreite) + "\"";
  if (Modus == TRastermodus::NichtXor) T += " class=\"nichtxor\"";
  return T;
}

void TSvgLeinwand::Bewegen(int X, int Y) {
  AktX = X;
  AktY = Y;
}

void TSvgLeinwand::LinieNach(int X, int Y) {
  Inhalt += "<line x1=\"" + std::to_string(AktX) + "\" y1=\"" + std::to_string(AktY) + "\" x2=\"" +
            std::to_string(X) + "\" y2=\"" + std::to_string(Y) + "\"" + Stiftattribute() + "/>\n";
  Bewegen(X, Y);
}

void TSvgLeinwand::Polylinie(const TPunkt* Punkte, int Anzahl) {
  if (Anzahl <= 0) return;
  Inhalt += "<polyline points=\"";
  for (int i = 0; i < Anzahl; ++i) {
    if (i > 0) Inhalt += ' ';
    Inhalt += std::to_string(Punkte[i].X) + "," + std::to_string(Punkte[i].Y);
  }
  Inhalt += "\" fill=\"none\"" + Stiftattribute() + "/>\n";
  Bewegen(Punkte[Anzahl - 1].X, Punkte[Anzahl - 1].Y);
}

void TSvgLeinwand::Ellipse(int X1, int Y1, int X2, int Y2) {
  auto Halb = [](long long v) { return std::to_string(v / 2) + (v % 2 != 0 ? ".5" : ""); };
  Inhalt += "<ellipse cx=\"" + Halb(static_cast<long long>(X1) + X2) + "\" cy=\"" +
            Halb(static_cast<long long>(Y1) + Y2) + "\" rx=\"" +
            Halb(static_cast<long long>(X2) - X1) + "\" ry=\"" +
            Halb(static_cast<long long>(Y2) - Y1) + "\" fill=\"" + Farbtext(Pinsel) + "\"" +
            Stiftattribute() + "/>\n";
}

void TSvgLeinwand::RechteckFuellen(int X1, int Y1, int X2, int Y2) {
  Inhalt += "<rect x=\"" + std::to_string(X1) + "\" y=\"" + std::to_string(Y1) + "\" width=\"" +
            std::to_string(static_cast<long long>(X2) - X1) + "\" height=\"" +
            std::to_string(static_cast<long long>(Y2) - Y1) + "\" fill=\"" + Farbtext(Pinsel) +
            "\"/>\n";
}

std::string TSvgLeinwand::Dokument() const {
  std::string B = std::to_string(BildBreite), H = std::to_string(BildHoehe);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         B + "\" height=\"" + H + "\" viewBox=\"0 0 " + B + " " + H + "\">\n<rect width=\"" + B +
         "\" height=\"" + H +
         "\" fill=\"#FFFFFF\"/>\n<g stroke-linecap=\"round\" stroke-linejoin=\"round\">\n" +
         Inhalt + "</g>\n</svg>\n";
}

void TSvgLeinwand::Speichern(const std::string& Dateiname) const {
  std::ofstream Datei(Dateiname, std::ios::binary | std::ios::trunc);
  if (Datei) Datei << Dokument();
  if (!Datei || !Datei.flush())
    throw std::runtime_error("Die Datei " + Dateiname + " kann nicht geschrieben werden");
}
