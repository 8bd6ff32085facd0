#pragma once

#include <QtGlobal>

// Pixel arithmetic of the progress and volume bars. Divisions round to the nearest integer,
// halves to even; a bar of zero width or a song of zero length never divides by zero.
namespace lyrova {

// Rounds to the nearest integer, halves to even (saturating at the 32-bit range).
qint32 RoundHalfEven(double value);

// The progress bar's picture for one position: the played part ends at `playedX`; when lyrics
// are loaded and `nextX` lies beyond it, the span up to the next line's start is highlighted and
// a marker stands at `playedX`.
struct ProgressPicture {
  qint32 playedX = 0;
  qint32 nextX = 0;
  bool showSpan = false;
};

ProgressPicture ProgressFor(qint32 barWidth, qint32 mediaLengthMs, qint32 positionMs,
                            qint32 nextMs, bool lyricsLoaded);

// The media time for a point on the progress bar: x clamped to 0..barWidth, scaled to the song.
qint32 SeekTargetFor(qint32 x, qint32 barWidth, qint32 mediaLengthMs);

// Volume bar: the volume (0..1000) for a point, and the filled width for a volume.
qint32 VolumeForX(qint32 x, qint32 barWidth);
qint32 VolumeFillWidth(qint32 volume, qint32 barWidth);

}  // namespace lyrova
