#pragma once

#include "lyrics/lyricsdocument.h"

#include <QByteArray>

namespace lyrova {

// The document as one JSON object in UTF-8, keys in a fixed order: "title", "artist", "album",
// "by", "offset", then with `editor` "tags" (the other header tags as [key, value] pairs in file
// order), then "lines" (each {"time", "text"} plus "timed" with `editor`, and "words", a list of
// {"time", "text"} with the words' times from the song's start, when the line has word timing).
QByteArray DocumentJson(const LyricsDocument& doc, bool editor);

}  // namespace lyrova
