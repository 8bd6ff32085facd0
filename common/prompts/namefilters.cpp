#include "common/prompts/namefilters.h"

namespace lyrova {

namespace {

QStringList SplitPatterns(const QString& patterns) {
  QStringList result;
  for (const QString& piece : patterns.split(u';')) {
    const QString pattern = piece.trimmed();
    if (pattern.isEmpty()) continue;
    result << (pattern == u"*.*" ? QStringLiteral("*") : pattern);
  }
  return result;
}

// Letters outside a bracket class become "[xX]"; a class the pattern brings along is copied.
QString FoldPattern(const QString& pattern) {
  QString out;
  bool inClass = false;
  for (const QChar ch : pattern) {
    if (inClass) {
      out += ch;
      if (ch == u']') inClass = false;
    } else if (ch == u'[') {
      out += ch;
      inClass = true;
    } else if (ch.unicode() < 128 && ch.isLetter()) {
      out += u'[' + ch.toLower() + ch.toUpper() + u']';
    } else {
      out += ch;
    }
  }
  return out;
}

QString FoldPatternList(const QString& patterns) {
  QStringList folded;
  for (const QString& pattern : patterns.split(u' ', Qt::SkipEmptyParts)) folded << FoldPattern(pattern);
  return folded.join(u' ');
}

}  // namespace

QStringList ToQtNameFilters(const QString& filter) {
  QStringList result;
  const QStringList parts = filter.split(u'|');
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts.at(i);
    const QString& patterns = parts.at(i + 1);
    if (description.isEmpty() || patterns.isEmpty()) break;
    const QStringList list = SplitPatterns(patterns);
    if (list.isEmpty()) continue;
    result << description + QStringLiteral(" (") + list.join(u' ') + u')';
  }
  return result;
}

QString CaseInsensitiveNameFilter(const QString& nameFilter) {
  const qsizetype open = nameFilter.lastIndexOf(u'(');
  if (nameFilter.endsWith(u')') && open >= 0) {
    const QString inner = nameFilter.mid(open + 1, nameFilter.size() - open - 2);
    return nameFilter.left(open + 1) + FoldPatternList(inner) + u')';
  }
  return FoldPatternList(nameFilter);
}

}  // namespace lyrova
