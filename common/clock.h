#pragma once

#include <QString>
#include <QtGlobal>

// Clock texts for playback positions and lengths. Both formatters remember their last result
// and its whole second, so the 10 ms playback tick formats text at most once a second.
// They keep that memory per thread and are meant for the user-interface thread.
namespace lyrova {

// The Player's clock: "mm:ss" below an hour, "hh:mm:ss" (hours with at least two digits) from
// an hour on. A negative time is shown as "-" before the clock of its magnitude.
QString FormatClock(qint32 ms);

// The Editor's clock: always "hh:mm:ss", each field at least two digits; -1 (no time) gives
// 8 blanks. Other negative times are shown as "-" before the clock of their magnitude.
QString FormatEditorClock(qint32 ms);

}  // namespace lyrova
