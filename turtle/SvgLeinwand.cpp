#include "turtle/SvgLeinwand.h"

#include <charconv>
#include <cstdint>
#include <stdexcept>

#include "helpers/Dateistrom.h"

namespace {

void Zahl(std::string& Text, long long Wert) {
  char Puffer[24];
  const auto Ergebnis = std::to_chars(Puffer, Puffer + sizeof Puffer, Wert);
  Text.append(Puffer, Ergebnis.ptr);
}

// Attribute: blank, name, ="value".
void Attribut(std::string& Text, std::string_view Name, long long Wert) {
  Text += ' ';
  Text += Name;
  Text += "=\"";
  Zahl(Text, Wert);
  Text += '"';
}

}  // namespace

TSvgLeinwand::TSvgLeinwand(int Breite, int Hoehe) : BildBreite(Breite), BildHoehe(Hoehe) {
  StiftattributeBilden();
}

TSvgLeinwand::TSvgLeinwand(int Breite, int Hoehe, const std::string& Dateiname)
    : TSvgLeinwand(Breite, Hoehe) {
  Strom = std::make_unique<TDateistrom>(Dateiname, TFehlerform::MitName);
}

TSvgLeinwand::~TSvgLeinwand() = default;

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

void TSvgLeinwand::StiftFarbeSetzen(uint32_t Wert) {
  if (Wert == Farbe) return;
  Farbe = Wert;
  // A colour per line: only the digits after ' stroke="#' change, in place.
  constexpr size_t Ziffern = 10;
  Stiftattribute.replace(Ziffern, 6, Farbtext(Farbe), 1, 6);
}

void TSvgLeinwand::StiftBreiteSetzen(int Wert) {
  if (Wert < 0 || Wert == Stiftbreite) return;
  Stiftbreite = Wert;
  StiftattributeBilden();
}

void TSvgLeinwand::RastermodusSetzen(TRastermodus Wert) {
  if (Wert == Modus) return;
  Modus = Wert;
  StiftattributeBilden();
}

void TSvgLeinwand::StiftattributeBilden() {
  Stiftattribute = " stroke=\"" + Farbtext(Farbe) + "\" stroke-width=\"" +
                   std::to_string(Stiftbreite == 0 ? 1 : Stiftbreite) + "\"";
  if (Modus == TRastermodus::NichtXor) Stiftattribute += " class=\"nichtxor\"";
}

std::string TSvgLeinwand::Kopf() const {
  std::string B = std::to_string(BildBreite), H = std::to_string(BildHoehe);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         B + "\" height=\"" + H + "\" viewBox=\"0 0 " + B + " " + H + "\">\n" + Metadaten +
         (Hintergrund ? "<rect width=\"" + B + "\" height=\"" + H + "\" fill=\"" +
                            Farbtext(*Hintergrund) + "\"/>\n"
                      : std::string()) +
         "<g stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
}

void TSvgLeinwand::Grundieren(uint32_t Farbe) {
  if (!KopfGeschrieben && Inhalt.empty()) {
    Hintergrund = Farbe;
    return;
  }
  TLeinwand::Grundieren(Farbe);
}

void TSvgLeinwand::Schreiben(std::string_view Text) {
  if (!Strom) {
    Inhalt += Text;
    return;
  }
  if (!KopfGeschrieben) {
    KopfGeschrieben = true;
    Strom->Schreiben(Kopf());
  }
  Strom->Schreiben(Text);
}

void TSvgLeinwand::MetadatenSetzen(const std::string& Text) {
  if (KopfGeschrieben) throw std::logic_error("Metadaten nach dem ersten Element");
  std::string T = "<metadata id=\"rankenwerk\">";
  for (char c : Text) {
    if (c == '&') {
      T += "&amp;";
    } else if (c == '<') {
      T += "&lt;";
    } else if (c == '>') {
      T += "&gt;";
    } else if (c == '\n' || (c >= ' ' && c <= '~')) {
      T += c;
    } else {
      throw std::invalid_argument("Metadaten nur aus druckbaren ASCII-Zeichen");
    }
  }
  Metadaten = T + "</metadata>\n";
}

void TSvgLeinwand::Bewegen(int X, int Y) {
  AktX = X;
  AktY = Y;
}

void TSvgLeinwand::LinieNach(int X, int Y) {
  Zeile.assign("<line");
  Attribut(Zeile, "x1", AktX);
  Attribut(Zeile, "y1", AktY);
  Attribut(Zeile, "x2", X);
  Attribut(Zeile, "y2", Y);
  Zeile += Stiftattribute;
  Zeile += "/>\n";
  Schreiben(Zeile);
  Bewegen(X, Y);
}

void TSvgLeinwand::Polylinie(const TPunkt* Punkte, int Anzahl) {
  if (Anzahl <= 0) return;
  Zeile.assign("<polyline points=\"");
  for (int i = 0; i < Anzahl; ++i) {
    if (i > 0) Zeile += ' ';
    Zahl(Zeile, Punkte[i].X);
    Zeile += ',';
    Zahl(Zeile, Punkte[i].Y);
  }
  Zeile += "\" fill=\"none\"" + Stiftattribute + "/>\n";
  Schreiben(Zeile);
  Bewegen(Punkte[Anzahl - 1].X, Punkte[Anzahl - 1].Y);
}

void TSvgLeinwand::Ellipse(int X1, int Y1, int X2, int Y2) {
  auto Halb = [](long long v) { return std::to_string(v / 2) + (v % 2 != 0 ? ".5" : ""); };
  Zeile = "<ellipse cx=\"" + Halb(static_cast<long long>(X1) + X2) + "\" cy=\"" +
          Halb(static_cast<long long>(Y1) + Y2) + "\" rx=\"" +
          Halb(static_cast<long long>(X2) - X1) + "\" ry=\"" +
          Halb(static_cast<long long>(Y2) - Y1) + "\" fill=\"" + Farbtext(Pinsel) + "\"" +
          Stiftattribute + "/>\n";
  Schreiben(Zeile);
}

void TSvgLeinwand::RechteckFuellen(int X1, int Y1, int X2, int Y2) {
  Zeile.assign("<rect");
  Attribut(Zeile, "x", X1);
  Attribut(Zeile, "y", Y1);
  Attribut(Zeile, "width", static_cast<long long>(X2) - X1);
  Attribut(Zeile, "height", static_cast<long long>(Y2) - Y1);
  Zeile += " fill=\"" + Farbtext(Pinsel) + "\"/>\n";
  Schreiben(Zeile);
}

void TSvgLeinwand::VieleckFuellen(const TPunkt* Punkte, int Anzahl) {
  Zeile.assign("<polygon fill-rule=\"nonzero\" fill=\"");
  Zeile += Farbtext(Farbe);
  Zeile += "\" points=\"";
  for (int i = 0; i < Anzahl; ++i) {
    if (i > 0) Zeile += ' ';
    Zahl(Zeile, Punkte[i].X);
    Zeile += ',';
    Zahl(Zeile, Punkte[i].Y);
  }
  Zeile += '"';
  if (Modus == TRastermodus::NichtXor) Zeile += " class=\"nichtxor\"";
  Zeile += "/>\n";
  Schreiben(Zeile);
}

std::string TSvgLeinwand::Dokument() const { return Kopf() + Inhalt + "</g>\n</svg>\n"; }

void TSvgLeinwand::Abschliessen() {
  if (!Strom) return;
  Schreiben("</g>\n</svg>\n");
  Strom->Abschliessen();
}

// ---- reading

namespace {

bool Leerraum(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Text with the five named references and numeric ones resolved (to UTF-8);
// nothing when a reference is malformed.
std::optional<std::string> Aufloesen(std::string_view Roh) {
  std::string Text;
  Text.reserve(Roh.size());
  for (size_t i = 0; i < Roh.size(); ++i) {
    if (Roh[i] != '&') {
      Text += Roh[i];
      continue;
    }
    const size_t Ende = Roh.find(';', i);
    if (Ende == std::string_view::npos || Ende - i > 12) return std::nullopt;
    const std::string_view Name = Roh.substr(i + 1, Ende - i - 1);
    i = Ende;
    if (Name == "amp") {
      Text += '&';
    } else if (Name == "lt") {
      Text += '<';
    } else if (Name == "gt") {
      Text += '>';
    } else if (Name == "quot") {
      Text += '"';
    } else if (Name == "apos") {
      Text += '\'';
    } else if (Name.size() > 1 && Name[0] == '#') {
      const bool Hex = Name[1] == 'x';
      const std::string_view Ziffern = Name.substr(Hex ? 2 : 1);
      uint32_t Wert = 0;
      const auto [Zeiger, Fehler] =
          std::from_chars(Ziffern.data(), Ziffern.data() + Ziffern.size(), Wert, Hex ? 16 : 10);
      if (Fehler != std::errc() || Zeiger != Ziffern.data() + Ziffern.size() || Ziffern.empty() ||
          Wert == 0 || Wert > 0x10FFFF)
        return std::nullopt;
      if (Wert < 0x80) {
        Text += static_cast<char>(Wert);
      } else if (Wert < 0x800) {
        Text += static_cast<char>(0xC0 | (Wert >> 6));
        Text += static_cast<char>(0x80 | (Wert & 0x3F));
      } else if (Wert < 0x10000) {
        Text += static_cast<char>(0xE0 | (Wert >> 12));
        Text += static_cast<char>(0x80 | ((Wert >> 6) & 0x3F));
        Text += static_cast<char>(0x80 | (Wert & 0x3F));
      } else {
        Text += static_cast<char>(0xF0 | (Wert >> 18));
        Text += static_cast<char>(0x80 | ((Wert >> 12) & 0x3F));
        Text += static_cast<char>(0x80 | ((Wert >> 6) & 0x3F));
        Text += static_cast<char>(0x80 | (Wert & 0x3F));
      }
    } else {
      return std::nullopt;
    }
  }
  return Text;
}

}  // namespace

bool TSvgLeinwand::IstSvg(std::string_view Anfang) {
  if (Anfang.substr(0, 3) == "\xEF\xBB\xBF") Anfang.remove_prefix(3);
  size_t i = 0;
  while (i < Anfang.size() && Leerraum(Anfang[i])) ++i;
  if (i == Anfang.size() || Anfang[i] != '<') return false;
  for (size_t p = Anfang.find("<svg", i); p != std::string_view::npos;
       p = Anfang.find("<svg", p + 1)) {
    const size_t n = p + 4;
    if (n < Anfang.size() && (Leerraum(Anfang[n]) || Anfang[n] == '>' || Anfang[n] == '/'))
      return true;
  }
  return false;
}

std::optional<std::string> TSvgLeinwand::MetadatenLesen(std::string_view Anfang,
                                                        std::string_view Kennung) {
  constexpr std::string_view Start = "<metadata", Schluss = "</metadata";
  for (size_t p = Anfang.find(Start); p != std::string_view::npos; p = Anfang.find(Start, p + 1)) {
    size_t i = p + Start.size();
    if (i >= Anfang.size() || !(Leerraum(Anfang[i]) || Anfang[i] == '>' || Anfang[i] == '/'))
      continue;
    // The end of the start tag; attribute values may hold a ">".
    char Quote = 0;
    for (; i < Anfang.size(); ++i) {
      const char c = Anfang[i];
      if (Quote != 0) {
        if (c == Quote) Quote = 0;
      } else if (c == '"' || c == '\'') {
        Quote = c;
      } else if (c == '>') {
        break;
      }
    }
    if (i >= Anfang.size()) return std::nullopt;
    if (Anfang[i - 1] == '/') continue;  // <metadata/>
    const size_t Ende = Anfang.find(Schluss, i + 1);
    if (Ende == std::string_view::npos) return std::nullopt;
    std::optional<std::string> Text = Aufloesen(Anfang.substr(i + 1, Ende - i - 1));
    if (Text && Text->compare(0, Kennung.size(), Kennung) == 0) return Text;
    p = Ende;
  }
  return std::nullopt;
}
