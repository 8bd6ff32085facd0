#include "lyrics/lineoperations.h"

#include "common/numbertext.h"
#include "common/paths.h"

#include <algorithm>
#include <limits>

namespace lyrova {
namespace {

bool ValidIndex(const LyricsDocument& doc, qsizetype index) {
  return index >= 0 && index < doc.count();
}

qint32 ClampToInt32(qint64 value) {
  return qint32(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                   std::numeric_limits<qint32>::max()));
}

}  // namespace

bool SortLines(LyricsDocument& doc) { return SortByTime(doc.lines); }

void InsertLineAt(LyricsDocument& doc, const QString& text, qsizetype index) {
  if (index < 0 || index > doc.count()) index = doc.count();
  doc.lines.insert(index, LyricLine{0, TrimBlanks(text), false});
}

bool DeleteLine(LyricsDocument& doc, qsizetype index) {
  if (!ValidIndex(doc, index)) return false;
  doc.lines.removeAt(index);
  return true;
}

bool SwapLines(LyricsDocument& doc, qsizetype a, qsizetype b) {
  if (!ValidIndex(doc, a) || !ValidIndex(doc, b)) return false;
  if (a != b) doc.lines.swapItemsAt(a, b);
  return true;
}

bool AutoTimeLines(LyricsDocument& doc, bool byLines, qint32 totalMs) {
  if (totalMs <= 0) return false;
  const qint64 divisor = byLines ? doc.count() : TotalTextLength(doc);
  if (divisor <= 0) return false;
  const qint64 step = RoundClampInt32(double(totalMs) / double(divisor));
  qint64 before = 0;  // lines or characters before the current line
  for (LyricLine& line : doc.lines) {
    line.time = ClampToInt32(step * before);
    line.timed = true;
    before += byLines ? 1 : CharacterCount(line.text);
  }
  return true;
}

qint64 CharacterCount(const QString& text) {
  qint64 count = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i, ++count)
    if (text[i].isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) ++i;
  return count;
}

qint64 TotalTextLength(const LyricsDocument& doc) {
  qint64 total = 0;
  for (const LyricLine& line : doc.lines) total += CharacterCount(line.text);
  return total;
}

}  // namespace lyrova
