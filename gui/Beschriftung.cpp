#include "gui/Beschriftung.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace {

constexpr int KleinsteSchrift = 7;
// A caption that touches the frame around it looks cut even when it is not.
constexpr int Luft = 1;

// Where a control draws its caption: the area it may use, the size the text
// needs there, and how the text is placed in the area.
struct TTextort {
  QString Text;
  QRect Bereich;
  QSize Bedarf;
  Qt::Alignment Ausrichtung = Qt::AlignLeft | Qt::AlignVCenter;
  bool Rand = false;  // the area lies inside a frame the text must not touch
};

QSize Textgroesse(const QWidget* W, const QString& Text, int Flags = Qt::TextShowMnemonic) {
  return W->fontMetrics().size(Flags, Text);
}

bool Knopfort(QPushButton* B, TTextort& Ort) {
  QStyleOptionButton Option;
  Option.initFrom(B);
  Option.text = B->text();
  Option.icon = B->icon();
  Option.iconSize = B->iconSize();
  if (B->isDefault()) Option.features |= QStyleOptionButton::DefaultButton;
  Ort.Text = B->text();
  Ort.Bereich = B->style()->subElementRect(QStyle::SE_PushButtonContents, &Option, B);
  Ort.Bedarf = Textgroesse(B, B->text());
  if (!B->icon().isNull()) Ort.Bedarf.rwidth() += B->iconSize().width() + 4;
  Ort.Ausrichtung = Qt::AlignCenter;
  Ort.Rand = true;
  return true;
}

bool Radioort(QRadioButton* R, TTextort& Ort) {
  QStyleOptionButton Option;
  Option.initFrom(R);
  Option.text = R->text();
  Ort.Text = R->text();
  Ort.Bereich = R->style()->subElementRect(QStyle::SE_RadioButtonContents, &Option, R);
  Ort.Bedarf = Textgroesse(R, R->text());
  return true;
}

bool Labelort(QLabel* L, TTextort& Ort) {
  if (L->text().isEmpty() || L->textFormat() == Qt::RichText) return false;
  Ort.Text = L->text();
  const int Einzug = std::max(L->indent(), 0) + L->margin();
  Ort.Bereich = L->contentsRect().adjusted(Einzug, L->margin(), -Einzug, -L->margin());
  Ort.Ausrichtung = L->alignment();
  const int Flags = L->buddy() ? Qt::TextShowMnemonic : 0;
  if (L->wordWrap()) {
    // Wrapped text may use the whole width; it must not need more lines than fit.
    const QRect Umbrochen = L->fontMetrics().boundingRect(QRect(0, 0, Ort.Bereich.width(), 1 << 20),
                                                          Flags | Qt::TextWordWrap, L->text());
    Ort.Bedarf = QSize(std::min(Umbrochen.width(), Ort.Bereich.width()), Umbrochen.height());
    // A single word wider than the label is cut all the same.
    for (const QString& Wort : L->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
      Ort.Bedarf.setWidth(std::max(Ort.Bedarf.width(), Textgroesse(L, Wort, Flags).width()));
  } else {
    Ort.Bedarf = Textgroesse(L, L->text(), Flags);
  }
  return true;
}

bool Gruppenort(QGroupBox* G, TTextort& Ort) {
  if (G->title().isEmpty()) return false;
  QStyleOptionGroupBox Option;
  Option.initFrom(G);
  Option.text = G->title();
  Option.lineWidth = 1;
  Option.midLineWidth = 0;
  Option.textAlignment = G->alignment();
  Option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  if (G->isFlat()) Option.features |= QStyleOptionFrame::Flat;
  Ort.Text = G->title();
  // The label's own rectangle is made for the text; the group must hold it.
  const QRect Titel =
      G->style()->subControlRect(QStyle::CC_GroupBox, &Option, QStyle::SC_GroupBoxLabel, G);
  Ort.Bedarf = Textgroesse(G, G->title());
  Ort.Bereich = Titel.intersected(G->rect().adjusted(Luft, 0, -Luft, 0));
  Ort.Bereich.setLeft(Titel.left());
  Ort.Bereich.setHeight(std::max(Titel.height(), Ort.Bedarf.height()));
  return true;
}

bool Textort(QWidget* W, TTextort& Ort) {
  if (auto* B = qobject_cast<QPushButton*>(W)) return Knopfort(B, Ort);
  if (auto* R = qobject_cast<QRadioButton*>(W)) return Radioort(R, Ort);
  if (auto* L = qobject_cast<QLabel*>(W)) return Labelort(L, Ort);
  if (auto* G = qobject_cast<QGroupBox*>(W)) return Gruppenort(G, Ort);
  return false;
}

// The part of W in which its children are seen whole: inside a frame.
QRect Innenbereich(const QWidget* W) {
  if (auto* G = qobject_cast<const QGroupBox*>(W)) {
    QStyleOptionGroupBox Option;
    Option.initFrom(G);
    Option.text = G->title();
    Option.lineWidth = 1;
    Option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    QRect Rahmen =
        G->style()->subControlRect(QStyle::CC_GroupBox, &Option, QStyle::SC_GroupBoxFrame, G);
    Rahmen.setTop(0);  // what lies above the frame's top line is seen beside the title
    return Rahmen.adjusted(Luft + 1, 0, -Luft - 1, -Luft - 1);
  }
  if (auto* F = qobject_cast<const QFrame*>(W)) return F->contentsRect();
  return W->rect();
}

int Ueberhang(const QRect& Innen, const QRect& Text) {
  return std::max({Innen.left() - Text.left(), Text.right() - Innen.right(),
                   Innen.top() - Text.top(), Text.bottom() - Innen.bottom(), 0});
}

// The text's rectangle: its full size, placed in the area as the control does.
QRect Platzieren(const QRect& Bereich, QSize Bedarf, Qt::Alignment Ausrichtung) {
  QRect T(QPoint(), Bedarf);
  if (Ausrichtung & Qt::AlignRight)
    T.moveRight(Bereich.right());
  else if (Ausrichtung & Qt::AlignHCenter)
    T.moveLeft(Bereich.left() + (Bereich.width() - Bedarf.width()) / 2);
  else
    T.moveLeft(Bereich.left());
  if (Ausrichtung & Qt::AlignBottom)
    T.moveBottom(Bereich.bottom());
  else if (Ausrichtung & Qt::AlignVCenter)
    T.moveTop(Bereich.top() + (Bereich.height() - Bedarf.height()) / 2);
  else
    T.moveTop(Bereich.top());
  return T;
}

// Where the caption of W is drawn, in W's coordinates, kept to W's height.
QRect Textrechteck(QWidget* W, const TTextort& Ort) {
  QRect Gezeichnet = Platzieren(Ort.Bereich, Ort.Bedarf, Ort.Ausrichtung);
  Gezeichnet.setTop(std::max(Gezeichnet.top(), 0));
  Gezeichnet.setBottom(std::min(Gezeichnet.bottom(), W->height() - 1));
  return Gezeichnet;
}

int Ueberstand(QWidget* W, QWidget* Fenster, QString& Text) {
  TTextort Ort;
  if (!Textort(W, Ort)) return 0;
  Text = Ort.Text;
  const int Luftbedarf = Ort.Rand ? 2 * Luft : 0;
  int Pixel = std::max(Ort.Bedarf.width() + Luftbedarf - Ort.Bereich.width(), 0);
  // Taller than its area matters only where lines of text are lost.
  if (auto* L = qobject_cast<QLabel*>(W); L && L->wordWrap())
    Pixel = std::max(Pixel, Ort.Bedarf.height() - Ort.Bereich.height());
  // Every parent must show the text whole, inside its frame.
  QRect Gezeichnet = Textrechteck(W, Ort);
  for (QWidget* Kind = W; Kind != Fenster && Kind->parentWidget(); Kind = Kind->parentWidget()) {
    Gezeichnet.translate(Kind->pos());
    Pixel = std::max(Pixel, Ueberhang(Innenbereich(Kind->parentWidget()), Gezeichnet));
  }
  return Pixel;
}

// The window's own controls; dialogs it owns are windows of their own.
QList<QWidget*> Steuerelemente(QWidget* Fenster) {
  QList<QWidget*> Eigene{Fenster};
  for (QWidget* W : Fenster->findChildren<QWidget*>())
    if (W->window() == Fenster) Eigene.append(W);
  return Eigene;
}

void Verkleinern(QWidget* W) {
  // Children that only inherit the font keep the size they have.
  for (QWidget* Kind : W->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!Kind->testAttribute(Qt::WA_SetFont)) Kind->setFont(Kind->font());
  QFont Kleiner = W->font();
  Kleiner.setPixelSize(Kleiner.pixelSize() - 1);
  W->setFont(Kleiner);
}

}  // namespace

QList<TUeberstand> Ueberstaende(QWidget* Fenster) {
  QList<TUeberstand> Liste;
  for (QWidget* W : Steuerelemente(Fenster)) {
    QString Text;
    if (const int Pixel = Ueberstand(W, Fenster, Text); Pixel > 0) Liste.append({W, Text, Pixel});
  }
  return Liste;
}

QList<TUeberstand> Ueberdeckungen(QWidget* Fenster) {
  QList<TUeberstand> Liste;
  const QList<QWidget*> Alle = Steuerelemente(Fenster);
  auto Gezeigt = [Fenster](QWidget* W) { return W == Fenster || W->isVisibleTo(Fenster); };
  // What lies beneath other controls by design.
  auto Unterlage = [](QWidget* W) {
    return W->isWindow() || W->metaObject() == &QFrame::staticMetaObject ||
           W->objectName() == QLatin1String("zeichenflaeche");
  };
  for (QWidget* W : Alle) {
    TTextort Ort;
    if (!Gezeigt(W) || W == Fenster || !Textort(W, Ort)) continue;
    const QRect Text(W->mapTo(Fenster, Textrechteck(W, Ort).topLeft()),
                     Textrechteck(W, Ort).size());
    for (QWidget* V : Alle) {
      if (V == W || !Gezeigt(V) || Unterlage(V) || V->isAncestorOf(W) || W->isAncestorOf(V))
        continue;
      const QRect Ueber = Text.intersected(QRect(V->mapTo(Fenster, QPoint()), V->size()));
      if (!Ueber.isEmpty()) Liste.append({W, Ort.Text, std::min(Ueber.width(), Ueber.height())});
    }
  }
  return Liste;
}

void BeschriftungenEinpassen(QWidget* Fenster) {
  for (QWidget* W : Steuerelemente(Fenster)) {
    QString Text;
    while (Ueberstand(W, Fenster, Text) > 0 && W->font().pixelSize() > KleinsteSchrift)
      Verkleinern(W);
  }
}
