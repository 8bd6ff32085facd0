#pragma once

#include "lyrics/lyricsdocument.h"

#include <QtGlobal>

#include <limits>

// When playback next changes something the Player shows. Each function answers for one part of
// the window the first media time after `positionMs` at which that part would look different;
// kNever when it never will. The Player arms one timer for the earliest of them instead of
// redrawing at a fixed rate, so a moment may be answered early (a wake-up that finds nothing
// new costs one redraw) but never late (that would show a stale frame).
namespace lyrova {

inline constexpr qint64 kNever = std::numeric_limits<qint64>::max();

// The first key (position + shift) after `key` at which FindCurrentLine gives another line than
// at `key`: the time of the next later line, or one millisecond on when another line shares the
// current line's time (the last line of such a group wins once its time has passed). With
// `groupLines` lines of one time are current together: only the next later time counts.
qint64 NextLineChangeKey(const LyricsDocument& doc, qint32 key, bool groupLines = false);

// The first position after `positionMs` at which the progress bar's played part ends at another
// pixel (see ProgressFor).
qint64 NextPixelChange(qint32 barWidth, qint32 mediaLengthMs, qint32 positionMs);

// The first position after `positionMs` whose clock text (whole seconds) differs.
qint64 NextClockChange(qint32 positionMs);

}  // namespace lyrova
