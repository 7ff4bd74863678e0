// Animated PNG, written frame by frame to a sink the caller provides. Only
// the frame being encoded is held, so a long animation needs no more memory
// than one picture. Every frame covers the whole picture; the animation loops
// endlessly, and its last frame stays four frame times, at least one second,
// so that the finished drawing can be seen before it starts again.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TApngSchreiber {
 public:
  using TSenke = std::function<void(std::string_view)>;

  static constexpr int MinBildzeit = 10;     // ms
  static constexpr int MaxBildzeit = 60000;  // ms

  // Bildzahl frames of Breite x Hoehe pixels, each shown BildzeitMs
  // (MinBildzeit to MaxBildzeit). A non-empty Rezepttext (printable ASCII and
  // LF) goes into the text chunk that RezeptTextLesen reads. Values outside
  // these bounds throw std::invalid_argument. Nothing is written before the
  // first frame.
  TApngSchreiber(TSenke Senke, int Bildzahl, int Breite, int Hoehe, int BildzeitMs,
                 std::string Rezepttext = {});

  // Encodes the next frame and hands its bytes to the sink. The picture is
  // stored opaque, as RGB; a frame of another size, or one more than
  // announced, throws std::logic_error. Errors of the sink pass through.
  void BildAnfuegen(const QImage& Bild);

  // Ends the file. Throws std::logic_error when fewer frames came than announced.
  void Abschliessen();

  // How long the last frame is shown, in ms.
  static int64_t Schlusszeit(int BildzeitMs);

 private:
  void Chunk(std::string_view Typ, std::string_view Daten);
  void Bildsteuerung(int Nummer);

  TSenke Senke;
  int Bildzahl, Breite, Hoehe, Bildzeit;
  std::string Rezepttext;
  std::string Kopf;          // IHDR data of the first frame; later ones must match
  int Geschrieben = 0;       // frames handed to the sink
  uint32_t Folgenummer = 0;  // of the next fcTL or fdAT chunk
  bool Fertig = false;
};
