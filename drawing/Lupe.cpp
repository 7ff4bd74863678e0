#include "drawing/Lupe.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "drawing/Bildspeichern.h"
#include "gui/Bauteile.h"
#include "gui/Beschriftung.h"
#include "gui/Dialoge.h"
#include "gui/Fensterplatz.h"
#include "gui/Klicks.h"
#include "gui/Modal.h"
#include "gui/Schrift.h"
#include "pictures/Animation.h"
#include "pictures/BildLeinwand.h"
#include "pictures/Hintergrundzeichner.h"

namespace {

constexpr double RadFaktor = 1.5;   // per notch of the wheel
constexpr double TastenFaktor = 2;  // per "+" or "-"
// The bar below the view: the scale, then the pointer beside the buttons, then a note.
constexpr int Leiste = 78;
constexpr int KleinsteBreite = 700;  // the texts of the bar, as wide as they come at most
constexpr int KleinsteAnsicht = 120;

// As many decimals as the scale makes a surface pixel's parts visible.
QString Zahl(double Wert, double Massstab) {
  const int Stellen = std::clamp(static_cast<int>(std::ceil(std::log10(Massstab))) + 1, 1, 8);
  return QString::number(Wert, 'f', Stellen);
}

bool Gleich(const TAnsicht& A, const TAnsicht& B) {
  return A.X == B.X && A.Y == B.Y && A.Massstab == B.Massstab;
}

}  // namespace

// ---------------------------------------------------------------- view area

void TLupenflaeche::BildSetzen(const QImage& Bild, const TAnsicht& Fuer) {
  Bildchen = Bild;
  Gemacht = Fuer;
  update();
}

void TLupenflaeche::AnsichtSetzen(const TAnsicht& Neu) {
  Jetzt = Neu;
  update();
}

void TLupenflaeche::GrundSetzen(uint32_t Farbe) {
  Grund = Farbe;
  update();
}

void TLupenflaeche::paintEvent(QPaintEvent*) {
  QPainter P(this);
  P.fillRect(rect(), TBildLeinwand::Farbwert(Grund));
  if (Bildchen.isNull()) return;
  if (Gleich(Gemacht, Jetzt)) {
    P.drawImage(0, 0, Bildchen);
    return;
  }
  // The picture of an earlier view, moved and scaled to the view now, until
  // the view's own picture comes; far off in scale it says nothing.
  const double Faktor = Jetzt.Massstab / Gemacht.Massstab;
  if (Faktor > 64 || Faktor < 1.0 / 64) return;
  P.setRenderHint(QPainter::SmoothPixmapTransform, false);
  P.translate((Gemacht.X - Jetzt.X) * Jetzt.Massstab, (Gemacht.Y - Jetzt.Y) * Jetzt.Massstab);
  P.scale(Faktor, Faktor);
  P.drawImage(0, 0, Bildchen);
}

void TLupenflaeche::wheelEvent(QWheelEvent* E) {
  const double Schritte = E->angleDelta().y() / 120.0;
  if (Schritte == 0) {
    E->ignore();
    return;
  }
  E->accept();
  emit Rad(E->position(), Schritte);
}

void TLupenflaeche::mousePressEvent(QMouseEvent* E) {
  if (E->button() != Qt::LeftButton) return;
  Gezogen = true;
  Letzter = E->position();
  setCursor(Qt::ClosedHandCursor);
}

void TLupenflaeche::mouseMoveEvent(QMouseEvent* E) {
  emit Zeiger(E->position());
  if (!Gezogen) return;
  const QPointF Um = E->position() - Letzter;
  Letzter = E->position();
  if (!Um.isNull()) emit Ziehen(Um);
}

void TLupenflaeche::mouseReleaseEvent(QMouseEvent* E) {
  if (E->button() != Qt::LeftButton) return;
  Gezogen = false;
  unsetCursor();
}

void TLupenflaeche::leaveEvent(QEvent*) { emit Verlassen(); }

// ---------------------------------------------------------------- window

TLupe::TLupe(std::function<const QImage&()> Flaeche_, const TLaufprotokoll& Protokoll,
             QWidget* Eltern)
    : QWidget(Eltern, Qt::Window),
      Flaeche(std::move(Flaeche_)),
      Protokoll(Protokoll),
      Zeichner(new THintergrundzeichner(this)),
      Speicher(std::make_unique<TBildspeicher>(this, Flaeche, Protokoll)) {
  setObjectName(QStringLiteral("Lupe"));
  setWindowTitle(QStringLiteral("Lupe"));
  setFont(Schrift(10));
  setMinimumSize(KleinsteBreite, KleinsteAnsicht + Leiste);
  resize(sizeHint().expandedTo(minimumSize()));

  Ansichtsflaeche = new TLupenflaeche(this);
  Ansichtsflaeche->setObjectName(QStringLiteral("Ansichtsflaeche"));
  Ansichtsflaeche->setMouseTracking(true);
  Ansichtsflaeche->setToolTip(
      QStringLiteral("Mausrad: vergrößern und verkleinern um den Zeiger, Ziehen: verschieben, "
                     "Tasten + - 0 und Pfeile, Esc hält eine lange Zeichnung an"));
  LMassstab = Beschriftung(this, "LMassstab", QString(), {});
  LZeiger = Beschriftung(this, "LZeiger", QString(), {});
  LHinweis = Beschriftung(this, "LHinweis", QString(), {});
  BBildSpeichern = Knopf(this, "BBildSpeichern", QStringLiteral("Bild speichern"), {0, 0, 110, 26},
                         QStringLiteral("Ansicht als PNG- oder SVG-Datei speichern"));
  BZwischenablage =
      Knopf(this, "BZwischenablage", QStringLiteral("In Zwischenablage"), {0, 0, 112, 26},
            QStringLiteral("Ansicht in die Zwischenablage kopieren"));
  BGanzeFlaeche =
      Knopf(this, "BGanzeFlaeche", QStringLiteral("Ganze Fläche"), {0, 0, 112, 26},
            QStringLiteral("Die ganze Zeichenfläche in natürlicher Größe zeigen (Taste 0)"));
  Anordnen();
  for (QPushButton* B : {BBildSpeichern, BZwischenablage, BGanzeFlaeche})
    B->setFocusPolicy(Qt::TabFocus);
  Tabfolge({BGanzeFlaeche, BZwischenablage, BBildSpeichern});
  setFocusPolicy(Qt::StrongFocus);

  Speicher->Ansicht = [this] { return std::optional<TAnsicht>(Sicht); };
  // What a saved picture holds: the surface's size from the view's corner.
  Speicher->Fertigbild = [this] {
    const QRect Flaechenrect(QPoint(), Flaeche().size());
    const QImage& B = Ansichtsflaeche->Bild();
    return Fertig() && QRect(QPoint(), B.size()).contains(Flaechenrect) ? B.copy(Flaechenrect)
                                                                        : QImage();
  };
  Speicher->Regelsystemname = [this] { return Regelsystemname ? Regelsystemname() : QString(); };

  connect(Zeichner, &THintergrundzeichner::Bild, this, &TLupe::BildGekommen);
  connect(Ansichtsflaeche, &TLupenflaeche::Rad, this,
          [this](QPointF Ort, double Schritte) { Zoomen(std::pow(RadFaktor, Schritte), Ort); });
  connect(Ansichtsflaeche, &TLupenflaeche::Ziehen, this, [this](QPointF Um) {
    AnsichtSetzen(
        {Sicht.X - Um.x() / Sicht.Massstab, Sicht.Y - Um.y() / Sicht.Massstab, Sicht.Massstab});
  });
  connect(Ansichtsflaeche, &TLupenflaeche::Zeiger, this, [this](QPointF Ort) {
    LZeiger->setText(QStringLiteral("Zeiger: x %1, y %2")
                         .arg(Zahl(Sicht.X + Ort.x() / Sicht.Massstab, Sicht.Massstab),
                              Zahl(Sicht.Y + Ort.y() / Sicht.Massstab, Sicht.Massstab)));
    LZeiger->adjustSize();
  });
  connect(Ansichtsflaeche, &TLupenflaeche::Verlassen, LZeiger, &QLabel::clear);
  connect(BGanzeFlaeche, &QPushButton::clicked, this, &TLupe::BGanzeFlaecheClick);
  connect(BZwischenablage, &QPushButton::clicked, this, &TLupe::BZwischenablageClick);
  connect(BBildSpeichern, &QPushButton::clicked, this, &TLupe::BBildSpeichernClick);
  KlicksBewahren(this);
  BeschriftungenEinpassen(this);
  Beschriften();
}

TLupe::~TLupe() = default;

void TLupe::AnsichtSetzen(const TAnsicht& Neu) {
  TAnsicht A = Neu;
  A.Massstab = std::clamp(A.Massstab, KleinsterMassstab, GroessterMassstab);
  A.X = std::clamp(A.X, -GroessteAnsichtsentfernung, GroessteAnsichtsentfernung);
  A.Y = std::clamp(A.Y, -GroessteAnsichtsentfernung, GroessteAnsichtsentfernung);
  if (Gleich(A, Sicht) && Vollstaendig) return;
  Sicht = A;
  Ansichtsflaeche->AnsichtSetzen(Sicht);
  Beschriften();
  Neuzeichnen();
}

void TLupe::Zoomen(double Faktor, QPointF Ort) {
  const double Neu = std::clamp(Sicht.Massstab * Faktor, KleinsterMassstab, GroessterMassstab);
  // The surface point under Ort stays under it.
  const double X = Sicht.X + Ort.x() / Sicht.Massstab, Y = Sicht.Y + Ort.y() / Sicht.Massstab;
  AnsichtSetzen({X - Ort.x() / Neu, Y - Ort.y() / Neu, Neu});
}

void TLupe::UmPunkt(QPointF Punkt, double Massstab) {
  const QSize G = Flaeche().size(), V = Ansichtsflaeche->size();
  const double S = std::clamp(Massstab, KleinsterMassstab, GroessterMassstab);
  const double X = Punkt.x() * V.width() / std::max(G.width(), 1);
  const double Y = Punkt.y() * V.height() / std::max(G.height(), 1);
  AnsichtSetzen({Punkt.x() - X / S, Punkt.y() - Y / S, S});
}

void TLupe::GanzeFlaeche() { AnsichtSetzen({0, 0, 1}); }

void TLupe::LaeufeGeaendert() {
  Vollstaendig = false;
  Neuzeichnen();
}

bool TLupe::Fertig() const { return Vollstaendig && !Geplant && !Zeichner->Beschaeftigt(); }

void TLupe::Neuzeichnen() {
  Vollstaendig = false;
  if (Geplant) return;
  Geplant = true;
  // Gathers the changes of one burst of events into one drawing.
  QTimer::singleShot(0, this, [this] {
    Geplant = false;
    Zeichnen();
  });
}

void TLupe::Zeichnen() {
  if (!isVisible()) return;  // shown again, it draws then
  if (ModalOffen()) {
    NachModal(this, [this] { Zeichnen(); });
    return;
  }
  std::vector<TProtokolllauf> Laeufe = Protokoll.Abschrift();
  const size_t Alle = Laeufe.size();
  std::erase_if(Laeufe, [](const TProtokolllauf& L) { return !L.Hindernis.empty(); });
  QString Hinweis;
  if (Laeufe.size() < Alle || (Alle == 0 && !Protokoll.Hindernis().empty())) {
    const std::string Grund = Protokoll.Hindernis();
    Hinweis = Alle == 0 ? QStringLiteral("Nicht zu zeigen: ") + QString::fromStdString(Grund)
                        : QStringLiteral(
                              "Ein Lauf lässt sich nicht genau wiederholen und fehlt "
                              "hier: ") +
                              QString::fromStdString(Grund);
  } else if (Protokoll.Laeuft()) {
    Hinweis = QStringLiteral("Ein Lauf zeichnet noch; er erscheint hier, wenn er fertig ist.");
  } else if (Alle == 0) {
    Hinweis = QStringLiteral(
        "Auf der Zeichenfläche ist seit dem letzten „Löschen“ nichts "
        "gezeichnet.");
  }
  LHinweis->setText(Hinweis);
  LHinweis->adjustSize();
  Gezeichnet = Sicht;
  const TAnsicht A = Sicht;
  const QSize G = Ansichtsflaeche->size();
  const TEinstellungen E = Laeufe.empty() ? TEinstellungen() : Laeufe.back().Lauf.Einstellungen;
  Ansichtsflaeche->GrundSetzen(Hintergrundfarbe(E));
  QImage Leer = LeeresBild(G.width(), G.height(), E);
  Auftrag = Zeichner->Starten(
      std::move(Leer), [Laeufe = std::move(Laeufe), A](TLeinwand& Leinwand, const auto& Weiter) {
        Wiedergeben(Laeufe, Leinwand, Weiter, A);
      });
}

void TLupe::BildGekommen(int Nummer, const QImage& Bild, double Anteil, bool Zuletzt,
                         const QString&) {
  if (Nummer != Auftrag) return;
  Ansichtsflaeche->BildSetzen(Bild, Gezeichnet);
  Vollstaendig = Zuletzt && Anteil >= 1.0;
  Beschriften();
  if (Zuletzt && Anteil < 1.0) {
    LHinweis->setText(
        QStringLiteral("Angehalten: die Ansicht ist unvollständig. Jede neue Ansicht zeichnet "
                       "von vorn."));
    LHinweis->adjustSize();
  }
}

void TLupe::Beschriften() {
  const double S = Sicht.Massstab;
  const QSize G = Ansichtsflaeche->size();
  const QString Massstab = S >= 1 ? QStringLiteral("Maßstab %1 : 1").arg(S, 0, 'g', 7)
                                  : QStringLiteral("Maßstab 1 : %1").arg(1 / S, 0, 'g', 7);
  QString Text = Massstab + QStringLiteral("    Ausschnitt x %1 bis %2, y %3 bis %4")
                                .arg(Zahl(Sicht.X, S), Zahl(Sicht.X + G.width() / S, S),
                                     Zahl(Sicht.Y, S), Zahl(Sicht.Y + G.height() / S, S));
  if (Zeichner->Beschaeftigt()) Text += QStringLiteral("    … wird gezeichnet");
  LMassstab->setText(Text);
  LMassstab->adjustSize();
}

void TLupe::BildSpeichern(const QString& Datei) { Speicher->Speichern(Datei); }

bool TLupe::SpeichernLaeuft() const { return Speicher->SpeichernLaeuft(); }

void TLupe::BGanzeFlaecheClick() { GanzeFlaeche(); }

void TLupe::BZwischenablageClick() {
  Behandeln(this, [&] {
    Speicher->BildHolen([](const QImage& Bild) { QApplication::clipboard()->setImage(Bild); });
  });
}

QSize TLupe::sizeHint() const { return Flaeche().size() + QSize(0, Leiste); }

void TLupe::setVisible(bool Sichtbar) {
  if (Sichtbar) AufBildschirmEinpassen(this, sizeHint());
  QWidget::setVisible(Sichtbar);
}

void TLupe::Anordnen() {
  const int Unten = height() - Leiste, Oben = Unten + 6, Rechts = width() - 8;
  const QSize Vorher = Ansichtsflaeche->size();
  Ansichtsflaeche->setGeometry(0, 0, width(), Unten);
  LMassstab->move(8, Oben);
  LZeiger->move(8, Oben + 25);
  LHinweis->move(8, Oben + 52);
  BBildSpeichern->move(Rechts - 110, Oben + 20);
  BZwischenablage->move(Rechts - 228, Oben + 20);
  BGanzeFlaeche->move(Rechts - 346, Oben + 20);
  if (Ansichtsflaeche->size() == Vorher) return;
  // Another view area shows another rectangle.
  Beschriften();
  Neuzeichnen();
}

void TLupe::resizeEvent(QResizeEvent* E) {
  QWidget::resizeEvent(E);
  Anordnen();
}

void TLupe::BBildSpeichernClick() { Speicher->Fragen(); }

void TLupe::keyPressEvent(QKeyEvent* E) {
  const QPointF Mitte(Ansichtsflaeche->width() / 2.0, Ansichtsflaeche->height() / 2.0);
  const double Schritt = Ansichtsflaeche->width() / 10.0 / Sicht.Massstab;
  switch (E->key()) {
    case Qt::Key_Plus:
      Zoomen(TastenFaktor, Mitte);
      break;
    case Qt::Key_Minus:
      Zoomen(1 / TastenFaktor, Mitte);
      break;
    case Qt::Key_0:
      GanzeFlaeche();
      break;
    case Qt::Key_Left:
      AnsichtSetzen({Sicht.X - Schritt, Sicht.Y, Sicht.Massstab});
      break;
    case Qt::Key_Right:
      AnsichtSetzen({Sicht.X + Schritt, Sicht.Y, Sicht.Massstab});
      break;
    case Qt::Key_Up:
      AnsichtSetzen({Sicht.X, Sicht.Y - Schritt, Sicht.Massstab});
      break;
    case Qt::Key_Down:
      AnsichtSetzen({Sicht.X, Sicht.Y + Schritt, Sicht.Massstab});
      break;
    case Qt::Key_Escape:
      Zeichner->Anhalten();
      break;
    default:
      QWidget::keyPressEvent(E);
      return;
  }
  E->accept();
}

void TLupe::showEvent(QShowEvent* E) {
  QWidget::showEvent(E);
  if (!Vollstaendig) Neuzeichnen();
}

void TLupe::hideEvent(QHideEvent* E) {
  QWidget::hideEvent(E);
  // Nothing is drawn for a window nobody sees.
  Zeichner->Anhalten();
  Vollstaendig = false;
}
