#include "drawing/Speicherung.h"

#include <QProgressDialog>

#include "gui/Dialoge.h"
#include "pictures/BildLeinwand.h"

namespace {
constexpr int Stufen = 1000;
}  // namespace

TSpeicherung::TSpeicherung(QWidget* Fenster)
    : QObject(Fenster), Fenster(Fenster), Zeichner(new THintergrundzeichner(this)) {
  connect(Zeichner, &THintergrundzeichner::Bild, this,
          [this](int Nummer, const QImage&, double Anteil, bool Zuletzt, const QString& Fehler) {
            Gekommen(Nummer, Anteil, Zuletzt, Fehler);
          });
}

TSpeicherung::~TSpeicherung() = default;

void TSpeicherung::Starten(const QString& Text, TSchreiben Schreiben,
                           std::function<void()> Nachher) {
  if (Laufend) {
    MeldungZeigen(QStringLiteral("Es wird noch gespeichert; bitte warten, bis das Speichern "
                                 "fertig ist, oder es abbrechen."),
                  Fenster);
    return;
  }
  Laufend = true;
  Grund.clear();
  Danach = std::move(Nachher);
  Geschrieben = std::make_shared<bool>(false);
  // Beside the windows, not over them: they stay usable while it writes.
  Box = new QProgressDialog(Text, QStringLiteral("Abbrechen"), 0, Stufen, Fenster);
  Box->setObjectName(QStringLiteral("Speicherfortschritt"));
  Box->setAttribute(Qt::WA_DeleteOnClose, false);
  FortschrittsboxEinrichten(*Box);
  Box->setWindowModality(Qt::NonModal);
  // "Abbrechen" and the box's own Escape cancel it; any other way it is
  // rejected (an Escape while it is not the active window, its close button).
  connect(Box, &QProgressDialog::canceled, Zeichner, &THintergrundzeichner::Anhalten);
  connect(Box, &QDialog::rejected, Zeichner, &THintergrundzeichner::Anhalten);
  Box->setValue(0);
  Auftrag =
      Zeichner->Starten(QImage(), [Schreiben = std::move(Schreiben), Fertig = Geschrieben](
                                      TLeinwand&, const THintergrundzeichner::TWeiter& Weiter) {
        *Fertig = Schreiben(Weiter);
      });
}

void TSpeicherung::Unterbrechen(const QString& Meldung) {
  if (!Laufend) return;
  if (Grund.isEmpty()) Grund = Meldung;
  Zeichner->Anhalten();
}

void TSpeicherung::Gekommen(int Nummer, double Anteil, bool Zuletzt, const QString& Fehler) {
  if (Nummer != Auftrag || !Box) return;
  if (!Zuletzt) {
    if (!Box->wasCanceled())
      Box->setValue(static_cast<int>(std::clamp(Anteil, 0.0, 1.0) * (Stufen - 1)));
    return;
  }
  Laufend = false;
  Box->deleteLater();
  Box = nullptr;
  const bool Fertig = Geschrieben && *Geschrieben;
  Geschrieben.reset();
  emit Beendet();
  if (!Fehler.isEmpty())
    FehlerZeigen(std::runtime_error(Fehler.toStdString()), Fenster);
  else if (!Fertig && !Grund.isEmpty())
    FehlerZeigen(std::runtime_error(Grund.toStdString()), Fenster);
  else if (Fertig && Danach)
    Danach();
}
