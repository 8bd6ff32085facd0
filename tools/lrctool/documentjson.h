#pragma once

#include "lyrics/lyricsdocument.h"

#include <QByteArray>

namespace lyrova {

// The document as one JSON object in UTF-8, keys in a fixed order: "title", "artist", "album",
// "by", "offset", "lines" (each {"time", "text"} plus "timed" when `withTimed`).
QByteArray DocumentJson(const LyricsDocument& doc, bool withTimed);

}  // namespace lyrova
