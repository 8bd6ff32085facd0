#include "lyrics/wordtags.h"

#include "lyrics/lrctags.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace lyrova {
namespace {

// The most characters between "<" and ">" of a word tag ("99:59.999" has 9): a "<" is never
// followed further than this, which keeps the scan linear whatever the text.
constexpr qsizetype kLongestWordTag = 16;

// The time of the word tag whose "<" stands at `open`, or -1; sets `end` just after its ">".
qint32 WordTagAt(QStringView text, qsizetype open, qsizetype* end) {
  const qsizetype limit = std::min(text.size(), open + 2 + kLongestWordTag);
  for (qsizetype i = open + 1; i < limit; ++i) {
    const char16_t c = text[i].unicode();
    if (c == u'>') {
      if (i == open + 1) return -1;
      *end = i + 1;
      return ParseTimeTag(text.sliced(open + 1, i - open - 1));
    }
    if (!((c >= u'0' && c <= u'9') || c == u':' || c == u'.')) return -1;
  }
  return -1;
}

// The next valid word tag at or after `from`: its "<", or -1. Sets `time` and `end`.
qsizetype NextWordTag(QStringView text, qsizetype from, qint32* time, qsizetype* end) {
  for (qsizetype open = text.indexOf(u'<', from); open >= 0; open = text.indexOf(u'<', open + 1)) {
    *time = WordTagAt(text, open, end);
    if (*time >= 0) return open;
  }
  return -1;
}

}  // namespace

bool TakeWordTags(QString& text, qint32 lineTime, QList<LyricWord>* words) {
  if (text.size() > std::numeric_limits<qint32>::max()) return false;
  qint32 time = -1;
  qsizetype end = 0;
  qsizetype open = NextWordTag(text, 0, &time, &end);
  if (open < 0) return false;

  // The tags are taken out in place: kept characters only ever move towards the start.
  QChar* const chars = text.data();
  const qsizetype size = text.size();
  const QStringView all(chars, size);
  QList<LyricWord> found;
  qint32 previous = 0;
  qsizetype out = open;  // the text before the first tag stays where it is
  if (open > 0) found.append(LyricWord{0, 0});
  for (;;) {
    previous = std::max(previous, time - lineTime);
    found.append(LyricWord{previous, qint32(out)});
    const qsizetype read = end;
    open = NextWordTag(all, read, &time, &end);
    const qsizetype segmentEnd = open < 0 ? size : open;
    std::memmove(chars + out, chars + read, size_t(segmentEnd - read) * sizeof(QChar));
    out += segmentEnd - read;
    if (open < 0) break;
  }

  // Blanks that taking the tags brought to either end go, as the Player trims every text.
  qsizetype first = 0;
  qsizetype last = out;
  while (first < last && chars[first] == u' ') ++first;
  while (last > first && chars[last - 1] == u' ') --last;
  std::memmove(chars, chars + first, size_t(last - first) * sizeof(QChar));
  text.truncate(last - first);
  for (LyricWord& word : found)
    word.start = qint32(std::clamp<qsizetype>(word.start - first, 0, last - first));
  *words = std::move(found);
  return true;
}

QStringView WordText(const QString& text, const QList<LyricWord>& words, qsizetype index) {
  const qsizetype start = words[index].start;
  const qsizetype end = index + 1 < words.size() ? words[index + 1].start : text.size();
  return QStringView(text).sliced(start, std::max<qsizetype>(end - start, 0));
}

}  // namespace lyrova
