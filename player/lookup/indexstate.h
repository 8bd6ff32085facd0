#pragma once

#include "player/lookup/filestamp.h"
#include "player/lookup/folderwatch.h"
#include "player/lookup/nameindex.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// One build of the index for one version of the search list, and the steps that make and
// check it. Building and checking touch the disk and run on LookupIndex's worker without its
// lock; what they return is swapped in or compared under the lock.
namespace lyrova {

struct IndexedFolder {
  QString path;
  FileStamp stamp;      // the folder when it was last listed
  int watch = -1;       // its inotify watch; -1: compared by stat at every lookup instead
  bool settled = false; // the listing came well after the folder's last change (Settled)
  bool listed = false;  // its names are in the index; otherwise it is always checked on disk
  bool dirty = false;   // changed since it was listed: checked on disk until listed again
  quint32 changes = 0;  // notices seen, so that a listing which raced one is not taken as current
};

struct IndexState {
  explicit IndexState(qsizetype folderCount) : folders(folderCount), names(folderCount) {}

  QByteArray listDigest;  // ListFileCache::Digest of the "LrcDir.ini" this was built from
  QStringList dirs;       // the search list (SearchDirs), parallel to `folders`
  std::vector<IndexedFolder> folders;
  // Lines of the list (the built-in folder first) that named no folder when it was built: one
  // appearing changes the search list.
  QStringList absent;
  NameIndex names;
  FolderWatch watch;
  int dataWatch = -1;  // the data folder, for changes to the list file and the built-in folder
  QHash<int, QList<qint32>> foldersOfWatch;
};

// Builds the index of `lines` (the lines of "LrcDir.ini" whose digest is `digest`), watching
// the folders unless `watchFolders` is false. Gives up and returns null as soon as `cancelled`
// says so (checked between folders).
std::unique_ptr<IndexState> BuildIndexState(const QString& dataFolder, const QString& builtInDir,
                                            bool watchFolders, const QStringList& lines,
                                            const QByteArray& digest,
                                            const std::function<bool()>& cancelled);

// True when a folder of the list no longer is the folder that was listed (gone, replaced, or
// its path leading elsewhere), or a line that named no folder names one now. `dirs` and
// `stamps` are parallel.
bool SearchListMoved(const QStringList& dirs, const std::vector<FileStamp>& stamps,
                     const QStringList& absent);

}  // namespace lyrova
