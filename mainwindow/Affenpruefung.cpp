#include "mainwindow/Affenpruefung.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "drawing/Extras.h"
#include "drawing/Gestaltung.h"
#include "drawing/LSystemZeichnen.h"
#include "engine/Rezeptfelder.h"
#include "gui/Dialoge.h"
#include "gui/Eingabefeld.h"
#include "gui/Modal.h"
#include "gui/Radiogruppe.h"
#include "helpers/Hilfen.h"
#include "helpers/TestHilfen.h"
#include "mainwindow/Affenhand.h"
#include "mainwindow/LsystemHauptfenster.h"
#include "turtle/turtleUnit.h"

namespace {

QString Text(const std::string& Bytes) { return AusCp1252(Bytes); }
std::string Bytes(const QString& Text) { return NachCp1252(Text); }
QString Zeile(const TRegel& R) { return Text(TRegelsystem::RegelAlsText(R)); }

std::string Inhalt(const QString& Datei) { return Lesen(Datei.toStdString()); }

bool HatFokus(QWidget* Feld) { return Feld->window()->focusWidget() == Feld; }

TLauf AlsLauf(const TEinstellungen& W) {
  TLauf R;
  R.Einstellungen = W;
  return R;
}

// A value of the field table as a text that shows every bit of it.
QString Feldwert(const TRezeptfeld& F, TLauf R) {
  if (F.Zahl) return QString::number(F.Zahl(R), 'g', 17);
  if (F.Wort) return QString::number(F.Wort(R));
  if (F.Ganz) return QString::number(F.Ganz(R));
  return {};
}

// Whether E shows the value of row F in R: as Soll, or, where an accepted
// entry keeps its text (Lesbar), as any text that reads as that value.
bool Zeigt(const QLineEdit* E, const QString& Soll, const TRezeptfeld& F, const TLauf& R,
           bool Lesbar) {
  if (E->text() == Soll || !Lesbar) return E->text() == Soll;
  try {
    TLauf Gelesen = R;
    FeldEingeben(F, Gelesen, Bytes(E->text()));
    return Feldwert(F, Gelesen) == Feldwert(F, R);
  } catch (const std::exception&) {
    return false;
  }
}

// The number fields of the two windows: the row of the field table whose
// value each shows, with how many decimals, and whether an accepted entry
// keeps its text (the main window's angles do).
struct TZahlfeld {
  QLineEdit* Feld;
  const char* Schluessel;
  int Stellen;
  bool Lesbar = false;
};

}  // namespace

void TAffenpruefung::NichtsOffen(const char* Wann) {
  if (QWidget* M = QApplication::activeModalWidget(); M && M->isVisible())
    Verletzt(QStringLiteral("%1 ist %2 noch offen").arg(Name(M), Wann));
  else if (QWidget* P = QApplication::activePopupWidget())
    Verletzt(QStringLiteral("Popup %1 ist %2 noch offen").arg(Name(P), Wann));
  else if (ModalOffen())
    // Live redraws and the magnifier's views would wait for it for good.
    Verletzt(
        QStringLiteral("ein Dialog gilt %1 noch als offen, obwohl keiner zu sehen ist").arg(Wann));
  else
    for (QWidget* W : QApplication::topLevelWidgets())
      if (W->isVisible() && !IstArbeitsfenster(W) && !W->inherits("QTipLabel") &&
          !Hintergrundbox(W)) {
        Verletzt(QStringLiteral("Fenster %1 ist %2 noch offen").arg(Name(W), Wann));
        break;
      }
}

void TAffenpruefung::Pruefen() {
  NichtsOffen("nach dem Abwarten");
  for (QWidget* F : Programmfenster())
    if (!Stopp) NamenPruefen(F);
  if (Stopp) return;
  // A click that is over leaves no button pressed. An access key shows its
  // button pressed for 100 ms before it clicks it, by a timer that may come
  // as late as any other.
  const auto Gedrueckt = [] {
    for (QWidget* F : Arbeitsfenster())
      for (QAbstractButton* B : F->findChildren<QAbstractButton*>())
        if (B->window() == F && B->isVisible() && B->isDown()) return B;
    return static_cast<QAbstractButton*>(nullptr);
  };
  const auto Anfang = std::chrono::steady_clock::now();
  while (Gedrueckt() && Millisekunden(Anfang) < 100 + GrenzeMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  if (QAbstractButton* B = Gedrueckt()) {
    Verletzt(QStringLiteral("%1 bleibt gedrückt").arg(Name(B)));
    return;
  }
  RegelnPruefen();
  if (!Stopp) FelderPruefen();
  if (!Stopp) ZeichenfensterPruefen();
  if (!Stopp) EinstellungenPruefen();
  if (!Stopp) BilderPruefen();
  if (!Stopp) AblagePruefen();
  if (Form1->GeladeneDatei != Geladen) {
    Geladen = Form1->GeladeneDatei;
    const QString Endung = QFileInfo(Geladen).suffix().toLower();
    if (Endung == QLatin1String("png") || Endung == QLatin1String("svg"))
      Vermerken("Bilder geladen");
  }
}

void TAffenpruefung::NamenPruefen(QWidget* F) {
  if (!Benannt(F)) {
    Verletzt(QStringLiteral("ein Fenster ohne Namen ist offen: %1 '%2'")
                 .arg(QString::fromLatin1(F->metaObject()->className()), F->windowTitle()));
    return;
  }
  QStringList Unbenannt;
  Steuerelemente(F, true, &Unbenannt);
  if (!Unbenannt.isEmpty())
    Verletzt(QStringLiteral("Steuerelemente ohne Namen: ") + Unbenannt.join(", "));
}

void TAffenpruefung::RegelnPruefen() {
  TForm1* H = Form1;
  const TRegelsystem& R = H->Regelsystem;
  if (H->LBRegeln->count() != R.Count()) {
    Verletzt(Satz("LBRegeln hat %1 Einträge, das Regelsystem %2 Regeln", H->LBRegeln->count(),
                  R.Count()));
    return;
  }
  for (int i = 0; i < R.Count(); ++i) {
    const TRegel& Regel = R.Items(i);
    std::string Meldung, Rumpf;
    char Kopf = 0;
    if (!TRegelsystem::RegelZerlegen(TRegelsystem::RegelAlsText(Regel), Meldung, Rumpf, Kopf) ||
        Kopf != Regel.Kopf || Rumpf != Regel.Rumpf) {
      Verletzt(QStringLiteral("Regel %1 '%2' ist ungültig").arg(i).arg(Zeile(Regel)));
      return;
    }
    const QString Eintrag = H->LBRegeln->item(i)->text();
    if (!TRegelsystem::RegelZerlegen(Bytes(Eintrag), Meldung, Rumpf, Kopf) || Kopf != Regel.Kopf ||
        Rumpf != Regel.Rumpf) {
      Verletzt(Satz("Eintrag %1 '%2' passt nicht zur Regel '%3'", i, Eintrag, Zeile(Regel)));
      return;
    }
  }
  if (R.Count() > 0 && H->LBRegeln->currentRow() < 0)
    Verletzt(QStringLiteral("in LBRegeln ist kein Eintrag ausgewählt"));
}

// A field that was left shows its value in force.
void TAffenpruefung::Feld(QLineEdit* E, bool Stimmt, const QString& Soll) {
  if (Stopp || HatFokus(E) || Stimmt) return;
  Verletzt(QStringLiteral("%1 zeigt '%2', in Kraft ist %3").arg(Name(E), E->text(), Soll));
}

void TAffenpruefung::FelderPruefen() {
  TForm1* H = Form1;
  TFZeichenform* Z = FZeichenform;
  const TRegelsystem& R = H->Regelsystem;
  Feld(H->EAxiom, Bytes(H->EAxiom->text()) == R.Axiom, Text(R.Axiom));
  const std::string T = Bytes(H->ETiefeString->text());
  Feld(H->ETiefeString, IstGanzzahl(T) && GanzzahlWert(T) == R.Tiefe, QString::number(R.Tiefe));
  // The rule field holds the selected rule, unless its prompt let it keep a text.
  const int i = H->LBRegeln->currentRow();
  const QString Eintrag = i >= 0 ? H->LBRegeln->item(i)->text() : QString();
  if (H->ERegel->text() == Eintrag) ERegelFrei = false;
  if (!ERegelFrei) Feld(H->ERegel, H->ERegel->text() == Eintrag, "'" + Eintrag + "'");
  // The window's run takes its angles from the rule system when it becomes
  // active: the main window's fields show the rule system's own.
  TLauf InKraft = Z->Vorgaben();
  InKraft.Schrittweite = Z->Maschine().Schrittweite();
  InKraft.WinkelPlus = R.WinkelPlus;
  InKraft.WinkelMinus = R.WinkelMinus;
  const TZahlfeld Felder[] = {
      {H->EPlus, "WinkelPlus", 2, true},
      {H->EMinus, "WinkelMinus", 2, true},
      {Z->ETiefe, "Tiefe", 0},
      {Z->ESchrittweite, "Schrittweite", 3},
      {Z->Ex, "StartX", 1},
      {Z->Ey, "StartY", 1},
      {Z->EWinkel, "Startwinkel", 1},
  };
  for (const TZahlfeld& F : Felder) {
    const TRezeptfeld& Zeile = *FeldZuSchluessel(F.Schluessel);
    const QString Soll = Zeile.Ganz ? QString::number(Zeile.Ganz(InKraft))
                                    : Text(KommazahlAlsText(F.Stellen, Zeile.Zahl(InKraft)));
    Feld(F.Feld, Zeigt(F.Feld, Soll, Zeile, InKraft, F.Lesbar), Feldwert(Zeile, InKraft));
  }
}

void TAffenpruefung::ZeichenfensterPruefen() {
  TFZeichenform* Z = FZeichenform;
  // All dialogs are answered now: nothing can be under way.
  // (A picture may still be written in the background, beside the windows.)
  if (Z->ZeichnungLaeuft()) {
    Verletzt(QStringLiteral("ohne offenen Dialog läuft noch eine Zeichnung"));
    return;
  }
  for (QWidget* W :
       std::initializer_list<QWidget*>{Z->BAbbrechen, Z->PBFortschritt, Z->EZeichen, Z->EString})
    if (!W->isHidden()) {
      Verletzt(QStringLiteral("%1 ist ohne Zeichnung sichtbar").arg(Name(W)));
      return;
    }
}

// The radio groups show the settings in force, and the extra settings'
// working values are those in force while the dialog is closed.
void TAffenpruefung::EinstellungenPruefen() {
  const auto Zeigt = [this](const TRadioGruppe* Gruppe, int Soll) {
    if (Gruppe->ItemIndex() == Soll) return true;
    Verletzt(Satz("%1 zeigt Punkt %2, in Kraft ist der für '%3'", Name(Gruppe), Gruppe->ItemIndex(),
                  Gruppe->Items[static_cast<size_t>(Soll)]->text()));
    return false;
  };
  for (const TGruppenwert& G : Gruppenwerte())
    if (!Zeigt(FZeichenform->*G.Gruppe, G.Eins(*FZeichenform) ? 1 : 0)) return;
  if (const TGestaltung* Fenster = FZeichenform->Gestaltung())
    for (const TGestaltungsgruppe& G : Gestaltungsgruppen())
      if (!Zeigt(Fenster->*G.Gruppe, G.Punkt(Einstellungen))) return;
  if (ExtraEinstellungen->isVisible()) return;
  const TLauf Arbeit = AlsLauf(ExtraWerte), InKraft = AlsLauf(Einstellungen);
  for (const TExtrawert& W : Extrawerte()) {
    const TRezeptfeld& F = *FeldZuSchluessel(W.Schluessel);
    // The seed in force moves on with every run; the dialog takes it when it opens.
    if (std::string(F.Schluessel) == "Zufallszustand") continue;
    if (Feldwert(F, Arbeit) != Feldwert(F, InKraft)) {
      Verletzt(
          QStringLiteral("Extra-Wert %1 ist %2, in Kraft ist %3")
              .arg(QString::fromLatin1(F.Schluessel), Feldwert(F, Arbeit), Feldwert(F, InKraft)));
      return;
    }
  }
}

void TAffenpruefung::DialogGeoeffnet(QWidget* D) { ExtrafelderPruefen(D, Einstellungen, true); }

void TAffenpruefung::DialogPruefen(QWidget* D) { ExtrafelderPruefen(D, ExtraWerte, false); }

// The extra settings' fields show W as the dialog shows it: exactly when it
// opens, later also as an accepted entry that keeps its text (a refused one
// shows the value again).
void TAffenpruefung::ExtrafelderPruefen(QWidget* D, const TEinstellungen& W, bool Geoeffnet) {
  if (D != ExtraEinstellungen || !D->isActiveWindow()) return;
  const TLauf R = AlsLauf(W);
  for (const TExtrawert& X : Extrawerte()) {
    if (!X.Feld) continue;
    QLineEdit* E = ExtraEinstellungen->*X.Feld;
    const TRezeptfeld& F = *FeldZuSchluessel(X.Schluessel);
    const QString Soll = Extraanzeige(F, W);
    if (Geoeffnet && E->text() != Soll) {
      Verletzt(QStringLiteral("%1 zeigt beim Öffnen '%2', in Kraft ist %3")
                   .arg(Name(E), E->text(), Soll));
      return;
    }
    if (!Geoeffnet) Feld(E, Zeigt(E, Soll, F, R, true), Feldwert(F, R));
    if (Stopp) return;
  }
}

// A centred run would move the start again, but none runs with it off.
void TAffenpruefung::StartPruefen(QPoint Ort) {
  const TLauf& V = FZeichenform->Vorgaben();
  if (Einstellungen.Zentriert || (V.StartX == Ort.x() && V.StartY == Ort.y())) return;
  Verletzt(Satz("ein Klick auf die Zeichenfläche bei %1,%2 setzt den Start auf %3/%4", Ort.x(),
                Ort.y(), V.StartX, V.StartY));
}

// ---------------------------------------------------------------- saved pictures

void TAffenpruefung::BildGewaehlt(QFileDialog* D, const QString& Datei) {
  if (!IstBilddialog(D) || !FZeichenform || D->parentWidget() != FZeichenform ||
      QFileInfo(Datei).suffix().toLower() != QLatin1String("png"))
    return;
  BilderPruefen();
  Bildproben.push_back({Datei, Inhalt(Datei), FZeichenform->zeichenflaeche->Bitmap().copy()});
}

// A PNG written since must show the surface exactly; one whose saving
// failed is left as it was.
void TAffenpruefung::BilderPruefen() {
  for (const TBildprobe& P : Bildproben) {
    if (Stopp) break;
    if (!QFileInfo::exists(P.Datei) || Inhalt(P.Datei) == P.Vorher) continue;
    Vermerken("PNG verglichen");
    const QImage Gelesen(P.Datei);
    if (Gelesen.isNull()) {
      Verletzt(QStringLiteral("das gespeicherte Bild %1 lässt sich nicht lesen").arg(P.Datei));
      break;
    }
    const QImage A = Gelesen.convertToFormat(QImage::Format_RGB32);
    const QImage B = P.Flaeche.convertToFormat(QImage::Format_RGB32);
    if (A == B) continue;
    // Coming back from the file dialog activates the drawing window, which
    // toggles the turtle symbol before the picture is written: then the
    // file shows the surface as it is after the event.
    if (FZeichenform &&
        FZeichenform->zeichenflaeche->Bitmap().convertToFormat(QImage::Format_RGB32) == A) {
      Vermerken("PNG nach Rückkehr verglichen");
      continue;
    }
    int Abweichend = 0;
    QRect Bereich;
    if (A.size() == B.size())
      for (int y = 0; y < A.height(); ++y)
        for (int x = 0; x < A.width(); ++x)
          if (A.pixel(x, y) != B.pixel(x, y)) {
            ++Abweichend;
            Bereich |= QRect(x, y, 1, 1);
          }
    // Activations toggle the turtle symbol, also more than once between
    // the confirmation and the end of the event, and a live redraw moves
    // it: a picture that differs only in one square of the symbol's size
    // shows the surface at another toggle.
    if (FZeichenform && !Bereich.isEmpty()) {
      const double Seite = 2 * (FZeichenform->Turtle().SymbolGroesse + 4);
      if (Bereich.width() <= Seite && Bereich.height() <= Seite) {
        Vermerken("PNG bis auf das Turtlesymbol verglichen");
        continue;
      }
    }
    // Both pictures stay beside the temporary folder for a look, and the
    // surface as it is now tells whether it changed after the confirmation.
    const QString Ablage =
        QDir::temp().filePath(QStringLiteral("affen-%1-%2").arg(Buch.Saat).arg(Buch.Nummer));
    A.save(Ablage + QStringLiteral("-gespeichert.png"));
    B.save(Ablage + QStringLiteral("-flaeche.png"));
    Verletzt(
        Satz("das gespeicherte Bild %1 (%2 x %3) weicht in %4 Punkten (%5,%6 %7 x %8) von "
             "der Zeichenfläche (%9 x %10) ab, vor und nach dem Ereignis (Bilder: %11-*.png)",
             P.Datei, A.width(), A.height(), Abweichend, Bereich.x(), Bereich.y(), Bereich.width(),
             Bereich.height(), B.width(), B.height(), Ablage));
  }
  Bildproben.clear();
}

// ---------------------------------------------------------------- drops

void TAffenpruefung::AblageErwarten(const QString& Pfad, const QString& Ziel) {
  if (Form1->GeladeneDatei != Pfad) Ablageprobe = {Pfad, Ziel, Buch.Vermerkt("Meldungen")};
}

// A field takes text, not files: the window loads them, once the drop is over.
void TAffenpruefung::Abgeworfen(bool Angenommen, QLineEdit* Feld, const QString& FeldVorher,
                                const QString& Dateiname) {
  if (Ablageprobe) Ablageprobe->Angenommen = Angenommen;
  if (Feld && Feld->text() != FeldVorher && Feld->text().contains(Dateiname))
    Verletzt(QStringLiteral("die Ablage auf %1 fügte den Namen ein: '%2'")
                 .arg(Name(Feld), Feld->text()));
}

// What the user does later in the same event (another file loaded while the
// drop's live redraw runs) must not hide the drop's own outcome.
void TAffenpruefung::AblageBeobachten() {
  if (Ablageprobe && (Form1->GeladeneDatei == Ablageprobe->Pfad ||
                      Buch.Vermerkt("Meldungen") != Ablageprobe->Meldungen))
    Ablageprobe.reset();
}

// Wherever on the main window the file was dropped.
void TAffenpruefung::AblagePruefen() {
  AblageBeobachten();
  if (!Ablageprobe) return;
  const TAblageprobe P = *Ablageprobe;
  Ablageprobe.reset();
  Verletzt(QStringLiteral("die Ablage von %1 auf %2 lud nichts und meldete nichts (%3)")
               .arg(QFileInfo(P.Pfad).fileName(), P.Ziel,
                    P.Angenommen ? QStringLiteral("Ablage angenommen")
                                 : QStringLiteral("Ablage nicht angenommen")));
}
