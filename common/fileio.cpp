#include "common/fileio.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <csignal>
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

QString WriteErrorText(int number) {
  return number == ENOSPC || number == EDQUOT || number == EFBIG ? DiskFullText() : SystemError(number);
}

struct FileCloser {
  int fd;
  ~FileCloser() {
    if (fd >= 0) ::close(fd);
  }
};

// The file a save replaces: a symbolic link is followed to its last target (which need not exist
// yet), so that the link stays a link.
QString SaveTarget(const QString& path) {
  QFileInfo info(path);
  for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
  return info.filePath();
}

// Creates a new file beside `target` for the new contents, with `mode` (before the umask).
int CreateBeside(const QByteArray& target, mode_t mode, QByteArray* name) {
  const qsizetype slash = target.lastIndexOf('/');
  const QByteArray folder = slash < 0 ? QByteArray() : target.left(slash + 1);
  const QByteArray base = target.mid(slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    *name = folder + '.' + base + '.' +
            QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
    const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, QByteArrayView bytes) {
  const char* data = bytes.data();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t wrote = ::write(fd, data, size_t(std::min<qsizetype>(left, qsizetype(1) << 30)));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) return false;
    if (wrote == 0) {  // no progress and no reason: report it rather than spin
      errno = EIO;
      return false;
    }
    data += wrote;
    left -= wrote;
  }
  return true;
}

}  // namespace

QString DiskFullText() { return QStringLiteral("磁盘空间不足，无法保存"); }

QString NotRegularFileText() { return QStringLiteral("不是普通文件"); }

bool ReadWholeFile(const QString& path, QByteArray* bytes, QString* error) {
  bytes->clear();
  // Plain system calls: QFile's open alone costs more than parsing a whole song's lyrics.
  const QByteArray name = QFile::encodeName(path);
  if (name.contains('\0')) {  // the system would open the file named by the part before it
    SetError(error, SystemError(ENOENT));
    return false;
  }
  // Without O_NONBLOCK, opening a pipe waits until somebody writes to it.
  const FileCloser closer{::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  if (closer.fd < 0) {
    SetError(error, SystemError(errno));
    return false;
  }
  struct stat info {};
  if (::fstat(closer.fd, &info) != 0) {
    SetError(error, SystemError(errno));
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    SetError(error, SystemError(EISDIR));
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    SetError(error, NotRegularFileText());
    return false;
  }
  if (info.st_size > kMaxTextFileBytes) {
    SetError(error, TooLargeText());
    return false;
  }
  // The file is read up to the size it had when it was opened.
  qint64 have = 0;
  bytes->resize(qint64(info.st_size));
  while (have < bytes->size()) {
    const ssize_t got = ::read(closer.fd, bytes->data() + have, size_t(bytes->size() - have));
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
  static const bool sizeLimitSignalIgnored = [] {
    std::signal(SIGXFSZ, SIG_IGN);
    return true;
  }();
  (void)sizeLimitSignalIgnored;

  const QByteArray target = QFile::encodeName(SaveTarget(path));
  if (path.isEmpty() || target.contains('\0')) {
    SetError(error, SystemError(ENOENT));
    return false;
  }
  struct stat old {};
  const bool replacing = ::stat(target.constData(), &old) == 0;
  if (!replacing && errno != ENOENT) {
    SetError(error, SystemError(errno));
    return false;
  }
  if (replacing && !S_ISREG(old.st_mode)) {
    SetError(error, S_ISDIR(old.st_mode) ? SystemError(EISDIR) : NotRegularFileText());
    return false;
  }
  // A file the user may not write is not replaced behind its back (root may write anything).
  if (replacing && ::access(target.constData(), W_OK) != 0) {
    SetError(error, SystemError(errno));
    return false;
  }

  QByteArray temporary;
  FileCloser file{CreateBeside(target, replacing ? 0600 : 0666, &temporary)};
  if (file.fd < 0) {
    SetError(error, WriteErrorText(errno));
    return false;
  }
  const auto fail = [&](int number) {
    if (file.fd >= 0) ::close(file.fd);
    file.fd = -1;
    ::unlink(temporary.constData());
    SetError(error, WriteErrorText(number));
    return false;
  };
  if (replacing) {
    // Owner first: a change of owner clears the set-id bits that the mode then restores.
    if (::fchown(file.fd, old.st_uid, old.st_gid) != 0 && ::fchown(file.fd, uid_t(-1), old.st_gid) != 0) {
      // Not allowed to give the file away: it stays the saving user's.
    }
    if (::fchmod(file.fd, old.st_mode & 07777) != 0) return fail(errno);
  }
  if (!WriteAll(file.fd, bytes)) return fail(errno);
  // fsync reports EINVAL where the file system cannot sync; there is nothing more to wait for.
  if (::fsync(file.fd) != 0 && errno != EINVAL) return fail(errno);
  const int fd = file.fd;
  file.fd = -1;
  if (::close(fd) != 0 && errno != EINTR) return fail(errno);
  if (::rename(temporary.constData(), target.constData()) != 0) return fail(errno);
  return true;
}

}  // namespace lyrova
