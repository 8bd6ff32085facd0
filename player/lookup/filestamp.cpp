#include "player/lookup/filestamp.h"

#include <QFile>

#include <sys/stat.h>
#include <time.h>

namespace lyrova {
namespace {

// File times advance in ticks of the kernel's coarse clock (a few milliseconds), and a network
// file system's server may run a little ahead or behind: two seconds covers both.
constexpr qint64 kTimestampSlackNs = qint64(2'000'000'000);

qint64 Nanoseconds(const struct timespec& time) {
  return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

}  // namespace

FileStamp StampOf(const QString& path) {
  FileStamp stamp;
  struct stat info {};
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) return stamp;
  stamp.exists = true;
  stamp.isDir = S_ISDIR(info.st_mode);
  stamp.dev = info.st_dev;
  stamp.ino = info.st_ino;
  stamp.size = info.st_size;
  stamp.mtimeNs = Nanoseconds(info.st_mtim);
  stamp.ctimeNs = Nanoseconds(info.st_ctim);
  return stamp;
}

bool Settled(const FileStamp& stamp, qint64 nowNs) {
  // The modification time is what a change of contents (or of a folder's names) sets; the
  // status time also moves with a mere change of owner, mode or times, which changes nothing
  // a lookup reads, and still counts in the stamp's equality.
  return !stamp.exists || stamp.mtimeNs < nowNs - kTimestampSlackNs;
}

qint64 WallClockNs() {
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return Nanoseconds(now);
}

}  // namespace lyrova
