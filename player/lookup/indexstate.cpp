#include "player/lookup/indexstate.h"

#include "common/listfiles.h"
#include "common/paths.h"
#include "player/lookup/searchdirs.h"

namespace lyrova {
namespace {

bool SameFolder(const FileStamp& a, const FileStamp& b) {
  return a.exists && b.exists && a.isDir && b.isDir && a.dev == b.dev && a.ino == b.ino;
}

}  // namespace

std::unique_ptr<IndexState> BuildIndexState(const QString& dataFolder, const QString& builtInDir,
                                            bool watchFolders, const QStringList& lines,
                                            const QByteArray& digest,
                                            const std::function<bool()>& cancelled) {
  const QStringList listed = ParseSearchDirLines(lines);
  QStringList absent;
  const QStringList dirs = DistinctSearchDirs(builtInDir, listed, &absent);
  auto state = std::make_unique<IndexState>(dirs.size());
  state->listDigest = digest;
  state->dirs = dirs;
  state->absent = std::move(absent);
  state->dataWatch = state->watch.Add(dataFolder, true);

  for (qsizetype i = 0; i < dirs.size(); ++i) {
    if (cancelled()) return nullptr;
    IndexedFolder& folder = state->folders[static_cast<std::size_t>(i)];
    folder.path = dirs.at(i);
    const bool watchable = watchFolders && !OnRemoteFileSystem(folder.path);
    // The watch comes before the listing, so a change in between is a notice, not a loss.
    // Asking again after the listing tells whether the path still led to the folder watched:
    // one folder always gives the same watch number.
    const int before = watchable ? state->watch.Add(folder.path) : -1;
    FolderListing listing = ListFolder(folder.path);
    const int after = before >= 0 ? state->watch.Add(folder.path) : -1;
    folder.watch = after;
    folder.stamp = listing.stamp;
    folder.settled = listing.settled;
    folder.listed = listing.listed;
    folder.dirty = before != after;
    for (const int watch : {before, after})
      if (watch >= 0 && !state->foldersOfWatch.value(watch).contains(qint32(i)))
        state->foldersOfWatch[watch].append(qint32(i));
    state->names.SetFolder(qint32(i), std::move(listing.keys));
  }
  return state;
}

bool SearchListMoved(const QStringList& dirs, const std::vector<FileStamp>& stamps,
                     const QStringList& absent) {
  for (qsizetype i = 0; i < dirs.size(); ++i)
    if (!SameFolder(StampOf(dirs.at(i)), stamps[static_cast<std::size_t>(i)])) return true;
  for (const QString& line : absent)
    if (DirExists(line)) return true;
  return false;
}

}  // namespace lyrova
