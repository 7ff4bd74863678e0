#include "gui/Dateisymbole.h"

#include <QFileDialog>

#include "gui/Dialoge.h"

TDateisymbole::TDateisymbole()
    : Ordner(QFileIconProvider::icon(Folder)),
      Datei(QFileIconProvider::icon(File)),
      Laufwerk(QFileIconProvider::icon(Drive)) {
  // Elsewhere a folder's icon may come from a file inside it.
  setOptions(DontUseCustomDirectoryIcons);
}

// Only what stat() tells is asked of Info: QFileInfo caches it, and the
// dialog's gatherer has filled it already.
QIcon TDateisymbole::icon(const QFileInfo& Info) const {
  if (Info.isRoot()) return Laufwerk;
  if (Info.isDir()) return Ordner;
  return Datei;
}

QString TDateisymbole::type(const QFileInfo& Info) const {
  if (Info.isRoot()) return QStringLiteral("Laufwerk");
  if (Info.isDir()) return QStringLiteral("Ordner");
  if (Info.isSymLink() && !Info.exists()) return QStringLiteral("Verknüpfung");
  if (!Info.isFile()) return QStringLiteral("Spezialdatei");
  // Our own words rather than the MIME database's, whose texts follow the
  // system's language, not the program's.
  const QString Endung = Info.suffix().toUpper();
  if (Endung == QLatin1String("PNG")) return QStringLiteral("PNG-Bild");
  if (Endung == QLatin1String("SVG")) return QStringLiteral("SVG-Bild");
  if (Endung == QLatin1String("LSY")) return QStringLiteral("Lindenmayer-Regelsystem");
  return Endung.isEmpty() ? QStringLiteral("Datei") : Endung + QStringLiteral("-Datei");
}

namespace {

// Keeps the provider as long as the dialog that uses it: the dialog's model
// does not own it.
class TSymbolhalter : public QObject {
 public:
  explicit TSymbolhalter(QObject* Eltern) : QObject(Eltern) {}
  TDateisymbole Symbole;
};

}  // namespace

void DateisymboleSetzen(QFileDialog* Dialog) {
  auto* Halter = new TSymbolhalter(Dialog);
  Dialog->setIconProvider(&Halter->Symbole);
  Dialog->setOption(QFileDialog::DontUseCustomDirectoryIcons);
}
