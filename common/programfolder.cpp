#include "common/programfolder.h"

#include "common/paths.h"
#include "common/programcontract.h"

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
  if (!info.isDir() || !info.isWritable()) return userFolder;
  return QFileInfo::exists(JoinPath(programFolder, kSystemWideMark)) ? userFolder : programFolder;
}

QString DataFolder() { return ChooseDataFolder(ProgramFolder(), UserDataFolder()); }

}  // namespace lyrova
