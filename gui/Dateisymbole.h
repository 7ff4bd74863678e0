// Icons and type texts for the program's file dialogs that come from a file's
// name and kind alone. Qt's own provider looks into the files to tell their
// type; in a folder like /proc that read never returns (/proc/kmsg), and the
// dialog, or its name field's completion, hangs with it.
#pragma once

#include <QFileIconProvider>
#include <QIcon>

class TDateisymbole : public QFileIconProvider {
 public:
  // Takes the style's icons; create it on the GUI thread.
  TDateisymbole();

  // Folder, drive or file icon; never opens the file.
  QIcon icon(const QFileInfo& Info) const override;
  using QFileIconProvider::icon;
  // "Ordner", "Laufwerk", "Verknüpfung" for a link that leads nowhere,
  // "Spezialdatei" for pipes, sockets and devices; for a file what its ending
  // tells: "PNG-Bild", "SVG-Bild", "Lindenmayer-Regelsystem", "<ENDUNG>-Datei",
  // or "Datei" without one.
  QString type(const QFileInfo& Info) const override;

 private:
  QIcon Ordner, Datei, Laufwerk;
};

// DateisymboleSetzen (gui/Dialoge.h) puts one on a file dialog.
