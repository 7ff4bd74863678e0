#include "drawing/Bildspeichern.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <stdexcept>

#include "drawing/Laufprotokoll.h"
#include "drawing/Zeichenflaeche.h"
#include "gui/Bauteile.h"
#include "gui/Dialoge.h"
#include "turtle/Bilddatei.h"
#include "turtle/SvgLeinwand.h"

namespace {

constexpr int FortschrittStufen = 1000;
const QString PngFilter = QStringLiteral("PNG-Bild (*.png)");
const QString SvgFilter = QStringLiteral("SVG-Bild (*.svg)");

std::string Dateiname(const QString& Pfad) { return QFile::encodeName(Pfad).toStdString(); }

QString Endung(const QString& Datei) { return QFileInfo(Datei).suffix().toLower(); }

}  // namespace

TBildspeicher::TBildspeicher(QWidget* Fenster, TZeichenflaeche& Flaeche,
                             const TLaufprotokoll& Protokoll)
    : Fenster(Fenster), Flaeche(Flaeche), Protokoll(Protokoll) {}

void TBildspeicher::Fragen() {
  Behandeln(Fenster, [&] {
    const QString Geladen = Regelsystemname ? Regelsystemname() : QString();
    QString Name =
        Geladen.isEmpty() ? QStringLiteral("Zeichnung") : QFileInfo(Geladen).completeBaseName();
    // Beside the rule system, unless that folder is not the user's to write in
    // (the installed examples).
    if (Ordner.isEmpty()) {
      const QString Dort = Geladen.isEmpty() ? QString() : QFileInfo(Geladen).absolutePath();
      Ordner = !Dort.isEmpty() && QFileInfo(Dort).isWritable() ? Dort : QDir::currentPath();
    }
    QFileDialog* Dialog =
        Dateidialog(Fenster, QStringLiteral("Zeichnung speichern"), QFileDialog::AcceptSave,
                    {PngFilter, SvgFilter}, QStringLiteral("png"));
    const std::unique_ptr<QFileDialog> Besitz(Dialog);
    Dialog->setDirectory(Ordner);
    QObject::connect(Dialog, &QFileDialog::filterSelected, Dialog, [Dialog](const QString& F) {
      Dialog->setDefaultSuffix(F == SvgFilter ? QStringLiteral("svg") : QStringLiteral("png"));
    });
    Name += QStringLiteral(".png");
    for (;;) {
      Dialog->selectFile(Name);
      if (DateidialogAusfuehren(Dialog) != QDialog::Accepted || Dialog->selectedFiles().isEmpty())
        return;
      const QString Datei = Dialog->selectedFiles().front();
      Ordner = QFileInfo(Datei).absolutePath();
      Dialog->setDirectory(Ordner);
      const QString E = Endung(Datei);
      if (E == QLatin1String("png") || E == QLatin1String("svg")) {
        Speichern(Datei);
        return;
      }
      // Another ending appended would name a file whose overwriting nobody confirmed.
      MeldungZeigen(QStringLiteral("„%1“ ist kein Name für ein Bild: Bilder werden als PNG (.png) "
                                   "oder SVG (.svg) gespeichert.")
                        .arg(QFileInfo(Datei).fileName()),
                    Fenster);
      Name = QFileInfo(Datei).completeBaseName() + QStringLiteral(".png");
    }
  });
}

void TBildspeicher::Speichern(const QString& Datei) {
  if (Endung(Datei) == QLatin1String("svg")) {
    SvgSchreiben(Datei);
    return;
  }
  const std::optional<TRezept> Rezept = Protokoll.LetztesRezept();
  PngSpeichern(Flaeche.Bitmap(), Dateiname(Datei), Rezept ? RezeptAlsText(*Rezept) : std::string());
}

void TBildspeicher::Unterbrechen(const QString& Grund) {
  if (Laeuft && Unterbrochen.isEmpty()) Unterbrochen = Grund;
}

void TBildspeicher::Beenden() { Ende = true; }

void TBildspeicher::SvgSchreiben(const QString& Datei) {
  const std::string Hindernis = Protokoll.Hindernis();
  if (!Hindernis.empty())
    throw std::runtime_error("Als SVG lässt sich die Zeichnung nicht speichern: " + Hindernis +
                             ".\r\nAls PNG kann sie gespeichert werden.");
  // The runs as they are now: what happens in the windows meanwhile is no
  // concern of the file.
  const std::vector<TProtokolllauf> Laeufe = Protokoll.Abschrift();
  const QImage& Bild = Flaeche.Bitmap();
  TSvgLeinwand Leinwand(Bild.width(), Bild.height(), Dateiname(Datei));
  if (!Laeufe.empty()) Leinwand.MetadatenSetzen(RezeptAlsText(Laeufe.back().Vollstaendig()));
  // Deep drawings take a while to write: with a bar, and a way out.
  QProgressDialog Fortschritt(QStringLiteral("Die Zeichnung wird als SVG gespeichert …"),
                              QStringLiteral("Abbrechen"), 0, FortschrittStufen, Fenster);
  Fortschritt.setWindowTitle(AnwendungsTitel);
  Fortschritt.setWindowModality(Qt::WindowModal);
  Fortschritt.setMinimumDuration(500);
  Laeuft = true;
  Unterbrochen.clear();
  struct TEnde {
    bool& Flag;
    ~TEnde() { Flag = false; }
  } Ende_{Laeuft};
  const bool Fertig = Wiedergeben(Laeufe, Leinwand, [&](double Anteil) {
    Fortschritt.setValue(static_cast<int>(Anteil * FortschrittStufen));
    QCoreApplication::processEvents();
    return !Fortschritt.wasCanceled() && Unterbrochen.isEmpty() && !Ende;
  });
  // Stopped, the unfinished file is dropped and an older one stays.
  if (!Fertig && !Unterbrochen.isEmpty())
    throw std::runtime_error(("Die Zeichnung wurde nicht als SVG gespeichert: " + Unterbrochen +
                              ".\r\nEine ältere Datei dieses Namens bleibt, wie sie war.")
                                 .toStdString());
  if (!Fertig) return;
  Leinwand.Abschliessen();
}
