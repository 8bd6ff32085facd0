#include "lyrics/lyricsdocument.h"

#include "common/paths.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace lyrova {

void ClearLyrics(LyricsDocument& doc) { doc = LyricsDocument(); }

QString StoredLineText(const QString& text) {
  QString trimmed = TrimBlanks(text);
  return trimmed.isEmpty() ? text : trimmed;
}

bool SortByTime(QList<LyricLine>& lines) {
  const auto byTime = [](const LyricLine& a, const LyricLine& b) { return a.time < b.time; };
  if (std::is_sorted(lines.cbegin(), lines.cend(), byTime)) return false;
  const qsizetype n = lines.size();
  if (quint64(n) > std::numeric_limits<quint32>::max()) {
    std::stable_sort(lines.begin(), lines.end(), byTime);
    return true;
  }
  // Sort (time, original index) keys, which makes equal times keep their order, then move the
  // lines into place cycle by cycle instead of through a second list.
  std::vector<quint64> keys(static_cast<size_t>(n));
  for (qsizetype i = 0; i < n; ++i)
    keys[size_t(i)] = (quint64(quint32(lines[i].time) ^ 0x80000000u) << 32) | quint64(i);
  std::sort(keys.begin(), keys.end());
  constexpr quint64 kPlaced = std::numeric_limits<quint64>::max();
  for (qsizetype start = 0; start < n; ++start) {
    if (keys[size_t(start)] == kPlaced) continue;
    LyricLine held = std::move(lines[start]);
    qsizetype to = start;
    for (;;) {
      const auto from = qsizetype(keys[size_t(to)] & 0xFFFFFFFFu);
      keys[size_t(to)] = kPlaced;
      if (from == start) break;
      lines[to] = std::move(lines[from]);
      to = from;
    }
    lines[to] = std::move(held);
  }
  return true;
}

void InsertLyricLine(LyricsDocument& doc, qint32 time, const QString& text, bool timed,
                     bool restart) {
  if (restart) doc.lines.clear();
  const auto at = std::upper_bound(doc.lines.begin(), doc.lines.end(), time,
                                   [](qint32 t, const LyricLine& line) { return t < line.time; });
  doc.lines.insert(at, LyricLine{time, StoredLineText(text), timed});
}

}  // namespace lyrova
