#include "drawing/Wachstum.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <memory>

#include "drawing/Speicherung.h"
#include "gui/Bauteile.h"
#include "gui/Beschriftung.h"
#include "gui/Dialoge.h"
#include "gui/Eingabefeld.h"
#include "gui/Fensterplatz.h"
#include "gui/Klicks.h"
#include "gui/Modal.h"
#include "gui/Radiogruppe.h"
#include "gui/Schrift.h"
#include "helpers/Hilfen.h"
#include "pictures/BildLeinwand.h"
#include "pictures/Hintergrundzeichner.h"

namespace {

// The bar below the picture: the steps and the slider, the line shown and
// "Als Animation speichern", the settings.
constexpr int Leiste = 94;
constexpr int KleinsteBreite = 600;
constexpr int KleinstesBild = 100;
constexpr int Aufbautakt = 40;        // ms between two steps of the path played
constexpr int Schieberstufen = 1000;  // of the slider, for the lines of a path

// A whole number typed into a field, from Kleinste to Groesste, else the message.
int Zahl(const QString& Text, const char* Was, int Kleinste, int Groesste) {
  const std::string T = NachCp1252(Text);
  if (IstGanzzahl(T)) {
    const int32_t n = GanzzahlWert(T);
    if (n >= Kleinste && n <= Groesste) return n;
  }
  throw EFeldfehler(std::string(Was) + " außerhalb des zulässigen Bereichs von " +
                    std::to_string(Kleinste) + " bis " + std::to_string(Groesste));
}

// Slider and lines meet in products beyond 64 bits: p * L for any count L.
__extension__ using TBreit = unsigned __int128;

// The line that slider position p of S shows: ceil(p * L / S). Each step of
// the slider so reaches another line, and the last one L.
uint64_t LinieBei(int p, int S, uint64_t L) {
  if (S <= 0 || p <= 0) return 0;
  const auto s = static_cast<unsigned>(S);
  return static_cast<uint64_t>((static_cast<TBreit>(static_cast<unsigned>(p)) * L + s - 1) / s);
}

// Where the slider of S stands for line k of L: floor(k * S / L).
int StufeBei(uint64_t k, int S, uint64_t L) {
  if (L == 0 || S <= 0) return 0;
  return static_cast<int>(static_cast<TBreit>(k) * static_cast<unsigned>(S) / L);
}

}  // namespace

// ---------------------------------------------------------------- picture

void TBildflaeche::BildSetzen(const QImage& Bild, const TKopf& Neu) {
  Bildchen = Bild;
  Kopf = Neu;
  update();
}

void TBildflaeche::GrundSetzen(uint32_t Farbe) {
  Grund = Farbe;
  update();
}

void TBildflaeche::paintEvent(QPaintEvent*) {
  QPainter P(this);
  P.fillRect(rect(), TBildLeinwand::Farbwert(Grund));
  double Faktor = 1;
  if (!Bildchen.isNull() && !rect().contains(Bildchen.rect())) {
    Faktor = std::min(static_cast<double>(width()) / Bildchen.width(),
                      static_cast<double>(height()) / Bildchen.height());
    // Smoothed, so that thin lines stay in sight.
    P.setRenderHint(QPainter::SmoothPixmapTransform);
    P.drawImage(QRectF(0, 0, Bildchen.width() * Faktor, Bildchen.height() * Faktor), Bildchen);
  } else {
    P.drawImage(0, 0, Bildchen);
  }
  if (!Kopf.Da) return;
  // The turtle's symbol, as the drawing window shows it: an arrow head of 15
  // pixels, whatever the frame's scale.
  const double s = 15, h = Kopf.Richtung * 3.141592653589793 / 180;
  const double QX = std::sin(h) * s * 0.25, QY = std::cos(h) * s * 0.25;
  const QPointF O = Kopf.Ort * Faktor;
  const QPointF Spitze(O.x() + std::cos(h) * s, O.y() - std::sin(h) * s);
  const QPointF Punkte[] = {O, O + QPointF(QX, QY), Spitze, O - QPointF(QX, QY), O};
  P.setPen(QPen(Qt::black, 1));
  P.drawPolyline(Punkte, 5);
}

// ---------------------------------------------------------------- window

TWachstum::TWachstum(QSize G, QWidget* Eltern)
    : QWidget(Eltern, Qt::Window),
      Groesse(G),
      Zeichner(new THintergrundzeichner(this)),
      Export(new TSpeicherung(this)),
      Uhr(new QTimer(this)) {
  setObjectName(QStringLiteral("Wachstum"));
  setWindowTitle(QStringLiteral("Wachstum"));
  setFont(Schrift(10));
  setMinimumSize(KleinsteBreite, KleinstesBild + Leiste);
  resize(sizeHint().expandedTo(minimumSize()));
  Bildflaeche = new TBildflaeche(this);
  Bildflaeche->setObjectName(QStringLiteral("Bildflaeche"));

  RGArt = Gruppe(this, "RGArt", QStringLiteral("Zeigen"), QStringLiteral("Wachstum"),
                 QStringLiteral("Aufbau"), {0, 0, 98, 48},
                 QStringLiteral("Wachstum: die Tiefen nacheinander; Aufbau: die Linien einer "
                                "Tiefe in der Reihenfolge, in der die Turtle sie zeichnet"));
  BZurueck = Knopf(this, "BZurueck", QStringLiteral("◀"), {0, 0, 30, 24},
                   QStringLiteral("Einen Schritt zurück"));
  BAbspielen = Knopf(this, "BAbspielen", QStringLiteral("Abspielen"), {0, 0, 84, 24},
                     QStringLiteral("Abspielen oder anhalten"));
  BVor = Knopf(this, "BVor", QStringLiteral("▶"), {0, 0, 30, 24},
               QStringLiteral("Einen Schritt weiter"));
  SLStand = new QSlider(Qt::Horizontal, this);
  SLStand->setObjectName(QStringLiteral("SLStand"));
  SLStand->setToolTip(QStringLiteral("Tiefe oder Linie, die gezeigt wird"));
  LStand = Beschriftung(this, "LStand", QString(), {});
  CBFesthalten = new QCheckBox(QStringLiteral("Maßstab der tiefsten Stufe"), this);
  CBFesthalten->setObjectName(QStringLiteral("CBFesthalten"));
  CBFesthalten->resize(190, 22);
  CBFesthalten->setToolTip(QStringLiteral(
      "Alle Tiefen mit der Schrittweite der tiefsten zeichnen, damit die Pflanze wächst, statt "
      "jedes Mal neu eingepasst zu werden"));
  LTempo = Beschriftung(this, "LTempo", QStringLiteral("Linien/s"), {});
  ETempo = Feld(this, "ETempo", {0, 0, 56, 22},
                QStringLiteral("Wie viele Linien je Sekunde der Aufbau zeichnet"));
  LBildzeit = Beschriftung(this, "LBildzeit", QStringLiteral("Bildzeit ms"), {});
  EBildzeit = Feld(this, "EBildzeit", {0, 0, 52, 22},
                   QStringLiteral("Wie lange jedes Bild der Animation gezeigt wird, 10 bis 60000"));
  LBilder = Beschriftung(this, "LBilder", QStringLiteral("Bilder"), {});
  EBilder = Feld(this, "EBilder", {0, 0, 52, 22},
                 QStringLiteral("Aus wie vielen Bildern die gespeicherte Animation des Aufbaus "
                                "besteht, 1 bis 10000"));
  BSpeichern = Knopf(this, "BSpeichern", QStringLiteral("Als Animation speichern"), {0, 0, 160, 24},
                     QStringLiteral("Als animiertes PNG speichern"));
  Anordnen();
  ETempo->setText(QString::number(Tempo));
  EBildzeit->setText(QString::number(Bildzeit));
  EBilder->setText(QString::number(Bilder));
  RGArt->ItemIndexSetzen(0);
  Tabfolge({RGArt, BZurueck, BAbspielen, BVor, SLStand, CBFesthalten, ETempo, EBildzeit, EBilder,
            BSpeichern});

  Uhr->setSingleShot(true);
  connect(Uhr, &QTimer::timeout, this, &TWachstum::Weiterspielen);
  connect(Zeichner, &THintergrundzeichner::Bild, this, &TWachstum::BildGekommen);
  connect(RGArt, &TRadioGruppe::Geklickt, this, &TWachstum::RGArtClick);
  connect(BZurueck, &QPushButton::clicked, this, &TWachstum::BZurueckClick);
  connect(BAbspielen, &QPushButton::clicked, this, &TWachstum::BAbspielenClick);
  connect(BVor, &QPushButton::clicked, this, &TWachstum::BVorClick);
  connect(SLStand, &QSlider::valueChanged, this, &TWachstum::SLStandMoved);
  connect(CBFesthalten, &QCheckBox::clicked, this, &TWachstum::CBFesthaltenClick);
  connect(ETempo, &TEingabefeld::Verlassen, this, &TWachstum::ETempoExit);
  connect(EBildzeit, &TEingabefeld::Verlassen, this, &TWachstum::EBildzeitExit);
  connect(EBilder, &TEingabefeld::Verlassen, this, &TWachstum::EBilderExit);
  connect(BSpeichern, &QPushButton::clicked, this, &TWachstum::BSpeichernClick);
  KlicksBewahren(this);
  BeschriftungenEinpassen(this);
}

TWachstum::~TWachstum() = default;

void TWachstum::RezeptSetzen(const TLauf& Neu) {
  Anhalten();
  R = Neu;
  R.Einstellungen.Schrittmodus = false;
  Bildflaeche->GrundSetzen(Hintergrundfarbe(R.Einstellungen));
  R.Ausschnitt.reset();
  Linien = Linienzahl(R);
  Festschritt = std::make_shared<std::optional<double>>();
  RGArtClick(RGArt->ItemIndex());
}

bool TWachstum::Aufbau() const { return RGArt->ItemIndex() == 1; }

uint64_t TWachstum::Ende() const {
  return Aufbau() ? Linien : static_cast<uint64_t>(std::max(R.Tiefe, 0));
}

int TWachstum::Stufen() const {
  return static_cast<int>(std::min<uint64_t>(Ende(), Aufbau() ? Schieberstufen : INT32_MAX));
}

bool TWachstum::Spielt() const { return BAbspielen->text() == QLatin1String("Pause"); }

void TWachstum::RGArtClick(int) {
  Anhalten();
  CBFesthalten->setEnabled(!Aufbau());
  ETempo->setEnabled(Aufbau());
  EBilder->setEnabled(Aufbau());
  {
    const QSignalBlocker Sperre(SLStand);
    SLStand->setRange(0, Stufen());
  }
  // The path starts empty, the growth with the axiom.
  Vollstaendig = false;
  StandSetzen(0);
}

void TWachstum::StandSetzen(uint64_t Neu) {
  Neu = std::min(Neu, Ende());
  if (Neu == Stelle && Vollstaendig) return;
  Stelle = Neu;
  {
    const QSignalBlocker Sperre(SLStand);
    SLStand->setValue(StufeBei(Stelle, Stufen(), Ende()));
  }
  Beschriften();
  Zeichnen();
}

void TWachstum::Beschriften() {
  LStand->setText(Aufbau() ? QStringLiteral("Linie %1 von %2").arg(Stelle).arg(Ende())
                           : QStringLiteral("Tiefe %1 von %2").arg(Stelle).arg(Ende()));
  LStand->adjustSize();
}

void TWachstum::Zeichnen() {
  Vollstaendig = false;
  if (!isVisible()) return;
  if (ModalOffen()) {
    NachModal(this, [this] { Zeichnen(); });
    return;
  }
  Bildbeginn.start();
  const TLauf Z = R;
  const int64_t Bis = Stelle;
  const bool Halten = CBFesthalten->isChecked();
  const auto Fest = Festschritt;
  auto Neuer = std::make_shared<TKopf>();
  if (Aufbau())
    Auftrag = Zeichner->Starten(Leer(), [Z, Bis, Neuer](TLeinwand& L, const auto& Weiter) {
      AufbauZeichnen(Z, static_cast<uint64_t>(Bis), L, Neuer.get(), Weiter);
    });
  else
    Auftrag = Zeichner->Starten(Leer(), [Z, Bis, Halten, Fest](TLeinwand& L, const auto& Weiter) {
      if (Halten && !*Fest) {
        *Fest = AngepassteSchrittweite(Z, [&](double) { return Weiter(0); });
        if (!*Fest) return;
      }
      WachstumsbildZeichnen(Z, static_cast<int32_t>(Bis), L, Halten ? **Fest : 0, Weiter);
    });
  KopfDesAuftrags = Neuer;
}

void TWachstum::BildGekommen(int Nummer, const QImage& Bild, double Wert, bool Zuletzt,
                             const QString&) {
  if (Nummer != Auftrag) return;
  Vollstaendig = Zuletzt && Wert >= 1.0;
  // The job has ended when its last picture comes: its head is all there.
  Bildflaeche->BildSetzen(Bild, Zuletzt && KopfDesAuftrags ? *KopfDesAuftrags : TKopf());
  // A deep frame takes some of its own time to draw: the next one follows a
  // frame time after this one began, or at once if it took longer.
  if (Zuletzt && Spielt())
    Uhr->start(static_cast<int>(
        std::max<qint64>(0, (Aufbau() ? Aufbautakt : Bildzeit) - Bildbeginn.elapsed())));
}

void TWachstum::Weiterspielen() {
  if (!Spielt()) return;
  if (Stelle >= Ende()) {
    Anhalten();
    return;
  }
  if (!Aufbau()) {
    StandSetzen(Stelle + 1);
    return;
  }
  // As many lines as the tempo gives for the time since the last frame.
  Anteil += Tempo * Aufbautakt / 1000.0;
  const auto Mehr = static_cast<uint64_t>(std::max(Anteil, 0.0));
  Anteil -= static_cast<double>(Mehr);
  StandSetzen(Stelle + std::min(Mehr, Ende() - Stelle));
  if (!Vollstaendig && Mehr == 0) Uhr->start(Aufbautakt);
}

void TWachstum::Anhalten() {
  Uhr->stop();
  BAbspielen->setText(QStringLiteral("Abspielen"));
  Anteil = 0;
}

void TWachstum::BZurueckClick() {
  Anhalten();
  StandSetzen(Stelle > 0 ? Stelle - 1 : 0);
}

void TWachstum::BVorClick() {
  Anhalten();
  StandSetzen(Stelle < Ende() ? Stelle + 1 : Stelle);
}

void TWachstum::BAbspielenClick() {
  if (Spielt()) {
    Anhalten();
    return;
  }
  BAbspielen->setText(QStringLiteral("Pause"));
  // At the end it plays from the start again.
  if (Stelle >= Ende()) StandSetzen(0);
  if (Vollstaendig) Uhr->start(Aufbau() ? Aufbautakt : Bildzeit);
}

void TWachstum::SLStandMoved(int Wert) {
  Anhalten();
  StandSetzen(LinieBei(Wert, Stufen(), Ende()));
}

void TWachstum::CBFesthaltenClick() { Zeichnen(); }

void TWachstum::ETempoExit() {
  FeldVerlassen(
      this, [&] { Tempo = Zahl(ETempo->text(), "Linien je Sekunde", 1, 1000000); },
      [&] { ETempo->setText(QString::number(Tempo)); });
}

void TWachstum::EBildzeitExit() {
  FeldVerlassen(
      this, [&] { Bildzeit = Zahl(EBildzeit->text(), "Bildzeit", 10, 60000); },
      [&] { EBildzeit->setText(QString::number(Bildzeit)); });
}

void TWachstum::EBilderExit() {
  FeldVerlassen(
      this, [&] { Bilder = Zahl(EBilder->text(), "Bilder", 1, 10000); },
      [&] { EBilder->setText(QString::number(Bilder)); });
}

void TWachstum::Speichern(const QString& Datei) {
  Anhalten();
  // The export draws what is chosen now, whatever the windows do meanwhile.
  const std::string Name = QFile::encodeName(Datei).toStdString();
  const TLauf Z = R;
  const int N = Bilder, Zeit = Bildzeit;
  const bool Halten = CBFesthalten->isChecked();
  if (Aufbau())
    Export->Starten(QStringLiteral("Die Animation wird gespeichert …"),
                    [Z, Name, N, Zeit](const auto& Weiter) {
                      return AufbauSchreiben(Z, Name, N, Zeit, Weiter);
                    });
  else
    Export->Starten(QStringLiteral("Die Animation wird gespeichert …"),
                    [Z, Name, Zeit, Halten](const auto& Weiter) {
                      return WachstumSchreiben(
                          Z, Name, Zeit, Halten ? TMassstab::Tiefste : TMassstab::JeTiefe, Weiter);
                    });
}

bool TWachstum::SpeichernLaeuft() const { return Export->Laeuft(); }

QImage TWachstum::Leer() const {
  return LeeresBild(Groesse.width(), Groesse.height(), R.Einstellungen);
}

void TWachstum::BSpeichernClick() {
  Behandeln(this, [&] {
    const QString Geladen = Regelsystemname ? Regelsystemname() : QString();
    QString Name =
        (Geladen.isEmpty() ? QStringLiteral("Zeichnung") : QFileInfo(Geladen).completeBaseName()) +
        (Aufbau() ? QStringLiteral("-aufbau.png") : QStringLiteral("-wachstum.png"));
    const std::unique_ptr<QFileDialog> Dialog(
        Dateidialog(this, QStringLiteral("Animation speichern"), QFileDialog::AcceptSave,
                    {QStringLiteral("Animiertes PNG (*.png)")}, QStringLiteral("png")));
    for (;;) {
      Dialog->selectFile(Name);
      if (DateidialogAusfuehren(Dialog.get()) != QDialog::Accepted ||
          Dialog->selectedFiles().isEmpty())
        return;
      const QString Datei = Dialog->selectedFiles().front();
      if (QFileInfo(Datei).suffix().toLower() == QLatin1String("png")) {
        Speichern(Datei);
        return;
      }
      // Another ending appended would name a file whose overwriting nobody confirmed.
      MeldungZeigen(QStringLiteral("„%1“ ist kein Name für eine Animation: sie wird als "
                                   "animiertes PNG (.png) gespeichert.")
                        .arg(QFileInfo(Datei).fileName()),
                    this);
      Name = QFileInfo(Datei).completeBaseName() + QStringLiteral(".png");
    }
  });
}

QSize TWachstum::sizeHint() const { return Groesse + QSize(0, Leiste); }

void TWachstum::setVisible(bool Sichtbar) {
  if (Sichtbar) AufBildschirmEinpassen(this, sizeHint());
  QWidget::setVisible(Sichtbar);
}

void TWachstum::Anordnen() {
  const int Oben = height() - Leiste + 4, Breite = width();
  Bildflaeche->setGeometry(0, 0, Breite, height() - Leiste);
  RGArt->move(8, Oben);
  BZurueck->move(114, Oben + 2);
  BAbspielen->move(148, Oben + 2);
  BVor->move(236, Oben + 2);
  SLStand->setGeometry(274, Oben + 4, Breite - 282, 20);
  // The line shown may have 20 digits twice: it has the row to itself.
  LStand->move(114, Oben + 34);
  BSpeichern->move(Breite - 168, Oben + 30);
  const int Unten = Oben + 62;
  CBFesthalten->move(8, Unten);
  LTempo->move(204, Unten + 3);
  ETempo->move(256, Unten);
  LBildzeit->move(320, Unten + 3);
  EBildzeit->move(388, Unten);
  LBilder->move(448, Unten + 3);
  EBilder->move(488, Unten);
}

void TWachstum::resizeEvent(QResizeEvent* E) {
  QWidget::resizeEvent(E);
  Anordnen();
}

void TWachstum::showEvent(QShowEvent* E) {
  QWidget::showEvent(E);
  if (!Vollstaendig) Zeichnen();
}

void TWachstum::hideEvent(QHideEvent* E) {
  QWidget::hideEvent(E);
  Anhalten();
  Zeichner->Anhalten();
  Vollstaendig = false;
}
