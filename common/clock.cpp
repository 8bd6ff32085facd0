#include "common/clock.h"

#include <cstdlib>

namespace lyrova {
namespace {

struct ClockCache {
  bool valid = false;
  qint64 second = 0;
  QString text;
};

QString TwoDigits(qint64 value) { return QString::number(value).rightJustified(2, u'0'); }

// The cache key: whole seconds for times from 0 on; for a negative time, -1 - the whole
// seconds of its magnitude, so that -500 ms and 500 ms never share a text.
qint64 SecondKey(qint32 ms) {
  const qint64 value = ms;
  return value >= 0 ? value / 1000 : -1 - (-value / 1000);
}

template <typename Format>
QString Cached(ClockCache& cache, qint32 ms, Format format) {
  const qint64 second = SecondKey(ms);
  if (!cache.valid || cache.second != second) {
    cache.text = format(second);
    cache.second = second;
    cache.valid = true;
  }
  return cache.text;
}

QString PlayerClockText(qint64 seconds) {
  if (seconds < 0) return u'-' + PlayerClockText(-1 - seconds);
  const qint64 h = seconds / 3600;
  const qint64 m = (seconds % 3600) / 60;
  const qint64 s = seconds % 60;
  if (h == 0) return TwoDigits(m) + u':' + TwoDigits(s);
  return TwoDigits(h) + u':' + TwoDigits(m) + u':' + TwoDigits(s);
}

QString EditorClockText(qint64 seconds) {
  if (seconds < 0) return u'-' + EditorClockText(-1 - seconds);
  return TwoDigits(seconds / 3600) + u':' + TwoDigits((seconds % 3600) / 60) + u':' +
         TwoDigits(seconds % 60);
}

}  // namespace

QString FormatClock(qint32 ms) {
  thread_local ClockCache cache;
  return Cached(cache, ms, PlayerClockText);
}

QString FormatEditorClock(qint32 ms) {
  if (ms == -1) return QString(8, u' ');
  thread_local ClockCache cache;
  return Cached(cache, ms, EditorClockText);
}

}  // namespace lyrova
