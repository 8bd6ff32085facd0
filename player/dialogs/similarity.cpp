#include "player/dialogs/similarity.h"

#include "common/paths.h"

#include <limits>

namespace lyrova {

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == QChar(0x3000); }

}  // namespace

QString NormalizeForSimilarity(const QString& name) {
  const QString upper = TrimBlanks(name).toUpper();
  QString result;
  result.reserve(upper.size());
  bool inBlanks = false;
  for (const QChar c : upper) {
    if (IsBlank(c)) {
      if (!inBlanks) result.append(u' ');
      inBlanks = true;
    } else {
      result.append(c);
      inBlanks = false;
    }
  }
  return result;
}

qint32 SimilarityScore(const QString& songName, const QString& lyricsName) {
  const QString a = NormalizeForSimilarity(songName);
  const QString b = NormalizeForSimilarity(lyricsName);
  const qsizetype lengthA = a.size();
  const qsizetype lengthB = b.size();
  // Positions below are 0-based; the walk is the 1-based one with every index lowered by one,
  // so "i strictly less than the length of B" becomes i < lengthB - 1.
  qint64 score = 0;
  for (qsizetype h = 0; h < lengthA; ++h) {
    qsizetype i = 0;
    for (;;) {
      const qsizetype found = b.indexOf(a.at(h), i);
      if (found < 0) break;
      i = found;
      qsizetype k = h;
      qint64 j = 0;
      while (k < lengthA && i < lengthB) {
        ++j;
        const bool same = a.at(k) == b.at(i);
        ++k;
        ++i;
        if (!same) break;
        score += j;
      }
      if (i >= lengthB - 1) break;
    }
  }
  constexpr qint64 kMax = std::numeric_limits<qint32>::max();
  return static_cast<qint32>(score > kMax ? kMax : score);
}

}  // namespace lyrova
