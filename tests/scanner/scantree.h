#pragma once

// A throw-away file tree for the Scanner tests. Paths in the tables use "$" for the tree's root.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// "a|b|c" as a list; "" is the empty list.
inline QStringList L(const char16_t* items) {
  const QString text = QString::fromUtf16(items);
  return text.isEmpty() ? QStringList() : text.split(u'|');
}

class ScanTree {
 public:
  ScanTree() = default;
  // A tree inside `base` (say a memory file system, where making many folders is quick).
  explicit ScanTree(const QString& base) : dir_(base + QStringLiteral("/scantree-XXXXXX")) {}

  bool IsValid() const { return dir_.isValid(); }
  QString Root() const { return dir_.path(); }

  // "$" replaced by the root; a relative entry is taken inside the root.
  QString Expand(const QString& text) const {
    if (!text.startsWith(u'$') && !text.startsWith(u'/')) return Root() + u'/' + text;
    QString expanded = text;
    return expanded.replace(u'$', Root());
  }
  QStringList Expand(const QStringList& texts) const {
    QStringList expanded;
    for (const QString& text : texts) expanded.append(Expand(text));
    return expanded;
  }

  // Creates each entry: a folder when it ends in "/", else an empty file (folders made as
  // needed). "a -> b" makes a symbolic link a pointing at b.
  bool Make(const QStringList& entries) const {
    for (const QString& entry : entries) {
      const qsizetype arrow = entry.indexOf(QStringLiteral(" -> "));
      if (arrow >= 0) {
        const QString link = Expand(entry.left(arrow));
        if (!QDir().mkpath(QFileInfo(link).path())) return false;
        if (!QFile::link(Expand(entry.mid(arrow + 4)), link)) return false;
        continue;
      }
      const QString path = Expand(entry);
      if (path.endsWith(u'/')) {
        if (!QDir().mkpath(path)) return false;
        continue;
      }
      if (!QDir().mkpath(QFileInfo(path).path())) return false;
      QFile file(path);
      if (!file.open(QIODevice::WriteOnly)) return false;
    }
    return true;
  }

  QByteArray ReadBytes(const QString& path) const {
    QFile file(Expand(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  bool WriteBytes(const QString& path, const QByteArray& bytes) const {
    QFile file(Expand(path));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
  }

  // A chain $/<name>/d/d/.../d of `depth` folders below `name`, built relative to open
  // folders because its full path is longer than the system allows. Returns the number of
  // folders made.
  int MakeChain(const QString& name, int depth, const char* bottomFile) const {
    int fd = ::open(QFile::encodeName(Root()).constData(), O_RDONLY | O_DIRECTORY);
    const QByteArray first = QFile::encodeName(name);
    const char* next = first.constData();
    int made = 0;
    for (int level = 0; fd >= 0 && level < depth; ++level) {
      if (::mkdirat(fd, next, 0755) != 0) break;
      const int child = ::openat(fd, next, O_RDONLY | O_DIRECTORY);
      ::close(fd);
      fd = child;
      next = "d";
      ++made;
    }
    if (fd >= 0 && bottomFile) {
      const int file = ::openat(fd, bottomFile, O_WRONLY | O_CREAT, 0644);
      if (file >= 0) ::close(file);
    }
    if (fd >= 0) ::close(fd);
    return made;
  }

  // Removes a chain made by MakeChain (and a deep tree like it) by moving its lower part up
  // one level at a time, so no path ever gets long.
  void RemoveChain(const QString& name) const {
    const QByteArray top = QFile::encodeName(Expand(QStringLiteral("$/") + name));
    const QByteArray spare = QFile::encodeName(Expand(QStringLiteral("$/.spare")));
    for (;;) {
      ClearFiles(top);
      if (::rename(QByteArray(top + "/d").constData(), spare.constData()) != 0) break;
      if (::rmdir(top.constData()) != 0) break;
      if (::rename(spare.constData(), top.constData()) != 0) break;
    }
    ::rmdir(top.constData());
  }

 private:
  // Deletes the entries of `folder` that are not the chain's next level "d".
  static void ClearFiles(const QByteArray& folder) {
    QDir dir(QFile::decodeName(folder));
    const QStringList names =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : names) {
      if (entry == u"d") continue;
      const QString path = dir.filePath(entry);
      if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
        QDir(path).removeRecursively();
      else
        QFile::remove(path);
    }
  }

  QTemporaryDir dir_;
};
