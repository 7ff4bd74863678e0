#include "gui/Dialoge.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include "gui/Anwendung.h"
#include "gui/Modal.h"
#include "gui/TestHilfen.h"

namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
  std::string Alle;
  for (int B = 0; B < 256; ++B) Alle.push_back(static_cast<char>(B));
  const QString Text = AusCp1252(Alle);
  ASSERT_EQ(Text.size(), 256);
  EXPECT_EQ(NachCp1252(Text), Alle);
}

TEST(Cp1252, MapsTheWindowsCharacters) {
  const struct {
    unsigned char Byte;
    char16_t Zeichen;
  } Faelle[] = {{0x41, u'A'},   {0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160}, {0x8D, 0x008D},
                {0x8F, 0x008F}, {0x90, 0x0090}, {0x96, 0x2013}, {0x9D, 0x009D}, {0x9F, 0x0178},
                {0xA0, 0x00A0}, {0xE4, 0x00E4}, {0xFF, 0x00FF}};
  for (const auto& F : Faelle) {
    const std::string Byte(1, static_cast<char>(F.Byte));
    EXPECT_EQ(AusCp1252(Byte), QString(QChar(F.Zeichen))) << int(F.Byte);
    EXPECT_EQ(NachCp1252(QString(QChar(F.Zeichen))), Byte) << int(F.Byte);
  }
  // Characters beyond the code page cannot be stored in a rule.
  EXPECT_EQ(NachCp1252(QStringLiteral("a\u0100\u0080b")), "a??b");
}

TEST(Fehlertext, FullStopOnlyAfterCharactersAboveIt) {
  const std::pair<QString, QString> Faelle[] = {
      {"Klammerfehler", "Klammerfehler."},
      {"Stringlaenge ist zu groß:  50001", "Stringlaenge ist zu groß:  50001."},
      {"Fertig.", "Fertig."},
      {"Warum?", "Warum?."},
      {"Ende!", "Ende!"},
      {"Klammer)", "Klammer)"},
      {"", ""},
  };
  for (const auto& [Meldung, Erwartet] : Faelle)
    EXPECT_EQ(FehlertextMitPunkt(Meldung), Erwartet) << Meldung.toStdString();
}

TEST(Meldungen, PlainBoxHasTitleTextAndOneOk) {
  TBoxInhalt Box;
  TAntworter A({TAntworter::Box(Box)});
  MeldungZeigen(std::string("Regelsystem nicht gespeichert."));
  EXPECT_EQ(Box.Anzahl, 1);
  EXPECT_EQ(Box.Titel, "Rankenwerk");
  EXPECT_EQ(Box.Text, "Regelsystem nicht gespeichert.");
  EXPECT_EQ(Box.Knoepfe, QStringList{"OK"});
  EXPECT_EQ(Box.Symbol, QMessageBox::NoIcon);
}

TEST(Meldungen, ConfirmationIsTrueOnlyForOk) {
  const std::pair<QString, bool> Faelle[] = {{"OK", true}, {"Abbrechen", false}, {"", false}};
  for (const auto& [Knopf, Erwartet] : Faelle) {
    TBoxInhalt Box;
    TAntworter A({TAntworter::Box(Box, Knopf)});
    EXPECT_EQ(Bestaetigen("Regel A->F  löschen?"), Erwartet) << Knopf.toStdString();
    EXPECT_EQ(Box.Titel, "Bestätigung");
    EXPECT_EQ(Box.Text, "Regel A->F  löschen?");
    EXPECT_EQ(Box.Symbol, QMessageBox::Question);
    EXPECT_EQ(Box.Knoepfe, (QStringList{"OK", "Abbrechen"}));
  }
}

TEST(Meldungen, EscapeInConfirmationCancels) {
  TAntworter A({TAntworter::Jeder([](QWidget* W) { QTest::keyClick(W, Qt::Key_Escape); })});
  EXPECT_FALSE(Bestaetigen("Übernehmen?"));
}

TEST(Meldungen, ErrorFromHandlerBodyIsReportedWithStopIcon) {
  TBoxInhalt Box;
  TAntworter A({TAntworter::Box(Box)});
  bool Weiter = false;
  Behandeln(nullptr, [&] {
    throw std::runtime_error("Klammerfehler");
    Weiter = true;
  });
  EXPECT_FALSE(Weiter);
  EXPECT_EQ(Box.Titel, "Rankenwerk");
  EXPECT_EQ(Box.Text, "Klammerfehler.");
  EXPECT_EQ(Box.Symbol, QMessageBox::Critical);
  EXPECT_EQ(Box.Knoepfe, QStringList{"OK"});
}

class TWerfer : public QObject {
 protected:
  bool event(QEvent* E) override {
    if (E->type() == QEvent::User) throw std::runtime_error("Gleitkommadivision durch Null");
    return QObject::event(E);
  }
};

TEST(Anwendung, ErrorEscapingAnEventIsReportedNotFatal) {
  TBoxInhalt Box;
  TAntworter A({TAntworter::Box(Box)});
  TWerfer Werfer;
  QEvent Ereignis(QEvent::User);
  EXPECT_FALSE(QApplication::sendEvent(&Werfer, &Ereignis));
  EXPECT_EQ(Box.Text, "Gleitkommadivision durch Null.");
  EXPECT_EQ(Box.Symbol, QMessageBox::Critical);
}

TEST(Anwendung, StartupFailureNamesClassAndMessage) {
  EXPECT_EQ(AnwendungsfehlerText(std::runtime_error("Klammerfehler")),
            "Ausnahme std::runtime_error: Klammerfehler.");
  TBoxInhalt Box;
  TAntworter A({TAntworter::Box(Box)});
  AnwendungsfehlerZeigen(std::invalid_argument("leer"));
  EXPECT_EQ(Box.Titel, "Anwendungsfehler");
  EXPECT_EQ(Box.Text, "Ausnahme std::invalid_argument: leer.");
}

// Work waiting for a modal dialog runs once the code that opened it goes on,
// not while events are handled between the dialog's closing and the return
// of its exec (there its caller has not yet acted on the answer); a dialog
// shown without exec wakes it as soon as it is gone.
TEST(NachModal, RunsOnlyAfterTheDialogsExecReturned) {
  for (const bool MitExec : {true, false}) {
    QDialog D;
    D.setModal(true);
    bool Gelaufen = false;
    bool ImExec = false;
    bool OffenImExec = false;
    auto Schliessen = [&] {
      NachModal(&D, [&] { Gelaufen = true; });
      D.accept();
      QCoreApplication::processEvents();
      ImExec = Gelaufen;
      OffenImExec = ModalOffen();
    };
    if (MitExec) {
      QTimer::singleShot(0, &D, Schliessen);
      D.exec();
      EXPECT_FALSE(ImExec);
      EXPECT_TRUE(OffenImExec);
      EXPECT_FALSE(ModalOffen());
    } else {
      D.show();
      Schliessen();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return Gelaufen; }, 2000)) << MitExec;
  }
}

}  // namespace
