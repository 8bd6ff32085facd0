#pragma once

#include "lyrics/lyricsdocument.h"

#include <QString>
#include <QtGlobal>

// Where playback stands in the lyrics. Two indexes move independently: `trackIndex` (with
// `nextLineTime`) drives the progress bar, `displayIndex` is the line shown as current and
// offered for sending. The `last...` fields remember what was last processed; -1 forces the next
// tick to redraw.
namespace lyrova {

struct LineCursor {
  qint32 trackIndex = 0;
  qint32 nextLineTime = 0;  // media ms at which the line after `trackIndex` starts
  qint32 displayIndex = 0;
  qint32 lastTrackedLine = -1;
  qint32 lastShownLine = -1;

  void ForceRedraw() { lastTrackedLine = lastShownLine = -1; }
};

// What the cursor needs to know of the player beside the lyrics.
struct PlaybackFacts {
  bool lyricsBusy = false;    // a load is filling the document: do nothing
  bool lyricsLoaded = false;  // the document holds the lyrics of the current song
  bool isOpen = false;        // the media device has a file open
  qint32 mediaLength = 0;     // ms
  // Lines of one time are current together, the first of them standing for the group (see
  // FindCurrentGroup); otherwise the first is current at the time and the last after it.
  bool groupLines = false;
};

// The line current for `key` (position + shift), starting from `current`: `current` itself when
// its time equals the key exactly; otherwise the first line whose time equals the key, or else the
// last line whose time is below it; line 0 before the first line. Lines must ascend by time.
// Found by binary search, with the same result as a scan from the start.
qint32 FindCurrentLine(const LyricsDocument& doc, qint32 current, qint32 key);

// Moves `trackIndex` to the line current at `positionMs` + `offsetMs` and returns the media time
// at which the next line starts (the song's length after the last line; 0 without lyrics or
// without an open file). While lyrics are loading it returns 0 and changes nothing.
qint32 TrackCurrentLine(LineCursor& cursor, const LyricsDocument& doc, const PlaybackFacts& facts,
                        qint32 positionMs, qint32 offsetMs);

// The decision of one display step for `key`: whether the lyric labels change, to what, and which
// line became current. `idle` asks for the idle text instead (no lyrics loaded).
struct LineChange {
  bool idle = false;
  bool changed = false;
  QString current;
  QString next;
  qint32 index = -1;
  qint32 groupLast = -1;  // the last line shown with `index` (itself without groups)
};

// Moves `displayIndex` to the line current at `key` (with groupLines: the first line of the
// current group, `trackIndex` following the group's last line) and reports a change only when it differs
// from the line last shown; nothing happens while lyrics load or when no file is open.
LineChange ShowCurrentLine(LineCursor& cursor, const LyricsDocument& doc,
                           const PlaybackFacts& facts, qint32 key);

}  // namespace lyrova
