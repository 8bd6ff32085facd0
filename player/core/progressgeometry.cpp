#include "player/core/progressgeometry.h"

#include "common/numbertext.h"

#include <algorithm>

namespace lyrova {

qint32 RoundHalfEven(double value) { return RoundClampInt32(value); }

ProgressPicture ProgressFor(qint32 barWidth, qint32 mediaLengthMs, qint32 positionMs,
                            qint32 nextMs, bool lyricsLoaded) {
  ProgressPicture picture;
  if (mediaLengthMs > 0) {
    const double scale = double(barWidth) / mediaLengthMs;
    picture.playedX = RoundHalfEven(scale * positionMs);
    picture.nextX = RoundHalfEven(scale * nextMs);
  }
  picture.showSpan = lyricsLoaded && picture.playedX < picture.nextX;
  return picture;
}

qint32 SeekTargetFor(qint32 x, qint32 barWidth, qint32 mediaLengthMs) {
  if (barWidth <= 0) return 0;
  const qint32 clamped = std::clamp(x, 0, barWidth);
  return RoundHalfEven(double(clamped) / barWidth * mediaLengthMs);
}

qint32 VolumeForX(qint32 x, qint32 barWidth) {
  if (barWidth <= 0) return 0;
  return RoundHalfEven(double(x) / barWidth * 1000.0);
}

qint32 VolumeFillWidth(qint32 volume, qint32 barWidth) {
  if (volume < 1 || barWidth <= 0) return 0;
  return RoundHalfEven(double(volume) / 1000.0 * barWidth);
}

}  // namespace lyrova
