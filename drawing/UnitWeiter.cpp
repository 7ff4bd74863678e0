#include "drawing/UnitWeiter.h"

#include <QEvent>
#include <QPushButton>
#include <QStyle>

#include "gui/Beschriftung.h"
#include "gui/Klicks.h"
#include "gui/Schrift.h"

TWeiterBox* WeiterBox = nullptr;

namespace {

// The prompt's sizes are those of a 120 dpi screen; they shrink with the resolution.
int Skaliert(const QWidget* W, int Pixel) { return qRound(Pixel * W->logicalDpiY() / 120.0); }

}  // namespace

TWeiterBox::TWeiterBox(QWidget* Eltern)
    : TModalerDialog(Eltern, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("WeiterBox"));
  setWindowTitle(QStringLiteral("Weiter..."));
  setFont(Schrift(Skaliert(this, 13)));
  setFixedSize(Skaliert(this, 241), Skaliert(this, 47));
  move(Skaliert(this, 428), Skaliert(this, 297));

  OKBitBtn =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  OKBitBtn->setObjectName(QStringLiteral("OKBitBtn"));
  OKBitBtn->setFont(Schrift(Skaliert(this, 20)));
  OKBitBtn->setGeometry(0, Skaliert(this, 8), Skaliert(this, 121), Skaliert(this, 33));
  OKBitBtn->setDefault(true);

  QIcon Abbruchsymbol = style()->standardIcon(QStyle::SP_DialogAbortButton);
  if (Abbruchsymbol.isNull()) Abbruchsymbol = style()->standardIcon(QStyle::SP_BrowserStop);
  AbbruchBitBtn = new QPushButton(Abbruchsymbol, QStringLiteral("Abbruch"), this);
  AbbruchBitBtn->setObjectName(QStringLiteral("AbbruchBitBtn"));
  AbbruchBitBtn->setGeometry(Skaliert(this, 120), Skaliert(this, 8), Skaliert(this, 121),
                             Skaliert(this, 33));
  setTabOrder(OKBitBtn, AbbruchBitBtn);

  connect(OKBitBtn, &QPushButton::clicked, this, [this] { done(ErgebnisOk); });
  connect(AbbruchBitBtn, &QPushButton::clicked, this, [this] { done(ErgebnisAbbruch); });
  KlicksBewahren(this);
  BeschriftungenEinpassen(this);
}

bool TWeiterBox::event(QEvent* E) {
  // Shown modally, the prompt is always activated by this program.
  if (E->type() == QEvent::WindowActivate || E->type() == QEvent::Show) FormActivate();
  return TModalerDialog::event(E);
}

void TWeiterBox::FormActivate() { OKBitBtn->setFocus(Qt::ActiveWindowFocusReason); }
