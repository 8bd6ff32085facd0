#include "scanner/engine/dirfile.h"

#include "common/fileio.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace lyrova {

SearchDirFile::SearchDirFile(const QString& path) : path_(path) {}

void SearchDirFile::Restart() {
  pending_.clear();
  synced_ = false;
}

void SearchDirFile::Append(const QString& directory) { pending_.append(directory); }

bool SearchDirFile::Flush(const QStringList& all) {
  if (pending_.isEmpty()) return true;
  const bool ok = (synced_ && AppendPending()) || Rewrite(all);
  if (ok) {
    pending_.clear();
    error_.clear();
  }
  synced_ = ok;
  return ok;
}

bool SearchDirFile::Rewrite(const QStringList& all) {
  QString text;
  for (const QString& line : all) text += line + QStringLiteral("\r\n");
  TextEncoding used = TextEncoding::Ansi;
  const QByteArray bytes = EncodeFile(text, TextEncoding::Ansi, &used);
  if (!WriteWholeFile(path_, bytes, &error_)) return false;
  encoding_ = used;
  bytesWritten_ += bytes.size();
  return true;
}

bool SearchDirFile::AppendPending() {
  QByteArray bytes;
  TextEncoder encoder(encoding_);
  for (const QString& line : std::as_const(pending_)) {
    bool lossless = true;
    bytes += encoder.Encode(line, &lossless);
    // A folder the file's code page cannot hold: the rewrite switches the file to UTF-8.
    if (!lossless) return false;
    bytes += "\r\n";
  }
  const int fd = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    ::close(fd);
    return false;
  }
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      // Take back the partial line so the file never ends in half a folder.
      if (::ftruncate(fd, info.st_size) != 0) {
        // The rewrite that follows replaces the file anyway.
      }
      ::close(fd);
      return false;
    }
    done += wrote;
  }
  bytesWritten_ += bytes.size();
  return ::close(fd) == 0;
}

}  // namespace lyrova
