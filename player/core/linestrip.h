#pragma once

#include "lyrics/lyricsdocument.h"

#include <QString>
#include <QtGlobal>

// What the current-line label shows between line changes: the lines of one time taken as a
// group (an original and its translations), how much of a word-timed line has been sung and how
// far a line too wide for its label has scrolled. All of it is a function of the key (position
// plus shift) stepped to a fixed frame, so a wake-up at any moment shows what the planned
// wake-ups show, and the label changes at most once a frame.
namespace lyrova {

// The lines of one time: [first, last], in file order.
struct LineGroup {
  qint32 first = 0;
  qint32 last = 0;
};

// The group current at `key`: the group of the last line whose time is not after the key; the
// first group before the first line. The document must not be empty.
LineGroup FindCurrentGroup(const LyricsDocument& doc, qint32 key);

// What the next-line label shows while `group` is current: the group's other lines joined by
// "  /  ", or for a group of one line the line after it (empty after the last line).
QString GroupCompanionText(const LyricsDocument& doc, const LineGroup& group);

// The sung part and the scroll state change at most once per frame: 40 ms, 25 a second, which
// still moves smoothly and keeps the repaints of a line being sung cheap.
inline constexpr qint32 kStripFrameMs = 40;
// A last word that no end tag closes is sung for this long, or up to the next line if sooner.
inline constexpr qint32 kLastWordMs = 1000;

// The start of the frame that holds `key`.
qint64 StripFrameOf(qint64 key);

// How far the current line stands in its time, as the label paints it. `sungChars` characters
// are sung in full, the next `wordChars` (the word being sung) up to `wordFraction`; -1: the line
// has no word timing. `lineFraction` is how much of the line's time has passed (0 when the line
// does not scroll).
struct LineProgress {
  qint32 sungChars = -1;
  qint32 wordChars = 0;
  double wordFraction = 0;
  double lineFraction = 0;
  friend bool operator==(const LineProgress&, const LineProgress&) = default;
};

// The current line as the strip follows it: its index, its time span in keys (`endKey`: the
// next later line's time, or the song's end) and whether it is too wide for its label.
struct StripLine {
  qint32 index = -1;
  qint64 endKey = 0;
  bool scrolls = false;
};

// The progress of `line` at `key` (stepped to its frame). Words keep their text order: a word's
// singing ends where the next one's starts.
LineProgress ProgressAt(const LyricsDocument& doc, const StripLine& line, qint64 key);

// The first key after `key` at which ProgressAt may differ: the next frame while a word is sung
// or the line scrolls, the frame of the first word's start before it; kNever once the last word
// is sung and the line does not scroll.
qint64 NextProgressKey(const LyricsDocument& doc, const StripLine& line, qint64 key);

// The first word start of `line` after `key` (kNever when none).
qint64 NextWordStartKey(const LyricsDocument& doc, const StripLine& line, qint64 key);

// The index of the first word of `line` to tell about at `key` when the line has just become
// current: the word begun last, or the first of several that began at that moment (0 before
// the first word).
qint32 WordBegunAt(const LyricsDocument& doc, const StripLine& line, qint64 key);

// How far a text `textWidth` wide is moved left in a label `viewWidth` wide: 0 when it fits;
// with word timing the sung point stays in the middle of the label (`sungX`, -1 without), else
// the text moves from its start to its end over the line's time.
double ScrollOffsetFor(double textWidth, double viewWidth, const LineProgress& progress, double sungX);

}  // namespace lyrova
