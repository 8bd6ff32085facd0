#include "player/lookup/nameindex.h"

namespace lyrova {

void NameIndex::SetFolder(qint32 folder, std::vector<quint64> keys) {
  if (folder < 0 || folder >= FolderCount()) return;
  std::vector<quint64>& old = keysOf_[static_cast<std::size_t>(folder)];
  for (const quint64 key : old) {
    const auto bucket = foldersOf_.find(key);
    if (bucket == foldersOf_.end()) continue;
    bucket->removeOne(folder);
    if (bucket->isEmpty()) foldersOf_.erase(bucket);
  }
  names_ -= static_cast<qsizetype>(old.size());
  for (const quint64 key : keys) foldersOf_[key].append(folder);
  names_ += static_cast<qsizetype>(keys.size());
  old = std::move(keys);
}

void NameIndex::AppendFolders(quint64 key, QList<qint32>* folders) const {
  const auto bucket = foldersOf_.constFind(key);
  if (bucket == foldersOf_.cend()) return;
  for (const qint32 folder : *bucket) folders->append(folder);
}

}  // namespace lyrova
