#pragma once

#include "lyrics/lyricsdocument.h"

#include <QByteArray>
#include <QString>

// Writes the document as an LRC file, in the expanded layout (one time tag per line) or the
// compressed one (lines of exactly equal text folded into the first of them, which carries all
// their tags).
namespace lyrova {

// The file's text, every line ending in CR LF: the non-blank info fields, an "[offset:N]" that
// makes every written time non-negative (reading the file back subtracts it again), then the
// lines. A line is written with a tag when it is timed and its shifted time is below 100
// minutes; otherwise its text stands alone at its place. Line breaks inside a field or text
// are written as blanks, so every line of the document stays one line of the file.
QString LrcText(const LyricsDocument& doc, bool compressed);

// LrcText encoded in `doc.encoding` (byte-order mark included); `used` receives the encoding
// actually written (UTF-8 with a mark when the ANSI code page cannot hold every character).
QByteArray LrcFileBytes(const LyricsDocument& doc, bool compressed, TextEncoding* used = nullptr);

// Replaces the file at `path` atomically with LrcFileBytes. On failure the old file is left as it
// was and `message` receives "保存歌词时遇到错误," and the system's description of the error.
bool SaveLrc(const LyricsDocument& doc, const QString& path, bool compressed,
             QString* message = nullptr, TextEncoding* used = nullptr);

}  // namespace lyrova
