#include "common/casematch.h"

#include "common/paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>

#include <sys/stat.h>

namespace lyrova {

bool SameEntryIgnoringCase(const QString& a, const QString& b) {
  if (a == b) return true;
  if (a.compare(b, Qt::CaseInsensitive) != 0) return false;
  struct stat first {};
  struct stat second {};
  // An entry that cannot be examined cannot be told apart: the spellings count as one.
  if (::stat(QFile::encodeName(a).constData(), &first) != 0 ||
      ::stat(QFile::encodeName(b).constData(), &second) != 0)
    return true;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

QString FindFileIgnoringCase(const QString& path) {
  if (FileExists(path)) return path;
  const qsizetype slash = path.lastIndexOf(u'/');
  const QString prefix = path.left(slash + 1);
  const QString name = path.mid(slash + 1);
  if (name.isEmpty()) return {};
  // Names are compared before anything is asked about an entry: a search folder may hold
  // thousands of files, and only the few matching names need a FileExists check.
  QStringList matches;
  QDirIterator entries(prefix.isEmpty() ? QStringLiteral(".") : prefix,
                       QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  while (entries.hasNext()) {
    entries.next();
    const QString entry = entries.fileName();
    if (entry.compare(name, Qt::CaseInsensitive) == 0) matches.append(entry);
  }
  matches.sort(Qt::CaseSensitive);
  for (const QString& match : std::as_const(matches)) {
    const QString candidate = prefix + match;
    if (FileExists(candidate)) return candidate;
  }
  return {};
}

}  // namespace lyrova
