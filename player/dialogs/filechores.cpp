#include "player/dialogs/filechores.h"

#include <QFile>

namespace lyrova {

bool TrashOrDeleteFile(const QString& path, QString* error) {
  QFile file(path);
  if (file.moveToTrash()) return true;
  // No trash for this file: delete it, as the user has already confirmed.
  QFile again(path);
  if (again.remove()) return true;
  if (error != nullptr) *error = again.errorString();
  return false;
}

bool RenameWithoutReplacing(const QString& from, const QString& to, QString* error) {
  // QFile::rename refuses an existing target (a mere change of letter case on a
  // case-insensitive file system excepted) and on Linux renames with RENAME_NOREPLACE, or with
  // link and unlink, so the refusal holds even against a file created after its own test.
  QFile file(from);
  if (file.rename(to)) return true;
  if (error != nullptr) *error = file.errorString();
  return false;
}

}  // namespace lyrova
