// Message boxes as the whole program shows them, the general error report, and
// the lossless conversion between the model's 8-bit texts and Qt's strings.
#pragma once

#include <QString>
#include <exception>
#include <stdexcept>
#include <string>

class QFileDialog;
class QProgressDialog;
class QWidget;

// Application title, caption of plain message boxes and error reports.
inline const QString AnwendungsTitel = QStringLiteral("Rankenwerk");

// After a modal dialog of the program closed: makes the window of Eltern
// active again. A window manager does that itself; without one nobody does.
void FokusZurueckgeben(QWidget* Eltern);

// Runs a file dialog modally and gives its result. A completion list still open
// when the user pressed Return in the name field closes with the dialog;
// left on screen, it would swallow the next click in the program.
int DateidialogAusfuehren(QFileDialog* Dialog);

// Gives a file dialog icons and type texts that never read a file (see
// TDateisymbole in gui/Dateisymbole.h), owned by the dialog. Call it before
// the dialog lists a folder.
void DateisymboleSetzen(QFileDialog* Dialog);

// Makes Box the program's box for long work: titled "Rankenwerk",
// window-modal, shown after half a second. Whatever rejects the box stops the
// work as its "Abbrechen" does: the box's own Escape shortcut acts only while
// it is the active window, and an Escape that reaches it otherwise would only
// hide it and leave the work going with no way to stop it.
void FortschrittsboxEinrichten(QProgressDialog& Box);

// Shows Anteil (0 to 1) of the work done in Box, lets the windows' messages
// run, and tells whether to go on.
bool FortschrittMelden(QProgressDialog& Box, double Anteil);

// Plain message box: title "Rankenwerk", the text, one button "OK".
void MeldungZeigen(const QString& Text, QWidget* Eltern = nullptr);
void MeldungZeigen(const std::string& TextUtf8, QWidget* Eltern = nullptr);

// Confirmation box titled "Bestätigung" with a question icon, "OK" and
// "Abbrechen", centred on the screen; true only for "OK".
bool Bestaetigen(const QString& Text, QWidget* Eltern = nullptr);

// The general error report: stop icon, title "Rankenwerk", button "OK"; a full stop
// is appended when the message's last character has a higher code than ".".
QString FehlertextMitPunkt(const QString& Meldung);
void FehlerZeigen(const std::exception& Fehler, QWidget* Eltern = nullptr);

// Runs an event handler's body; an error ends the action and is reported, so
// that no exception ever crosses Qt's event loop.
template <class F>
void Behandeln(QWidget* Eltern, F&& Aktion) noexcept {
  try {
    Aktion();
  } catch (const std::exception& E) {
    FehlerZeigen(E, Eltern);
  } catch (...) {
    FehlerZeigen(std::runtime_error("Unbekannter Fehler"), Eltern);
  }
}

// Windows-1252 bytes <-> QString, losslessly for every byte 0x00-0xFF.
QString AusCp1252(const std::string& Bytes);
std::string NachCp1252(const QString& Text);
