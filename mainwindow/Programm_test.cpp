#include "mainwindow/Programm.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "gui/Modal.h"
#include "mainwindow/AboutBoxDialog.h"
#include "mainwindow/FensterTest.h"

namespace {

using ProgrammTest = HauptfensterTest;

// Closes the main window once it is shown, ending the program's event loop.
void HauptfensterSchliessen(bool& Gezeigt) {
  QTimer::singleShot(20, qApp, [&Gezeigt] {
    Gezeigt = Form1 && Form1->isVisible() && !AboutBox;
    if (Form1) Form1->close();
  });
}

TEST_F(ProgrammTest, AboutBoxComesFirstThenTheMainWindow) {
  QString Titel, Name, Kommentar;
  bool HauptfensterSchon = true, OffenNachEsc = false, Gezeigt = false;
  bool ModalNochOffen = true, Gewartet = false;
  ModalBeantworten([&](QWidget* W) {
    HauptfensterSchliessen(Gezeigt);
    // In the main loop the about box is gone for good: work waiting for
    // dialogs (live redraws, the magnifier) runs.
    QTimer::singleShot(5, qApp, [&] {
      ModalNochOffen = ModalOffen();
      NachModal(qApp, [&] { Gewartet = true; });
    });
    auto* Box = qobject_cast<TAboutBox*>(W);
    if (!Box) {
      ADD_FAILURE() << "no about box";
      W->close();
      return;
    }
    HauptfensterSchon = Form1 != nullptr;
    Titel = Box->windowTitle();
    Name = Box->ProductName->text();
    Kommentar = Box->Comments->text();
    QTest::keyClick(Box, Qt::Key_Escape);
    OffenNachEsc = Box->isVisible();
    Box->OKButton->click();
  });
  EXPECT_EQ(Programmstart({}), 0);
  EXPECT_FALSE(HauptfensterSchon);
  EXPECT_TRUE(OffenNachEsc);
  EXPECT_TRUE(Gezeigt);
  EXPECT_FALSE(ModalNochOffen);
  EXPECT_TRUE(Gewartet);
  EXPECT_EQ(Titel, "Produkt-Information");
  EXPECT_EQ(Name, "Rankenwerk");
  EXPECT_EQ(Kommentar, "Immer noch mit einigen Fehlern bei der Darstellung der Turtle");
  EXPECT_EQ(AboutBox, nullptr);
}

TEST_F(ProgrammTest, AboutBoxResultTellsHowItWasClosed) {
  for (const bool MitOk : {true, false}) {
    auto* Box = new TAboutBox;
    QPointer<TAboutBox> Beobachter(Box);
    ModalBeantworten([MitOk](QWidget* W) {
      if (auto* B = qobject_cast<TAboutBox*>(W); B && MitOk)
        B->OKButton->click();
      else
        W->close();
    });
    EXPECT_EQ(ProduktInfoZeigen(Box), MitOk);
    EXPECT_EQ(Box, nullptr);
    EXPECT_TRUE(Beobachter.isNull());
  }
}

TEST_F(ProgrammTest, ClosingAboutBoxThroughTitleBarGoesOn) {
  bool Gezeigt = false;
  int Weitere = 0;
  ModalBeantworten([&](QWidget* W) {
    W->close();
    HauptfensterSchliessen(Gezeigt);
  });
  EXPECT_EQ(Programmstart({}, [&](TForm1& F) { Weitere += F.LBRegeln->count(); }), 0);
  EXPECT_TRUE(Gezeigt);
  EXPECT_EQ(Weitere, 3);
}

TEST_F(ProgrammTest, BrokenStartFileEndsWithExitCodeOne) {
  Schreiben("Start.LSY", "A\r\n30\r\n30\r\nA->F]\r\n");
  TBoxInhalt Box;
  ModalBeantworten([&](QWidget* W) {
    BoxBeantworten(Box);
    W->close();
  });
  bool Weitere = false;
  EXPECT_EQ(Programmstart({}, [&](TForm1&) { Weitere = true; }), 1);
  EXPECT_FALSE(Weitere);
  EXPECT_EQ(Box.Titel, "Anwendungsfehler");
  EXPECT_EQ(Box.Text, "Ausnahme std::runtime_error: Klammerfehler.");
  EXPECT_EQ(Box.Symbol, QMessageBox::Critical);
}

}  // namespace
