#include "gui/Fensterplatz.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// The frame a window manager puts around the program's windows, as the first
// shown one has it: Eltern's window first.
QMargins Rahmen(QWidget* Eltern) {
  QList<QWidget*> Fenster = QApplication::topLevelWidgets();
  if (Eltern) Fenster.prepend(Eltern->window());
  for (QWidget* W : Fenster) {
    if (!W->isVisible()) continue;
    const QRect Aussen = W->frameGeometry(), Innen = W->geometry();
    const QMargins M(Innen.left() - Aussen.left(), Innen.top() - Aussen.top(),
                     Aussen.right() - Innen.right(), Aussen.bottom() - Innen.bottom());
    if (!M.isNull()) return M;
  }
  return {};
}

}  // namespace

void AufBildschirmEinpassen(QWidget* Fenster, QSize Wunsch) {
  const char* Merkmal = "Eingepasst";
  if (!Fenster->isWindow() || Fenster->property(Merkmal).toBool()) return;
  Fenster->setProperty(Merkmal, true);
  QWidget* Eltern = Fenster->parentWidget();
  QScreen* Schirm = Eltern ? Eltern->window()->screen() : Fenster->screen();
  if (!Schirm) Schirm = QApplication::primaryScreen();
  if (!Schirm) return;
  const QRect Frei = Schirm->availableGeometry();
  const QMargins M = Rahmen(Eltern);
  const QSize Platz = Frei.size().shrunkBy(M);
  const QSize Groesse = Wunsch.boundedTo(Platz).expandedTo(Fenster->minimumSize());
  Fenster->resize(Groesse);

  // Over the middle of its owner, else of the free area, then pushed onto it.
  const QRect Mitte =
      Eltern && Eltern->window()->isVisible() ? Eltern->window()->frameGeometry() : Frei;
  QRect Aussen(QPoint(), Groesse.grownBy(M));
  Aussen.moveCenter(Mitte.center());
  Aussen.moveLeft(
      std::max(Frei.left(), std::min(Aussen.left(), Frei.right() - Aussen.width() + 1)));
  Aussen.moveTop(std::max(Frei.top(), std::min(Aussen.top(), Frei.bottom() - Aussen.height() + 1)));
  Fenster->move(Aussen.topLeft());
}
