#include "drawing/Bildspeichern.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <stdexcept>

#include "drawing/Speicherung.h"
#include "engine/Laufprotokoll.h"
#include "gui/Bauteile.h"
#include "gui/Dialoge.h"
#include "pictures/Animation.h"
#include "pictures/BildLeinwand.h"
#include "pictures/Bilddatei.h"
#include "turtle/SvgLeinwand.h"

namespace {

const QString PngFilter = QStringLiteral("PNG-Bild (*.png)");
const QString SvgFilter = QStringLiteral("SVG-Bild (*.svg)");

std::string Dateiname(const QString& Pfad) { return QFile::encodeName(Pfad).toStdString(); }

QString Endung(const QString& Datei) { return QFileInfo(Datei).suffix().toLower(); }

// The settings of the surface whose runs a picture shows: those of the last.
TEinstellungen Flaechenart(const std::vector<TProtokolllauf>& L) {
  return L.empty() ? TEinstellungen() : L.back().Lauf.Einstellungen;
}

// A blank picture of the surface, for the runs it is to show.
QImage Leer(QSize G, const std::vector<TProtokolllauf>& L) {
  return LeeresBild(G.width(), G.height(), Flaechenart(L));
}

}  // namespace

TBildspeicher::TBildspeicher(QWidget* Fenster, std::function<const QImage&()> Flaeche,
                             const TLaufprotokoll& Protokoll)
    : Fenster(Fenster),
      Flaeche(std::move(Flaeche)),
      Protokoll(Protokoll),
      Hintergrund(new TSpeicherung(Fenster)) {}

TBildspeicher::~TBildspeicher() = default;

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
  const std::string Name = Dateiname(Datei);
  const std::optional<TAnsicht> A = Ansicht ? Ansicht() : std::nullopt;
  const std::string Rezept = Rezepttext();
  const QSize G = Flaeche().size();
  if (Endung(Datei) == QLatin1String("svg")) {
    Format = QStringLiteral("SVG");
    Hintergrund->Starten(QStringLiteral("Die Zeichnung wird als SVG gespeichert …"),
                         [L = Laeufe("SVG"), A, Rezept, G, Name](const auto& Weiter) {
                           TSvgLeinwand Leinwand(G.width(), G.height(), Name);
                           Leinwand.MetadatenSetzen(Rezept);
                           FlaecheLeeren(Leinwand, Flaechenart(L));
                           if (!Wiedergeben(L, Leinwand, Weiter, A)) return false;
                           Leinwand.Abschliessen();
                           return true;
                         });
    return;
  }
  const QImage Fertig = !A ? Flaeche() : Fertigbild ? Fertigbild() : QImage();
  if (!Fertig.isNull()) {
    PngSpeichern(Fertig, Name, Rezept);
    return;
  }
  Format = QStringLiteral("PNG");
  Hintergrund->Starten(QStringLiteral("Die Ansicht wird gezeichnet …"),
                       [L = Laeufe("PNG"), A, Rezept, G, Name](const auto& Weiter) {
                         QImage Bild = Leer(G, L);
                         {
                           TBildLeinwand Leinwand(Bild);
                           if (!Wiedergeben(L, Leinwand, Weiter, A)) return false;
                         }
                         PngSpeichern(std::move(Bild), Name, Rezept);
                         return true;
                       });
}

void TBildspeicher::BildHolen(const std::function<void(const QImage&)>& Fertig) {
  const std::optional<TAnsicht> A = Ansicht ? Ansicht() : std::nullopt;
  const QImage Jetzt = !A ? Flaeche() : Fertigbild ? Fertigbild() : QImage();
  if (!Jetzt.isNull()) {
    Fertig(Jetzt);
    return;
  }
  auto Bild = std::make_shared<QImage>();
  Format = QStringLiteral("PNG");
  Hintergrund->Starten(
      QStringLiteral("Die Ansicht wird gezeichnet …"),
      [L = Laeufe("PNG"), A, G = Flaeche().size(), Bild](const auto& Weiter) {
        QImage Neu = Leer(G, L);
        {
          TBildLeinwand Leinwand(Neu);
          if (!Wiedergeben(L, Leinwand, Weiter, A)) return false;
        }
        *Bild = std::move(Neu);
        return true;
      },
      [Bild, Fertig] { Fertig(*Bild); });
}

std::vector<TProtokolllauf> TBildspeicher::Laeufe(const char* Was) const {
  std::vector<TProtokolllauf> L = Protokoll.Abschrift();
  const std::string Hindernis = Protokoll.Hindernis();
  if (Ansicht && Ansicht()) {
    // A view shows what can be drawn again exactly, and says what it leaves
    // out; with nothing left of what the surface shows, it would be blank.
    std::erase_if(L, [](const TProtokolllauf& Lauf) { return !Lauf.Hindernis.empty(); });
    if (!L.empty() || Hindernis.empty()) return L;
    throw std::runtime_error(std::string("Als ") + Was +
                             " lässt sich die Ansicht nicht speichern: " + Hindernis + ".");
  }
  if (!Hindernis.empty())
    throw std::runtime_error(std::string("Als ") + Was +
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

bool TBildspeicher::SpeichernLaeuft() const { return Hintergrund->Laeuft(); }

void TBildspeicher::Unterbrechen(const QString& Grund) {
  if (!Hintergrund->Laeuft()) return;
  // Stopped, the unfinished file is dropped and an older one stays.
  Hintergrund->Unterbrechen(QStringLiteral("Die Zeichnung wurde nicht als %1 gespeichert: %2.\r\n"
                                           "Eine ältere Datei dieses Namens bleibt, wie sie war.")
                                .arg(Format, Grund));
}
