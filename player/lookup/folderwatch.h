#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Change notices for a set of folders through the kernel's inotify: an entry made, removed or
// renamed in a watched folder, or the folder itself removed, moved away or unmounted. A notice
// is queued by the kernel before the call that made the change returns, so whatever is read
// after a change always holds its notice: nothing made before a lookup can be missed by it.
// Notices are read without waiting. Not thread-safe: LookupIndex guards it.
namespace lyrova {

class FolderWatch {
 public:
  struct Notice {
    int watch = -1;
    bool gone = false;  // the folder itself went away, or its watch ended
    QByteArray name;    // the entry concerned, when the notice is about one
  };

  FolderWatch();
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // False when the system gave no inotify instance (too many in use): nothing can be watched.
  bool Valid() const { return fd_ >= 0; }
  // The descriptor to wait on for notices; -1 when not Valid.
  int Descriptor() const { return fd_; }

  // Watches `dir` (links followed); the watch number, or -1 when it cannot be watched (no such
  // folder, no permission, or the per-user limit of watches reached). Two paths of one folder
  // share one number. With `fileWrites` a file written in place there is noticed too (for the
  // list files); search folders only need names, and a song's tags being saved is no change.
  int Add(const QString& dir, bool fileWrites = false);

  // Appends every notice queued so far. `overflow` becomes true when the kernel dropped some:
  // then any watched folder may have changed.
  void Drain(QList<Notice>* notices, bool* overflow);

 private:
  int fd_ = -1;
};

// True when `dir` lies on a file system whose changes may be made where inotify cannot see
// them (network and user-space file systems): such folders are compared by stat instead.
bool OnRemoteFileSystem(const QString& dir);

}  // namespace lyrova
