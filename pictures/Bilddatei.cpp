#include "pictures/Bilddatei.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <QIODevice>
#include <QVector>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "helpers/Dateien.h"
#include "helpers/Dateistrom.h"
#include "rules/Regelsystem.h"
#include "turtle/SvgLeinwand.h"

namespace {

// Hands what Qt writes to a TDateistrom and keeps its first error.
class TStromGeraet : public QIODevice {
 public:
  explicit TStromGeraet(TDateistrom& Strom) : Strom(Strom) { open(QIODevice::WriteOnly); }
  bool isSequential() const override { return true; }
  std::string Meldung;

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* Daten, qint64 Laenge) override {
    if (!Meldung.empty()) return -1;
    try {
      Strom.Schreiben(std::string_view(Daten, static_cast<size_t>(Laenge)));
    } catch (const std::exception& E) {
      Meldung = E.what();
      return -1;
    }
    return Laenge;
  }

 private:
  TDateistrom& Strom;
};

const std::string KeinRezept = "Das Bild enthält kein Rankenwerk-Rezept";
const std::string WederNoch = "Die Datei ist weder ein PNG- noch ein SVG-Bild";

// A recipe is there but unusable: the same words as for a malformed text.
[[noreturn]] void Beschaedigt() {
  throw std::runtime_error("Bild enthält kein gültiges Rezept: der Text ist beschädigt");
}
[[noreturn]] void ZuLang() {
  throw std::runtime_error("Bild enthält kein gültiges Rezept: länger als 16 MiB");
}

// Reads a file at given places, never beyond its end.
class TLeser {
 public:
  explicit TLeser(const std::string& Datei) {
    // Without O_NONBLOCK opening a pipe would wait for a writer.
    fd = open(Datei.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error(DateiFehlertext(Fehlergrund(errno, Datei)));
    struct stat Info;
    if (fstat(fd, &Info) != 0) Fehler(errno);
    if (S_ISDIR(Info.st_mode)) Fehler(EISDIR);
    if (!S_ISREG(Info.st_mode)) {
      close(fd);
      throw std::runtime_error(WederNoch);
    }
    Groesse = static_cast<uint64_t>(Info.st_size);
  }
  ~TLeser() { close(fd); }
  TLeser(const TLeser&) = delete;
  TLeser& operator=(const TLeser&) = delete;

  uint64_t Groesse = 0;

  // Up to Laenge bytes from Position on; fewer at the end of the file.
  std::string Lesen(uint64_t Position, size_t Laenge) {
    std::string Daten;
    if (Position >= Groesse) return Daten;
    Daten.resize(static_cast<size_t>(std::min<uint64_t>(Laenge, Groesse - Position)));
    size_t Gelesen = 0;
    while (Gelesen < Daten.size()) {
      const ssize_t n = pread(fd, Daten.data() + Gelesen, Daten.size() - Gelesen,
                              static_cast<off_t>(Position + Gelesen));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) Fehler(errno);
      if (n == 0) break;
      Gelesen += static_cast<size_t>(n);
    }
    Daten.resize(Gelesen);
    return Daten;
  }

 private:
  [[noreturn]] void Fehler(int Nummer) {
    close(fd);
    fd = -1;
    throw std::runtime_error(DateiFehlertext(Nummer));
  }

  int fd = -1;
};

uint32_t Wort(const std::string& Daten, size_t Stelle) {
  uint32_t w = 0;
  for (size_t i = 0; i < 4; ++i) w = (w << 8) | static_cast<unsigned char>(Daten[Stelle + i]);
  return w;
}

// A zlib stream inflated, at most MaxRezepttext bytes of it.
std::string Entpacken(std::string_view Gepackt) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw std::bad_alloc();
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Gepackt.data()));
  z.avail_in = static_cast<uInt>(Gepackt.size());
  std::string Text;
  char Puffer[65536];
  int Ergebnis = Z_OK;
  // Each call gets a fresh buffer, so anything but Z_OK ends: the end of the
  // stream, damaged data, or input that ends early (Z_BUF_ERROR).
  while (Ergebnis == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(Puffer);
    z.avail_out = sizeof Puffer;
    Ergebnis = inflate(&z, Z_NO_FLUSH);
    Text.append(Puffer, sizeof Puffer - z.avail_out);
    if (Text.size() > MaxRezepttext) {
      inflateEnd(&z);
      ZuLang();
    }
  }
  inflateEnd(&z);
  if (Ergebnis != Z_STREAM_END) Beschaedigt();
  return Text;
}

// The text of a tEXt, zTXt or iTXt chunk's data after the keyword's NUL.
std::string Chunktext(std::string_view Typ, std::string_view Rest) {
  if (Typ == "tEXt") return std::string(Rest);
  if (Typ == "zTXt") {
    if (Rest.empty() || Rest[0] != 0) Beschaedigt();
    return Entpacken(Rest.substr(1));
  }
  // iTXt: compression flag and method, language tag, translated keyword, text.
  if (Rest.size() < 2) Beschaedigt();
  const bool Gepackt = Rest[0] != 0;
  if (Gepackt && Rest[1] != 0) Beschaedigt();
  size_t p = Rest.find('\0', 2);
  if (p != std::string_view::npos) p = Rest.find('\0', p + 1);
  if (p == std::string_view::npos) Beschaedigt();
  const std::string_view Text = Rest.substr(p + 1);
  return Gepackt ? Entpacken(Text) : std::string(Text);
}

bool IstPng(TLeser& Datei) { return Datei.Lesen(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8); }

std::string PngText(TLeser& Datei) {
  const std::string Schluessel = RezeptSchluessel;
  // A chunk: length (4), type (4), data, CRC (4) over type and data.
  for (uint64_t Stelle = 8;;) {
    const std::string Kopf = Datei.Lesen(Stelle, 8);
    if (Kopf.size() < 8) break;
    const uint32_t Laenge = Wort(Kopf, 0);
    const std::string Typ = Kopf.substr(4);
    if (Laenge > 0x7FFFFFFF || Typ == "IEND") break;
    if (Typ == "tEXt" || Typ == "zTXt" || Typ == "iTXt") {
      const std::string Anfang = Datei.Lesen(Stelle + 8, std::min<uint32_t>(Laenge, 80));
      if (Anfang.compare(0, Schluessel.size() + 1, Schluessel + '\0') == 0) {
        if (Laenge > MaxRezepttext + 1024) ZuLang();
        const std::string Daten = Datei.Lesen(Stelle + 4, size_t{Laenge} + 8);
        if (Daten.size() < size_t{Laenge} + 8) Beschaedigt();
        const uLong Pruefsumme =
            crc32(0, reinterpret_cast<const Bytef*>(Daten.data()), static_cast<uInt>(Laenge + 4));
        if (Pruefsumme != Wort(Daten, Laenge + 4)) Beschaedigt();
        return Chunktext(Typ, std::string_view(Daten).substr(4 + Schluessel.size() + 1,
                                                             Laenge - Schluessel.size() - 1));
      }
    }
    Stelle += uint64_t{Laenge} + 12;
  }
  throw std::runtime_error(KeinRezept);
}

// The picture with a table of its colours, where it has no more than 256 and
// no transparency: the same pixels in a third of the bytes, which the PNG
// encoder filters and compresses three times as fast. Else the picture.
QImage MitFarbtabelle(const QImage& Bild) {
  if (Bild.hasAlphaChannel() || Bild.depth() != 32 || Bild.isNull()) return Bild;
  QImage Tabelle(Bild.size(), QImage::Format_Indexed8);
  QVector<QRgb> Farben;
  QRgb Letzte = 0;
  int Index = -1;
  const int Breite = Bild.width(), Hoehe = Bild.height();
  for (int y = 0; y < Hoehe; ++y) {
    const auto* Zeile = reinterpret_cast<const QRgb*>(Bild.constScanLine(y));
    uchar* Ziel = Tabelle.scanLine(y);
    for (int x = 0; x < Breite; ++x) {
      const QRgb Farbe = Zeile[x] | 0xFF000000u;
      if (Index < 0 || Farbe != Letzte) {
        const auto i = std::find(Farben.begin(), Farben.end(), Farbe);
        if (i == Farben.end() && Farben.size() == 256) return Bild;
        Index = static_cast<int>(i - Farben.begin());
        if (i == Farben.end()) Farben.push_back(Farbe);
        Letzte = Farbe;
      }
      Ziel[x] = static_cast<uchar>(Index);
    }
  }
  Tabelle.setColorTable(Farben);
  Tabelle.setDotsPerMeterX(Bild.dotsPerMeterX());
  Tabelle.setDotsPerMeterY(Bild.dotsPerMeterY());
  for (const QString& Schluessel : Bild.textKeys())
    Tabelle.setText(Schluessel, Bild.text(Schluessel));
  return Tabelle;
}

}  // namespace

void PngSpeichern(QImage Bild, const std::string& Datei, const std::string& Rezepttext) {
  Bild = MitFarbtabelle(Bild);
  // A picture drawn by no run (only cleared) has no recipe to carry.
  if (!Rezepttext.empty())
    Bild.setText(RezeptSchluessel,
                 QString::fromLatin1(Rezepttext.data(), static_cast<qsizetype>(Rezepttext.size())));
  TDateistrom Strom(Datei, TFehlerform::MitName);
  TStromGeraet Geraet(Strom);
  if (!Bild.save(&Geraet, "PNG")) {
    if (!Geraet.Meldung.empty()) throw std::runtime_error(Geraet.Meldung);
    throw std::runtime_error("Die Datei " + Datei + " kann nicht geschrieben werden");
  }
  Strom.Abschliessen();
}

std::string RezeptTextLesen(const std::string& Datei) {
  TLeser Leser(Datei);
  if (IstPng(Leser)) return PngText(Leser);
  const std::string Anfang = Leser.Lesen(0, 2 * MaxRezepttext);
  if (!TSvgLeinwand::IstSvg(Anfang)) throw std::runtime_error(WederNoch);
  std::optional<std::string> Text =
      TSvgLeinwand::MetadatenLesen(Anfang, std::string(RezeptSchluessel) + " ");
  if (!Text) throw std::runtime_error(KeinRezept);
  return std::move(*Text);
}

bool IstBilddatei(const std::string& Datei) {
  if (Datei.size() < 4) return false;
  std::string Endung = Datei.substr(Datei.size() - 4);
  std::transform(Endung.begin(), Endung.end(), Endung.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return Endung == ".png" || Endung == ".svg";
}

std::optional<std::string> RegelnOderRezeptLesen(const std::string& Datei, TRegelsystem& R) {
  std::optional<bool> Bild;
  try {
    TLeser Leser(Datei);
    Bild = IstPng(Leser) || TSvgLeinwand::IstSvg(Leser.Lesen(0, 2 * MaxRezepttext));
  } catch (const std::exception&) {
    // Unreadable: reading it as what its name says gives the fitting error.
  }
  if (Bild.value_or(IstBilddatei(Datei))) return RezeptTextLesen(Datei);
  if (!Bild || !IstBilddatei(Datei)) {
    R.Laden(Datei);
    return std::nullopt;
  }
  try {
    R.Laden(Datei);
  } catch (const std::exception& Fehler) {
    throw std::runtime_error(WederNoch + " noch ein Regelsystem: " + Fehler.what());
  }
  return std::nullopt;
}
