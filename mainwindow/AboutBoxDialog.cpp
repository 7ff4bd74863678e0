#include "mainwindow/AboutBoxDialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <memory>

#include "gui/Beschriftung.h"
#include "gui/Dialoge.h"
#include "gui/Schrift.h"
#include "mainwindow/Baumbilder.h"

TAboutBox* AboutBox = nullptr;

namespace {

QLabel* Beschriftung(const QString& Text, QWidget* Eltern, int X, int Y) {
  auto* L = new QLabel(Text, Eltern);
  L->move(X, Y);
  L->adjustSize();
  return L;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* Eltern)
    : QDialog(Eltern, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("Produkt-Information"));
  setFont(Schrift(11));
  setFixedSize(401, 299);

  auto* Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setLineWidth(2);
  Panel1->setGeometry(8, 8, 389, 253);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setGeometry(8, 8, 155, 162);
  ProgramIcon->setScaledContents(true);
  ProgramIcon->setPixmap(QPixmap::fromImage(IllustrationsBild()));

  ProductName = Beschriftung(QStringLiteral("Rankenwerk"), Panel1, 172, 29);
  ProductName->setObjectName(QStringLiteral("ProductName"));
  ProductName->setFont(Schrift(19));
  ProductName->setStyleSheet(QStringLiteral("color: black"));
  ProductName->adjustSize();

  Version = Beschriftung(QStringLiteral("Version 4.0"), Panel1, 309, 72);
  Version->setObjectName(QStringLiteral("Version"));

  Herstellerzeile = new QLabel(QStringLiteral("© Rankenwerk-Team"), Panel1);
  Herstellerzeile->setObjectName(QStringLiteral("Herstellerzeile"));
  Herstellerzeile->setFont(Schrift(16));
  Herstellerzeile->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Herstellerzeile->setGeometry(31, 184, 332, 20);

  Comments = new QLabel(
      QStringLiteral("Immer noch mit einigen Fehlern bei der Darstellung der Turtle"), Panel1);
  Comments->setObjectName(QStringLiteral("Comments"));
  Comments->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Comments->setWordWrap(true);
  Comments->setGeometry(34, 221, 285, 28);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(157, 265, 75, 24);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  if (QScreen* Schirm = QGuiApplication::primaryScreen()) {
    QRect Rahmen(QPoint(), size());
    Rahmen.moveCenter(Schirm->availableGeometry().center());
    move(Rahmen.topLeft());
  }
  BeschriftungenEinpassen(this);
}

void TAboutBox::keyPressEvent(QKeyEvent* Ereignis) {
  if (Ereignis->key() == Qt::Key_Escape) {
    Ereignis->ignore();
    return;
  }
  QDialog::keyPressEvent(Ereignis);
}

bool ProduktInfoZeigen(TAboutBox*& Box) {
  std::unique_ptr<TAboutBox> Eigen(Box);
  Box = nullptr;
  if (Eigen->ProductName->text().isEmpty()) Eigen->ProductName->setText(AnwendungsTitel);
  return Eigen->exec() == QDialog::Accepted;
}
