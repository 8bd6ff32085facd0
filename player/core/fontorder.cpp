#include "player/core/fontorder.h"

#include "common/paths.h"

#include <algorithm>

namespace lyrova {
namespace {

bool IsWide(const QString& name) {
  return std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() > 0x7F; });
}

bool IsVertical(const QString& name) { return name.startsWith(u'@'); }

}  // namespace

QStringList OrderFontNames(QStringList names) {
  for (QString& name : names) name = TrimBlanks(name);
  const qsizetype n = names.size();
  qsizetype k = 0;
  for (qsizetype d = 0; d < n; ++d)
    if (!IsVertical(names[d]) && IsWide(names[d])) names.swapItemsAt(d, k++);
  for (qsizetype j = k; j < n; ++j)
    if (!IsVertical(names[j])) names.swapItemsAt(j, k++);
  for (qsizetype j = k; j < n; ++j)
    if (IsWide(names[j])) names.swapItemsAt(j, k++);
  return names;
}

}  // namespace lyrova
