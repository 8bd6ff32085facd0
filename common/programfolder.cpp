#include "common/programfolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace lyrova {

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

QString UserDataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/Lyrova");
}

QString ChooseDataFolder(const QString& programFolder, const QString& userFolder) {
  const QFileInfo info(programFolder);
  return info.isDir() && info.isWritable() ? programFolder : userFolder;
}

QString DataFolder() { return ChooseDataFolder(ProgramFolder(), UserDataFolder()); }

}  // namespace lyrova
