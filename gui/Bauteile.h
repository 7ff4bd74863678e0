// How the windows make their controls: each named after its member, so that
// tests and the monkey find it, and placed in pixels within its parent.
#pragma once

#include <QFileDialog>
#include <QRect>
#include <QString>
#include <initializer_list>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;
class TEingabefeld;
class TRadioGruppe;

QPushButton* Knopf(QWidget* Eltern, const char* Name, const QString& Titel, QRect Ort,
                   const QString& Hinweis = {});
// A label sized to its text; with a buddy, its access key focuses that field.
QLabel* Beschriftung(QWidget* Eltern, const char* Name, const QString& Text, QPoint Ort,
                     QWidget* Buddy = nullptr);
TEingabefeld* Feld(QWidget* Eltern, const char* Name, QRect Ort, const QString& Hinweis = {});
// A bevel or panel: a frame of the given QFrame style.
QFrame* Rahmen(QWidget* Eltern, const char* Name, QRect Ort, int Stil);
TRadioGruppe* Gruppe(QWidget* Eltern, const char* Name, const QString& Titel, const QString& Item0,
                     const QString& Item1, QRect Ort, const QString& Hinweis);
TRadioGruppe* Gruppe(QWidget* Eltern, const char* Name, const QString& Titel,
                     const QStringList& Items, QRect Ort, const QString& Hinweis);

// The tab order of a window's controls, first to last; a radio group stands
// for its items.
void Tabfolge(std::initializer_list<QWidget*> Steuerelemente);

// A file dialog of the program: Qt's own, so that its texts follow the
// program's language, deciding the kind of a file by its name only.
QFileDialog* Dateidialog(QWidget* Eltern, const QString& Titel, QFileDialog::AcceptMode Modus,
                         const QStringList& Filter, const QString& Endung);
