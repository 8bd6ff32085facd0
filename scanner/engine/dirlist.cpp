#include "scanner/engine/dirlist.h"

#include "common/casematch.h"
#include "common/listfiles.h"
#include "common/paths.h"
#include "common/textlines.h"

namespace lyrova {

void DirList::ClearDirs() {
  dirs_.clear();
  byFolded_.clear();
}

bool DirList::AddDir(const QString& directory) {
  const QString dir = NormalizeDir(directory);
  if (dir.isEmpty() || HoldsLineBreak(dir)) return false;
  QList<qsizetype>& same = byFolded_[dir.toCaseFolded()];
  for (const qsizetype index : std::as_const(same))
    if (SameEntryIgnoringCase(dirs_.at(index), dir)) return false;
  same.append(dirs_.size());
  dirs_.append(dir);
  return true;
}

void DirList::LoadDirs(const QString& file) {
  ClearDirs();
  const QStringList dirs = ParseSearchDirLines(ReadTextLines(file).value_or(QStringList()));
  for (const QString& dir : dirs)
    if (DirExists(dir)) AddDir(dir);
}

bool DirList::SaveDirs(const QString& file) const { return WriteTextLines(file, dirs_); }

}  // namespace lyrova
