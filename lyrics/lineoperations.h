#pragma once

#include "lyrics/lyricsdocument.h"

#include <QString>
#include <QtGlobal>

// The Editor's in-place edits of the document's lines. Invalid indexes leave the document
// unchanged and are reported by the result.
namespace lyrova {

// Stable sort by time; true if any line moved.
bool SortLines(LyricsDocument& doc);

// Inserts an untimed line (time 0, text without surrounding blanks) before `index`; an index
// below 0 or beyond the last line appends. The document is not re-sorted.
void InsertLineAt(LyricsDocument& doc, const QString& text, qsizetype index);

// Removes the line at `index`; false when there is no such line.
bool DeleteLine(LyricsDocument& doc, qsizetype index);

// Exchanges two whole lines; false unless both indexes name lines.
bool SwapLines(LyricsDocument& doc, qsizetype a, qsizetype b);

// Spreads `totalMs` over all lines and marks every line timed. By lines: line i starts at
// step × i with step = totalMs / count rounded (halves to even). By characters: line i starts at
// per × (characters of the lines before it), per = totalMs / TotalTextLength rounded. False,
// with nothing changed, when totalMs ≤ 0 or there are no lines (by lines) or no characters.
bool AutoTimeLines(LyricsDocument& doc, bool byLines, qint32 totalMs);

// The number of characters of all line texts. A character is one Unicode code point, so a
// Chinese character or one outside the Basic Multilingual Plane counts 1.
qint64 TotalTextLength(const LyricsDocument& doc);

// The number of characters of one text, counted the same way.
qint64 CharacterCount(const QString& text);

}  // namespace lyrova
