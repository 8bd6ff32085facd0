#include "player/core/linecursor.h"

#include "player/core/linestrip.h"

#include <algorithm>
#include <limits>

namespace lyrova {

qint32 FindCurrentLine(const LyricsDocument& doc, qint32 current, qint32 key) {
  const qint32 count = qint32(doc.count());
  if (current >= count || current < 0) current = 0;
  if (count > 0 && doc.lines[current].time == key) return current;
  // The first line whose time is not below the key: an exact match wins, else the line before.
  const auto first = std::lower_bound(doc.lines.cbegin(), doc.lines.cend(), key,
                                      [](const LyricLine& line, qint32 k) { return line.time < k; });
  qint32 index = qint32(first - doc.lines.cbegin());
  if (index == count || first->time != key) --index;
  return std::max(index, 0);
}

qint32 TrackCurrentLine(LineCursor& cursor, const LyricsDocument& doc, const PlaybackFacts& facts,
                        qint32 positionMs, qint32 offsetMs) {
  if (facts.lyricsBusy) return 0;
  const qint64 key = qint64(positionMs) + offsetMs;
  const qint32 count = qint32(doc.count());
  if (key < 0) {
    cursor.trackIndex = 0;
    cursor.nextLineTime = count > 1 ? doc.lines[1].time - offsetMs : facts.mediaLength;
  }
  if (!facts.lyricsLoaded || !facts.isOpen) {
    cursor.nextLineTime = 0;
    return 0;
  }
  const qint32 clamped = qint32(std::clamp<qint64>(key, std::numeric_limits<qint32>::min(),
                                                   std::numeric_limits<qint32>::max()));
  cursor.trackIndex = facts.groupLines && count > 0 ? FindCurrentGroup(doc, clamped).last
                                                    : FindCurrentLine(doc, cursor.trackIndex, clamped);
  if (cursor.trackIndex != cursor.lastTrackedLine) {
    cursor.nextLineTime = cursor.trackIndex + 1 >= count
                              ? facts.mediaLength
                              : doc.lines[cursor.trackIndex + 1].time - offsetMs;
    cursor.lastTrackedLine = cursor.trackIndex;
  }
  return cursor.nextLineTime;
}

LineChange ShowCurrentLine(LineCursor& cursor, const LyricsDocument& doc,
                           const PlaybackFacts& facts, qint32 key) {
  LineChange change;
  if (facts.lyricsBusy) return change;
  if (!facts.lyricsLoaded) {
    change.idle = true;
    return change;
  }
  if (!facts.isOpen) return change;
  const qint32 count = qint32(doc.count());
  LineGroup group;
  if (facts.groupLines && count > 0) {
    group = FindCurrentGroup(doc, key);
    cursor.displayIndex = group.first;
  } else {
    cursor.displayIndex = FindCurrentLine(doc, cursor.displayIndex, key);
    group = LineGroup{cursor.displayIndex, cursor.displayIndex};
  }
  if (cursor.displayIndex == cursor.lastShownLine) return change;
  if (cursor.displayIndex < count) {
    change.changed = true;
    change.index = cursor.displayIndex;
    change.groupLast = group.last;
    change.current = doc.lines[cursor.displayIndex].text;
    change.next = GroupCompanionText(doc, group);
  }
  cursor.lastShownLine = cursor.displayIndex;
  return change;
}

}  // namespace lyrova
