#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// The lookup at library scale: one object per program, made once with the data folder and
// handed to every LyricsLookup (and LyricsWatch) as `const LookupIndex*`. It keeps
//   - the search list ("LrcDir.ini"), read once and again only when the file changes;
//   - the names of the lyrics files in every search folder (folded name -> folders), built on
//     its own worker thread at construction and again after the list changes;
//   - the link list ("LrcLink.ini"), read once and again only when it changes, hashed by song.
// Results are exactly those of LyricsLookup without an index: the search list in the same order
// with the same duplicates removed, the exact name before other letter case, every hit
// confirmed on disk at the moment of the lookup.
//
// Keeping the names current: every search folder is watched through inotify, whose notices
// the kernel queues before the change that caused them completes, so a lookup that reads them
// first knows every folder changed since its listing and checks those on disk instead of in the
// index, while the worker lists them again. A watch costs nothing per lookup, where comparing
// every folder's modification time costs a stat per folder (about 5 ms per 5,000 folders on a
// warm cache, more than a lookup may take). Folders on network and user-space file systems,
// whose changes elsewhere inotify cannot see, and folders beyond the system's watch limit are
// compared by one stat each at every lookup instead. A folder whose path comes to name another
// folder through a change above it (a parent renamed, a link re-pointed) is found by the
// worker's check of every folder's identity, which follows each lookup (at most once a second).
//
// Threading: every public method may be called from any thread, the window's included. A
// lookup never waits for the build: until the index of the current list is ready, and for a
// list file changed since, it takes the unindexed path (the same answers, just slower, as
// today's lookup). The lock shared with the worker is held only to swap in a finished build,
// to take in one folder's new listing or to read the queued notices, never while the worker
// touches the disk, so a lookup waits for it at most a few milliseconds.
namespace lyrova {

struct LookupIndexOptions {
  // False: the index stays unbuilt until StartBuild, and every lookup takes the unindexed
  // path (tests and benchmarks measure and check that path so).
  bool buildNow = true;
  // False: no folder is watched; each is compared by one stat at every lookup, as folders on
  // network file systems always are.
  bool watchFolders = true;
};

class LookupIndex {
 public:
  explicit LookupIndex(const QString& dataFolder, LookupIndexOptions options = {});
  // Stops the worker (a build in progress is given up between two folders) and waits for it.
  ~LookupIndex();
  LookupIndex(const LookupIndex&) = delete;
  LookupIndex& operator=(const LookupIndex&) = delete;

  const QString& DataFolder() const;
  void StartBuild() const;

  // LyricsLookup::ReadSearchDirs: the built-in folder when it exists, then the distinct
  // existing folders of "LrcDir.ini".
  QStringList SearchDirs() const;

  // The lyrics file `name` (a file name without folder) in the first search folder that holds
  // it, SearchDirs order: in each folder the exact name, else a name differing only in letter
  // case (FindFileIgnoringCase). "" when no folder holds it.
  QString FindInSearchDirs(const QString& name) const;

  // LyricsLookup::FindLink: the lyrics path linked to the song (blanks trimmed); "" when the
  // song does not exist or has no link.
  QString FindLink(const QString& songPath) const;

  // True while the index of the list last read is built and no change has outdated it. A
  // lookup may still find "LrcDir.ini" changed since and take the unindexed path.
  bool IsReady() const;
  // Checks "LrcDir.ini" as a lookup does (starting a build for a changed file) and waits until
  // the index of its current contents is ready, at most `timeoutMs`. For tests and benchmarks:
  // the window never waits.
  bool WaitUntilReady(int timeoutMs) const;

  struct Status {
    bool ready = false;
    qint64 builds = 0;        // builds finished so far
    qint64 lastBuildMs = 0;   // how long the last one took on the worker
    qint64 relisted = 0;      // folders listed again after a change, in all
    qsizetype folders = 0;    // in the index
    qsizetype watched = 0;    // of them, followed through inotify
    qsizetype names = 0;      // lyrics names indexed
  };
  Status CurrentStatus() const;

 private:
  class Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace lyrova
