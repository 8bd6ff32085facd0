#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// Follows the lyrics of the song the Player has open, so that a lyrics file made or replaced
// while the song plays (the Editor saving beside the song or into a search folder, a link made
// in the link dialog, a text editor writing in place) is loaded at once.
//
// Only a few paths are watched, never the whole search list:
//   - the lyrics file in use, for writes in place;
//   - its folder and the song's folder, for files made or replaced by rename there (a watched
//     file is lost when it is renamed over, and is watched again after every check);
//   - the data folder and "LrcLink.ini" in it, for links made or removed and a changed search
//     list;
//   - the first kWatchedSearchDirs folders of the search list (the built-in folder first).
// Lyrics saved into a later search folder are found by the next lookup ("重新载入歌词", or the
// next opening of the song).
//
// A burst of changes (an editor's temporary file and its rename) is settled by a single-shot
// timer started by its first change; then the whole lookup runs again. LyricsChanged is emitted when it finds another file
// than the one followed, or the followed file with other contents. Nothing is emitted when the
// lookup finds nothing any more: the lyrics shown stay. Runs on the thread that owns it.
namespace lyrova {

class LookupIndex;

class LyricsWatch : public QObject {
  Q_OBJECT

 public:
  static constexpr int kSettleMs = 120;
  static constexpr int kWatchedSearchDirs = 8;

  explicit LyricsWatch(const QString& dataFolder, QObject* parent = nullptr);
  // The same, with its lookups asking `index` (see LyricsLookup); the index must outlive it.
  LyricsWatch(const QString& dataFolder, const LookupIndex* index, QObject* parent = nullptr);

  // Follows `songPath`, whose lyrics file is `lyricsPath` ("" when none was found). Call it
  // before the lyrics are read, so that a change made while they are read is not missed. An
  // empty song path stops following.
  void Follow(const QString& songPath, const QString& lyricsPath);

  // What is watched now, files and folders, each once.
  QStringList WatchedPaths() const;

  // Runs the lookup again at once, as the settle timer does after a change.
  void Check();

 signals:
  // The song's lyrics are now `lyricsPath`: a file that was not followed, or new contents.
  void LyricsChanged(const QString& lyricsPath);

 private:
  void Changed();
  void Rewatch();

  QString dataFolder_;
  const LookupIndex* index_ = nullptr;
  QString song_;
  QString lyrics_;
  QByteArray contents_;  // a digest of what `lyrics_` held when it was followed or last loaded
  QFileSystemWatcher watcher_;
  QTimer settle_;
};

}  // namespace lyrova
