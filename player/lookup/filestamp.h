#pragma once

#include <QString>

#include <sys/types.h>

// What one stat of a path tells about whether it changed: which file it is and when it, or
// the list of a folder, was last changed. Two equal stamps mean an unchanged entry, unless the
// first one was taken within the file system's timestamp granularity of a change (see Settled):
// a second change in the same tick leaves every field as it was.
namespace lyrova {

struct FileStamp {
  bool exists = false;
  bool isDir = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  qint64 mtimeNs = 0;
  qint64 ctimeNs = 0;

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of `path`, links followed; `exists` false when it cannot be examined.
FileStamp StampOf(const QString& path);

// True when the stamp's modification time lies far enough before `nowNs` (the wall clock when
// the stamp was taken) that no later change can leave the stamp as it is.
bool Settled(const FileStamp& stamp, qint64 nowNs);

// The wall clock in nanoseconds, the clock file times are taken from.
qint64 WallClockNs();

}  // namespace lyrova
