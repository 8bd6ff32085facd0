#pragma once

#include "lyrics/lyricsdocument.h"

#include <QByteArrayView>
#include <QString>

// The LRC reader shared by both programs. The Editor keeps untagged text lines (they take the
// earliest time of the last timed line before them), the `timed` flag, other header tags and
// word tags as typed; the Player drops untagged lines, always trims the text, takes word tags
// out of it into the document's `words`, raises negative times to 0 and puts an empty line at
// 0 ms before a later first lyric.
namespace lyrova {

enum class ReaderMode { Editor, Player };

// Parses the bytes of a whole LRC file into `doc`, replacing it. The encoding is detected once
// (a UTF-8 byte-order mark is dropped first) and remembered in `doc.encoding`. Every time tag of
// a line becomes its own line; lines end up in time order, equal times in file order; the offset
// is applied once at the end. Malformed tags are ignored. The only failure is an "offset" whose
// value leaves the 32-bit range: then `error` is set and `doc` is left unchanged.
bool ReadLrcBytes(LyricsDocument& doc, QByteArrayView bytes, ReaderMode mode,
                  QString* error = nullptr);

// Reads the file at `path` into `doc`. On failure in the Editor mode `doc` is left unchanged
// and `message` receives the complete text to show: "装入歌词时遇到错误," and the system's
// description of the error. In the Player mode a failure empties `doc` and gives no message
// (`message` is cleared). `message` is cleared on success.
bool LoadLrc(LyricsDocument& doc, const QString& path, ReaderMode mode = ReaderMode::Editor,
             QString* message = nullptr);

}  // namespace lyrova
