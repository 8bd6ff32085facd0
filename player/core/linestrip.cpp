#include "player/core/linestrip.h"

#include "player/core/wakeplan.h"

#include <QStringList>

#include <algorithm>

namespace lyrova {
namespace {

const QString kGroupJoin = QStringLiteral("  /  ");

// The word timing of `line`, or null when it has none.
const QList<LyricWord>* WordsOf(const LyricsDocument& doc, const StripLine& line) {
  if (line.index < 0 || line.index >= doc.lines.size()) return nullptr;
  const qint32 words = doc.lines[line.index].words;
  if (words < 0 || words >= doc.words.size() || doc.words[words].isEmpty()) return nullptr;
  return &doc.words[words];
}

qint64 StartKey(const LyricsDocument& doc, const StripLine& line, const LyricWord& word) {
  return qint64(doc.lines[line.index].time) + word.time;
}

// The first word whose start is after `key`.
qsizetype FirstWordAfter(const LyricsDocument& doc, const StripLine& line,
                         const QList<LyricWord>& words, qint64 key) {
  const qint64 relative = key - doc.lines[line.index].time;
  return std::upper_bound(words.cbegin(), words.cend(), relative,
                          [](qint64 k, const LyricWord& w) { return k < w.time; }) -
         words.cbegin();
}

// Where the singing of the line ends: at a closing tag (a last word without text), else when
// the last word has had its time, or the line ends.
qint64 SingingEnd(const LyricsDocument& doc, const StripLine& line, const QList<LyricWord>& words) {
  const LyricWord& last = words.last();
  const qint64 start = StartKey(doc, line, last);
  if (last.start >= doc.lines[line.index].text.size()) return start;
  return std::max(start, std::min(line.endKey, start + kLastWordMs));
}

}  // namespace

LineGroup FindCurrentGroup(const LyricsDocument& doc, qint32 key) {
  const auto after = std::upper_bound(doc.lines.cbegin(), doc.lines.cend(), key,
                                      [](qint32 k, const LyricLine& line) { return k < line.time; });
  const qint32 last = std::max(qint32(after - doc.lines.cbegin()) - 1, 0);
  const qint32 time = doc.lines[last].time;
  const auto first = std::lower_bound(doc.lines.cbegin(), doc.lines.cend(), time,
                                      [](const LyricLine& line, qint32 t) { return line.time < t; });
  LineGroup group{qint32(first - doc.lines.cbegin()), last};
  // Before the first line `last` is line 0, not yet the end of its group.
  while (group.last + 1 < doc.lines.size() && doc.lines[group.last + 1].time == time) ++group.last;
  return group;
}

QString GroupCompanionText(const LyricsDocument& doc, const LineGroup& group) {
  if (group.last > group.first) {
    QStringList others;
    for (qint32 i = group.first + 1; i <= group.last; ++i) others.append(doc.lines[i].text);
    return others.join(kGroupJoin);
  }
  return group.last + 1 < doc.lines.size() ? doc.lines[group.last + 1].text : QString();
}

qint64 StripFrameOf(qint64 key) {
  const qint64 rest = key % kStripFrameMs;
  return key - (rest < 0 ? rest + kStripFrameMs : rest);
}

LineProgress ProgressAt(const LyricsDocument& doc, const StripLine& line, qint64 key) {
  LineProgress progress;
  if (line.index < 0 || line.index >= doc.lines.size()) return progress;
  const qint64 frame = StripFrameOf(key);
  const LyricLine& text = doc.lines[line.index];
  if (line.scrolls) {
    const qint64 span = line.endKey - text.time;
    if (line.endKey != kNever)
      progress.lineFraction = span <= 0 ? 1.0 : std::clamp(double(frame - text.time) / double(span), 0.0, 1.0);
  }
  const QList<LyricWord>* words = WordsOf(doc, line);
  if (words == nullptr) return progress;
  const qsizetype size = text.text.size();
  const qsizetype begun = FirstWordAfter(doc, line, *words, frame);
  progress.sungChars = 0;
  if (begun == 0) return progress;
  const qsizetype i = begun - 1;
  const qint32 start = qint32(std::min<qsizetype>((*words)[i].start, size));
  const qint32 end = i + 1 < words->size() ? qint32(std::min<qsizetype>((*words)[i + 1].start, size)) : qint32(size);
  const qint64 from = StartKey(doc, line, (*words)[i]);
  const qint64 until = i + 1 < words->size() ? StartKey(doc, line, (*words)[i + 1]) : SingingEnd(doc, line, *words);
  if (frame >= until) {
    progress.sungChars = end;
    return progress;
  }
  progress.sungChars = start;
  progress.wordChars = std::max(end - start, 0);
  progress.wordFraction = double(frame - from) / double(until - from);
  return progress;
}

qint64 NextProgressKey(const LyricsDocument& doc, const StripLine& line, qint64 key) {
  if (line.index < 0 || line.index >= doc.lines.size()) return kNever;
  const qint64 frame = StripFrameOf(key);
  const qint64 nextFrame = frame + kStripFrameMs;
  qint64 next = kNever;
  if (line.scrolls && nextFrame < line.endKey) next = nextFrame;
  if (const QList<LyricWord>* words = WordsOf(doc, line)) {
    const qint64 first = StartKey(doc, line, words->first());
    if (frame < first)
      next = std::min(next, StripFrameOf(first + kStripFrameMs - 1));
    else if (frame < SingingEnd(doc, line, *words))
      next = std::min(next, nextFrame);
  }
  return next;
}

qint64 NextWordStartKey(const LyricsDocument& doc, const StripLine& line, qint64 key) {
  const QList<LyricWord>* words = WordsOf(doc, line);
  if (words == nullptr) return kNever;
  const qsizetype size = doc.lines[line.index].text.size();
  for (qsizetype i = FirstWordAfter(doc, line, *words, key); i < words->size(); ++i) {
    // A word without text (a closing tag) is never told about.
    const qsizetype end = i + 1 < words->size() ? (*words)[i + 1].start : size;
    if (end > (*words)[i].start) return StartKey(doc, line, (*words)[i]);
  }
  return kNever;
}

qint32 WordBegunAt(const LyricsDocument& doc, const StripLine& line, qint64 key) {
  const QList<LyricWord>* words = WordsOf(doc, line);
  if (words == nullptr) return 0;
  qsizetype i = FirstWordAfter(doc, line, *words, key) - 1;
  if (i < 0) return 0;
  while (i > 0 && (*words)[i - 1].time == (*words)[i].time) --i;
  return qint32(i);
}

double ScrollOffsetFor(double textWidth, double viewWidth, const LineProgress& progress, double sungX) {
  const double range = textWidth - viewWidth;
  if (range <= 0) return 0;
  if (progress.sungChars >= 0 && sungX >= 0) return std::clamp(sungX - viewWidth / 2, 0.0, range);
  return progress.lineFraction * range;
}

}  // namespace lyrova
