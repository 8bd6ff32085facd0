#pragma once

#include <QHash>
#include <QList>
#include <QVarLengthArray>

#include <vector>

// Which folders of a search list hold a name that may be the one asked for: folded-name key
// (CaseKey) -> folders, with each folder's own keys kept so that it can be listed again alone.
// Folders are positions in the search list. A key only makes a folder a candidate; the lookup
// confirms on disk. Not thread-safe: LookupIndex guards it.
namespace lyrova {

class NameIndex {
 public:
  explicit NameIndex(qsizetype folderCount = 0) : keysOf_(folderCount) {}

  // Replaces what is known of `folder` with `keys` (sorted and distinct, as ListFolder gives).
  void SetFolder(qint32 folder, std::vector<quint64> keys);

  // Appends the folders that hold `key`, in no particular order.
  void AppendFolders(quint64 key, QList<qint32>* folders) const;

  qsizetype FolderCount() const { return static_cast<qsizetype>(keysOf_.size()); }
  qsizetype NameCount() const { return names_; }

 private:
  std::vector<std::vector<quint64>> keysOf_;
  QHash<quint64, QVarLengthArray<qint32, 1>> foldersOf_;
  qsizetype names_ = 0;
};

}  // namespace lyrova
