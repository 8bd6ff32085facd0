#include "common/tempfiles.h"

#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

namespace lyrova {

QString MakeTempFile(const QString& prefix) {
  QTemporaryFile file(QDir::tempPath() + u'/' + prefix + QStringLiteral("XXXXXX.tmp"));
  file.setAutoRemove(false);
  if (!file.open()) return {};
  return file.fileName();
}

void DeleteFileQuiet(const QString& path) {
  if (!FileExists(path)) return;
  QFile file(path);
  file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
  file.remove();
}

}  // namespace lyrova
