#include "player/lookup/lyricswatch.h"

#include "common/fileio.h"
#include "common/paths.h"
#include "player/lookup/lyricslookup.h"

#include <QCryptographicHash>
#include <QDir>

namespace lyrova {
namespace {

// A digest of the file's bytes; empty when it cannot be read. The bytes, not the modification
// time, are compared: two saves within one clock tick would otherwise look alike.
QByteArray Digest(const QString& path) {
  if (path.isEmpty()) return {};
  QByteArray bytes;
  QString error;
  if (!ReadWholeFile(path, &bytes, &error)) return {};
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// Folders are kept in one spelling ("/a/b", not "/a/b/"), so that one folder is watched once.
void AddFolder(QStringList& paths, const QString& folder) {
  if (folder.isEmpty() || !DirExists(folder)) return;
  const QString clean = QDir::cleanPath(folder);
  if (!paths.contains(clean)) paths.append(clean);
}

}  // namespace

LyricsWatch::LyricsWatch(const QString& dataFolder, QObject* parent)
    : LyricsWatch(dataFolder, nullptr, parent) {}

LyricsWatch::LyricsWatch(const QString& dataFolder, const LookupIndex* index, QObject* parent)
    : QObject(parent), dataFolder_(dataFolder), index_(index) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &LyricsWatch::Check);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &LyricsWatch::Changed);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &LyricsWatch::Changed);
}

void LyricsWatch::Follow(const QString& songPath, const QString& lyricsPath) {
  song_ = TrimBlanks(songPath);
  lyrics_ = song_.isEmpty() ? QString() : lyricsPath;
  contents_ = Digest(lyrics_);
  Rewatch();
}

QStringList LyricsWatch::WatchedPaths() const { return watcher_.files() + watcher_.directories(); }

// The first change of a burst starts the timer and later ones do not move it, so a folder that
// never stays still (a download folder beside the song) delays a check by kSettleMs at most.
void LyricsWatch::Changed() {
  if (!song_.isEmpty() && !settle_.isActive()) settle_.start();
}

void LyricsWatch::Check() {
  settle_.stop();
  if (song_.isEmpty()) return;
  const QString found = LyricsLookup(dataFolder_, index_).FindLyricsFile(song_);
  if (found.isEmpty() || !FileExists(found)) {
    Rewatch();
    return;
  }
  const QByteArray contents = Digest(found);
  if (found == lyrics_ && contents == contents_) {
    Rewatch();
    return;
  }
  lyrics_ = found;
  contents_ = contents;
  Rewatch();
  emit LyricsChanged(found);
}

void LyricsWatch::Rewatch() {
  QStringList files;
  QStringList folders;
  if (!song_.isEmpty()) {
    const LyricsLookup lookup(dataFolder_, index_);
    if (!lyrics_.isEmpty() && FileExists(lyrics_)) {
      files.append(lyrics_);
      AddFolder(folders, DirectoryPart(lyrics_));
    }
    AddFolder(folders, DirectoryPart(song_));
    AddFolder(folders, dataFolder_);
    if (FileExists(lookup.LinkFile())) files.append(lookup.LinkFile());
    const QStringList searchDirs = lookup.ReadSearchDirs();
    for (qsizetype i = 0; i < searchDirs.size() && i < kWatchedSearchDirs; ++i)
      AddFolder(folders, searchDirs.at(i));
  }
  // Only the difference is handed to the watcher, so a path watched all along is never
  // dropped and added back (which could lose a change made in between).
  QStringList gone;
  for (const QString& path : WatchedPaths())
    if (!files.contains(path) && !folders.contains(path)) gone.append(path);
  if (!gone.isEmpty()) watcher_.removePaths(gone);
  QStringList wanted;
  const QStringList watched = WatchedPaths();
  for (const QString& path : files + folders)
    if (!watched.contains(path)) wanted.append(path);
  if (!wanted.isEmpty()) watcher_.addPaths(wanted);
}

}  // namespace lyrova
