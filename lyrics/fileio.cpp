#include "lyrics/fileio.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lyrova {
namespace {

QString TooLargeText() {
  return QStringLiteral("文件太大(超过 %1 MB)").arg(kMaxTextFileBytes / (1024 * 1024));
}

void SetError(QString* error, const QString& text) {
  if (error) *error = text;
}

// The system's description of an error number, as QFile::errorString() gives it.
QString SystemError(int number) { return QString::fromLocal8Bit(std::strerror(number)); }

struct FileCloser {
  int fd;
  ~FileCloser() { ::close(fd); }
};

}  // namespace

bool ReadWholeFile(const QString& path, QByteArray* bytes, QString* error) {
  bytes->clear();
  // Plain system calls: QFile's open alone costs more than parsing a whole song's lyrics.
  const QByteArray name = QFile::encodeName(path);
  if (name.contains('\0')) {  // the system would open the file named by the part before it
    SetError(error, SystemError(ENOENT));
    return false;
  }
  const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetError(error, SystemError(errno));
    return false;
  }
  const FileCloser closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    SetError(error, SystemError(errno));
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    SetError(error, SystemError(EISDIR));
    return false;
  }
  const bool regular = S_ISREG(info.st_mode);
  if (regular && info.st_size > kMaxTextFileBytes) {
    SetError(error, TooLargeText());
    return false;
  }
  // A regular file is read up to the size it had when it was opened. Devices and pipes have no
  // size: they are read until their end, but never beyond the limit.
  qint64 have = 0;
  bytes->resize(regular ? qint64(info.st_size) : 64 * 1024);
  for (;;) {
    if (have == bytes->size()) {
      if (regular) break;
      if (have > kMaxTextFileBytes) {
        bytes->clear();
        SetError(error, TooLargeText());
        return false;
      }
      bytes->resize(std::min<qint64>(have * 2, kMaxTextFileBytes + 1));
    }
    const ssize_t got = ::read(fd, bytes->data() + have, size_t(bytes->size() - have));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      bytes->clear();
      SetError(error, SystemError(errno));
      return false;
    }
    if (got == 0) break;
    have += got;
  }
  bytes->truncate(have);
  return true;
}

bool WriteWholeFile(const QString& path, QByteArrayView bytes, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    SetError(error, file.errorString());
    return false;
  }
  if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
    SetError(error, file.errorString());
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    SetError(error, file.errorString());
    return false;
  }
  return true;
}

}  // namespace lyrova
