#include "scanner/engine/scanargs.h"

#include "common/paths.h"
#include "common/programcontract.h"

#include <QDir>

namespace lyrova {

ScannerArguments ParseScannerArguments(const QStringList& arguments) {
  ScannerArguments parsed;
  for (const QString& argument : arguments) {
    const QString text = TrimBlanks(argument);
    if (text.isEmpty()) continue;
    if (text.compare(kScannerReturnSwitch, Qt::CaseInsensitive) == 0) {
      parsed.returnToPlayer = true;
      continue;
    }
    // The folders found go into the Player's list, which is read from another folder.
    const QString folder = QDir::cleanPath(QDir::current().absoluteFilePath(text));
    if (!parsed.folders.contains(folder)) parsed.folders.append(folder);
  }
  return parsed;
}

}  // namespace lyrova
