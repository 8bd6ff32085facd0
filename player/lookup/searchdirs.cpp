#include "player/lookup/searchdirs.h"

#include "common/casematch.h"
#include "common/paths.h"

#include <QFile>
#include <QHash>
#include <QVarLengthArray>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lyrova {
namespace {

bool EndsWithLrc(const char* name, std::size_t length) {
  if (length < 4) return false;
  const char* tail = name + length - 4;
  return tail[0] == '.' && (tail[1] | 0x20) == 'l' && (tail[2] | 0x20) == 'r' &&
         (tail[3] | 0x20) == 'c';
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

QStringList DistinctSearchDirs(const QString& builtInDir, const QStringList& lines,
                               QStringList* absent) {
  QStringList dirs;
  QHash<quint64, QVarLengthArray<qsizetype, 1>> byKey;
  auto take = [&](const QString& dir) {
    auto& same = byKey[CaseKey(dir)];
    for (const qsizetype index : std::as_const(same))
      if (SameEntryIgnoringCase(dirs.at(index), dir)) return;
    same.append(dirs.size());
    dirs.append(dir);
  };
  // One look at each folder: one that appears or goes between two looks would otherwise be
  // neither listed nor known as missing.
  const auto consider = [&](const QString& dir) {
    if (DirExists(dir))
      take(dir);
    else if (absent != nullptr)
      absent->append(dir);
  };
  consider(builtInDir);
  for (const QString& dir : lines) consider(dir);
  return dirs;
}

FolderListing ListFolder(const QString& dir) {
  FolderListing listing;
  // The stamp is taken before the names are read, so a change during the reading shows as
  // another stamp later; and the folder opened must be the one stamped.
  const qint64 now = WallClockNs();
  listing.stamp = StampOf(dir);
  listing.settled = Settled(listing.stamp, now);
  const int fd = ::open(QFile::encodeName(dir).constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return listing;
  struct stat info {};
  DIR* entries = ::fstat(fd, &info) == 0 ? ::fdopendir(fd) : nullptr;
  if (!entries) {
    ::close(fd);
    return listing;
  }
  if (listing.stamp.dev != info.st_dev || listing.stamp.ino != info.st_ino) {
    ::closedir(entries);
    return listing;
  }
  for (;;) {
    errno = 0;
    const struct dirent* entry = ::readdir(entries);
    if (!entry) break;
    const char* name = entry->d_name;
    const std::size_t length = std::strlen(name);
    if (IsDotOrDotDot(name) || !EndsWithLrc(name, length)) continue;
    listing.keys.push_back(
        CaseKey(QFile::decodeName(QByteArray(name, static_cast<qsizetype>(length)))));
  }
  listing.listed = errno == 0;
  ::closedir(entries);
  std::sort(listing.keys.begin(), listing.keys.end());
  listing.keys.erase(std::unique(listing.keys.begin(), listing.keys.end()), listing.keys.end());
  return listing;
}

}  // namespace lyrova
