#include "drawing/Bildspeichern.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <stdexcept>

#include "engine/Laufprotokoll.h"
#include "gui/Bauteile.h"
#include "gui/Dialoge.h"
#include "pictures/BildLeinwand.h"
#include "pictures/Bilddatei.h"
#include "turtle/SvgLeinwand.h"

namespace {

constexpr int FortschrittStufen = 1000;
const QString PngFilter = QStringLiteral("PNG-Bild (*.png)");
const QString SvgFilter = QStringLiteral("SVG-Bild (*.svg)");

std::string Dateiname(const QString& Pfad) { return QFile::encodeName(Pfad).toStdString(); }

QString Endung(const QString& Datei) { return QFileInfo(Datei).suffix().toLower(); }

}  // namespace

TBildspeicher::TBildspeicher(QWidget* Fenster, std::function<const QImage&()> Flaeche,
                             const TLaufprotokoll& Protokoll)
    : Fenster(Fenster), Flaeche(std::move(Flaeche)), Protokoll(Protokoll) {}

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
    const std::vector<TProtokolllauf> L = Laeufe("SVG");
    const QImage& F = Flaeche();
    TSvgLeinwand Leinwand(F.width(), F.height(), Dateiname(Datei));
    Leinwand.MetadatenSetzen(Rezepttext());
    if (!Wiedergabe(L, Leinwand, QStringLiteral("Die Zeichnung wird als SVG gespeichert …"))) {
      Unterbrochen_("SVG");
      return;
    }
    Leinwand.Abschliessen();
    return;
  }
  const QImage B = Bild();
  if (B.isNull()) {
    Unterbrochen_("PNG");
    return;
  }
  PngSpeichern(B, Dateiname(Datei), Rezepttext());
}

QImage TBildspeicher::Bild() {
  const std::optional<TAnsicht> A = Ansicht ? Ansicht() : std::nullopt;
  if (!A) return Flaeche();
  QImage Bild(Flaeche().size(), QImage::Format_RGB32);
  Bild.fill(Qt::white);
  TBildLeinwand Leinwand(Bild);
  const bool Fertig =
      Wiedergabe(Laeufe("PNG"), Leinwand, QStringLiteral("Die Ansicht wird gezeichnet …"));
  Leinwand.Ausgeben();
  return Fertig ? Bild : QImage();
}

std::vector<TProtokolllauf> TBildspeicher::Laeufe(const char* Format) const {
  std::vector<TProtokolllauf> L = Protokoll.Abschrift();
  if (Ansicht && Ansicht()) {
    // A view shows what can be drawn again exactly, and says what it leaves out.
    std::erase_if(L, [](const TProtokolllauf& Lauf) { return !Lauf.Hindernis.empty(); });
    return L;
  }
  const std::string Hindernis = Protokoll.Hindernis();
  if (!Hindernis.empty())
    throw std::runtime_error(std::string("Als ") + Format +
                             " lässt sich die Zeichnung nicht speichern: " + Hindernis +
                             ".\r\nAls PNG kann sie gespeichert werden.");
  return L;
}

std::string TBildspeicher::Rezepttext() const {
  std::optional<TLauf> Rezept = Protokoll.LetzterLauf();
  if (!Rezept) return {};
  if (const std::optional<TAnsicht> A = Ansicht ? Ansicht() : std::nullopt) {
    // The rectangle of the recipe's surface the view shows, at its scale.
    Rezept->Ausschnitt =
        TRechteck{A->X, A->Y, Rezept->Breite / A->Massstab, Rezept->Hoehe / A->Massstab};
  }
  return RezeptAlsText(*Rezept);
}

void TBildspeicher::Unterbrechen(const QString& Grund) {
  if (Laeuft && Unterbrochen.isEmpty()) Unterbrochen = Grund;
}

void TBildspeicher::Beenden() { Ende = true; }

void TBildspeicher::Unterbrochen_(const char* Was) {
  // Stopped, the unfinished file is dropped and an older one stays.
  if (Unterbrochen.isEmpty()) return;
  throw std::runtime_error(std::string("Die Zeichnung wurde nicht als ") + Was +
                           " gespeichert: " + Unterbrochen.toStdString() +
                           ".\r\nEine ältere Datei dieses Namens bleibt, wie sie war.");
}

bool TBildspeicher::Wiedergabe(const std::vector<TProtokolllauf>& L, TLeinwand& Leinwand,
                               const QString& Text) {
  // Deep drawings take a while: with a bar, and a way out.
  QProgressDialog Fortschritt(Text, QStringLiteral("Abbrechen"), 0, FortschrittStufen, Fenster);
  FortschrittsboxEinrichten(Fortschritt);
  Laeuft = true;
  Unterbrochen.clear();
  struct TEnde {
    bool& Flag;
    ~TEnde() { Flag = false; }
  } Ende_{Laeuft};
  const std::optional<TAnsicht> A = Ansicht ? Ansicht() : std::nullopt;
  return Wiedergeben(
      L, Leinwand,
      [&](double Anteil) {
        return FortschrittMelden(Fortschritt, Anteil) && Unterbrochen.isEmpty() && !Ende;
      },
      A);
}
