#include "player/core/wakeplan.h"

#include "player/core/progressgeometry.h"

#include <algorithm>
#include <cmath>

namespace lyrova {

qint64 NextLineChangeKey(const LyricsDocument& doc, qint32 key, bool groupLines) {
  const auto later = std::upper_bound(doc.lines.cbegin(), doc.lines.cend(), key,
                                      [](qint32 k, const LyricLine& line) { return k < line.time; });
  qint64 next = later == doc.lines.cend() ? kNever : later->time;
  if (groupLines) return next;
  // Lines sharing the key's time: the first of them is current exactly at the time, the last one
  // from the millisecond after.
  const qsizetype equal = later - doc.lines.cbegin();
  if (equal >= 2 && doc.lines[equal - 1].time == key && doc.lines[equal - 2].time == key)
    next = std::min<qint64>(next, qint64(key) + 1);
  return next;
}

qint64 NextPixelChange(qint32 barWidth, qint32 mediaLengthMs, qint32 positionMs) {
  if (barWidth <= 0 || mediaLengthMs <= 0) return kNever;
  const auto playedX = [&](qint64 ms) {
    return ProgressFor(barWidth, mediaLengthMs, qint32(std::min<qint64>(ms, mediaLengthMs)), 0, false).playedX;
  };
  const qint32 now = playedX(positionMs);
  if (positionMs >= mediaLengthMs || now >= barWidth) return kNever;
  // The pixel ends where scale * ms passes now + 0.5; the estimate is corrected against the
  // rounding ProgressFor really does, a step or two either way.
  const double scale = double(barWidth) / mediaLengthMs;
  qint64 at = std::max<qint64>(qint64(positionMs) + 1, qint64(std::ceil((now + 0.5) / scale)));
  while (at > qint64(positionMs) + 1 && playedX(at - 1) > now) --at;
  while (at <= mediaLengthMs && playedX(at) <= now) ++at;
  return at > mediaLengthMs ? kNever : at;
}

qint64 NextClockChange(qint32 positionMs) {
  if (positionMs < 0) {
    // "-" and the clock of the magnitude: the whole seconds of the magnitude count down.
    const qint64 seconds = -qint64(positionMs) / 1000;
    return seconds == 0 ? 0 : -(seconds * 1000 - 1);
  }
  return (qint64(positionMs) / 1000 + 1) * 1000;
}

}  // namespace lyrova
