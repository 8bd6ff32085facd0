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

quint64 CaseKey(QStringView text) {
  // QString::compare folds each UTF-16 unit on its own, or a low surrogate together with the
  // high one before it; a folded BMP letter stays in the BMP outside the surrogates and a
  // folded supplementary one stays supplementary. So mapping every surrogate (and U+FFFD,
  // which newer Qt versions may put in place of a lone surrogate) to one mark, and folding
  // the other units alone, keeps every pair that compares equal on one key.
  constexpr char32_t kMark = 0xD800;
  quint64 hash = 0xcbf29ce484222325ULL;  // FNV-1a over the folded units
  for (const QChar unit : text) {
    const char16_t code = unit.unicode();
    const char32_t folded =
        (QChar::isSurrogate(code) || code == 0xFFFD) ? kMark : QChar::toCaseFolded(char32_t(code));
    for (int shift = 0; shift < 32; shift += 8) {
      hash ^= (folded >> shift) & 0xFF;
      hash *= 0x100000001b3ULL;
    }
  }
  // A final mix, so that keys differing in their last unit spread over a table's buckets.
  hash ^= hash >> 33;
  hash *= 0xff51afd7ed558ccdULL;
  hash ^= hash >> 33;
  return hash;
}

}  // namespace lyrova
