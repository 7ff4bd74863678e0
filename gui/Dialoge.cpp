#include "gui/Dialoge.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Bytes 0x80-0x9F of Windows-1252; the five unassigned ones keep their own code.
constexpr std::array<char16_t, 32> Zeichen80bis9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ZeichenAlsByte(char16_t Z) {
  if (Z < 0x80 || (Z >= 0xA0 && Z <= 0xFF)) return static_cast<char>(Z);
  for (size_t i = 0; i < Zeichen80bis9F.size(); ++i)
    if (Zeichen80bis9F[i] == Z) return static_cast<char>(0x80 + i);
  return '?';
}

QMessageBox::Icon ohneSymbol = QMessageBox::NoIcon;

// The box all plain messages and error reports share: title, text, one "OK".
void EinfacheBox(const QString& Text, QMessageBox::Icon Symbol, QWidget* Eltern) {
  QMessageBox Box(Symbol, AnwendungsTitel, Text, QMessageBox::NoButton, Eltern);
  QPushButton* Ok = Box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  Box.setDefaultButton(Ok);
  Box.setEscapeButton(Ok);
  Box.exec();
  FokusZurueckgeben(Eltern);
}

}  // namespace

void FokusZurueckgeben(QWidget* Eltern) {
  if (Eltern && Eltern->window()->isVisible()) Eltern->window()->activateWindow();
}

int DateidialogAusfuehren(QFileDialog* Dialog) {
  const int Ergebnis = Dialog->exec();
  FokusZurueckgeben(Dialog->parentWidget());
  for (QCompleter* Ergaenzung : Dialog->findChildren<QCompleter*>())
    if (QAbstractItemView* Liste = Ergaenzung->popup(); Liste && Liste->isVisible()) Liste->hide();
  return Ergebnis;
}

QString AusCp1252(const std::string& Bytes) {
  QString Text;
  Text.reserve(static_cast<qsizetype>(Bytes.size()));
  for (char C : Bytes) {
    const auto B = static_cast<unsigned char>(C);
    Text.append(QChar(B >= 0x80 && B <= 0x9F ? Zeichen80bis9F[B - 0x80] : char16_t(B)));
  }
  return Text;
}

std::string NachCp1252(const QString& Text) {
  std::string Bytes;
  Bytes.reserve(static_cast<size_t>(Text.size()));
  for (QChar Z : Text) Bytes.push_back(ZeichenAlsByte(Z.unicode()));
  return Bytes;
}

void MeldungZeigen(const QString& Text, QWidget* Eltern) { EinfacheBox(Text, ohneSymbol, Eltern); }

void MeldungZeigen(const std::string& TextUtf8, QWidget* Eltern) {
  MeldungZeigen(QString::fromStdString(TextUtf8), Eltern);
}

bool Bestaetigen(const QString& Text, QWidget* Eltern) {
  QMessageBox Box(QMessageBox::Question, QStringLiteral("Bestätigung"), Text, QMessageBox::NoButton,
                  Eltern);
  QPushButton* Ok = Box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  QPushButton* Abbrechen = Box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
  Box.setDefaultButton(Ok);
  Box.setEscapeButton(Abbrechen);
  // Centred on the screen, not on the window; a moved dialog keeps its place.
  Box.adjustSize();
  if (QScreen* Schirm = Eltern ? Eltern->screen() : QGuiApplication::primaryScreen()) {
    QRect Rahmen = Box.frameGeometry();
    Rahmen.moveCenter(Schirm->availableGeometry().center());
    Box.move(Rahmen.topLeft());
  }
  Box.exec();
  FokusZurueckgeben(Eltern);
  return Box.clickedButton() == Ok;
}

void FortschrittsboxEinrichten(QProgressDialog& Box) {
  Box.setWindowTitle(AnwendungsTitel);
  Box.setWindowModality(Qt::WindowModal);
  Box.setMinimumDuration(500);
  QObject::connect(&Box, &QDialog::rejected, &Box, &QProgressDialog::cancel);
}

bool FortschrittMelden(QProgressDialog& Box, double Anteil) {
  // Once stopped, a new value would show the box again.
  if (Box.wasCanceled()) return false;
  Box.setValue(static_cast<int>(std::lround(std::clamp(Anteil, 0.0, 1.0) * Box.maximum())));
  QCoreApplication::processEvents();
  return !Box.wasCanceled();
}

QString FehlertextMitPunkt(const QString& Meldung) {
  if (!Meldung.isEmpty() && Meldung.back() > QLatin1Char('.')) return Meldung + QLatin1Char('.');
  return Meldung;
}

void FehlerZeigen(const std::exception& Fehler, QWidget* Eltern) {
  EinfacheBox(FehlertextMitPunkt(QString::fromUtf8(Fehler.what())), QMessageBox::Critical, Eltern);
}
