#include "player/lookup/listfilecache.h"

#include "common/fileio.h"
#include "common/listfiles.h"

#include <QCryptographicHash>

namespace lyrova {

bool ListFileCache::Refresh() {
  // The stamp is taken before the bytes are read: a change during the reading then shows as
  // another stamp at the next call, never as a stamp that matches older bytes.
  const qint64 now = WallClockNs();
  const FileStamp stamp = StampOf(path_);
  if (loaded_ && settled_ && stamp == stamp_) return false;
  QByteArray bytes;
  if (!stamp.exists || !ReadWholeFile(path_, &bytes, nullptr)) bytes.clear();
  const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
  stamp_ = stamp;
  settled_ = Settled(stamp, now);
  if (loaded_ && digest == digest_) return false;
  loaded_ = true;
  digest_ = digest;
  lines_ = ListFileLines(bytes);
  return true;
}

}  // namespace lyrova
