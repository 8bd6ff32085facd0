#pragma once

#include "common/textcodec.h"

#include <QList>
#include <QString>
#include <QtGlobal>

// The in-memory lyrics document shared by the Player and the Editor. It is a plain value owned
// by its caller; every operation on it is a free function taking it by reference.
namespace lyrova {

// One word of a word-timed line ("[00:05.00]<00:05.00>逐<00:05.50>字"), as the Player reads it.
struct LyricWord {
  qint32 time = 0;   // milliseconds after the line's own time, never less than the word before
  qint32 start = 0;  // where the word starts in the line's text; it runs to the next word's start

  friend bool operator==(const LyricWord&, const LyricWord&) = default;
};

struct LyricLine {
  qint32 time = 0;     // milliseconds from the start of the song, the file's offset applied
  QString text;
  bool timed = false;  // Editor: the line carried its own time tag (false: it inherited a time)
  // Player: the index of the line's words in LyricsDocument::words, or -1 when the line has no
  // word timing. Every line made from one file line shares its words.
  qint32 words = -1;

  friend bool operator==(const LyricLine&, const LyricLine&) = default;
};

// A header line of a tag the suite does not interpret ("[kuwo:123]", "[length:03:20]"): the
// Editor keeps it so that a save writes it back as it stood.
struct HeaderTag {
  QString key;    // the part before the ":"
  QString value;  // the part after it, blanks kept
  QString line;   // the whole line as read, written back unchanged

  friend bool operator==(const HeaderTag&, const HeaderTag&) = default;
};

// Invariant kept by the reader and by InsertLyricLine: `lines` ascends by `time`, and lines of
// equal time keep the order in which they were inserted. The Editor's line operations
// (InsertLineAt, SwapLines, AutoTimeLines) may break the order on purpose; SortLines restores it.
struct LyricsDocument {
  QString title;   // last "ti" tag
  QString artist;  // last "ar" tag
  QString album;   // last "al" tag
  QString by;      // last "by" tag (author of the lyrics file)
  qint32 offset = 0;  // last valid "offset" tag, already applied to the line times
  QList<HeaderTag> tags;  // Editor: lines of other header tags, in file order
  QList<LyricLine> lines;
  QList<QList<LyricWord>> words;  // Player: the word timing of lines, see LyricLine::words
  // The encoding the file was read in; SaveLrc writes the same. New documents use ANSI.
  TextEncoding encoding = TextEncoding::Ansi;

  qsizetype count() const { return lines.size(); }

  friend bool operator==(const LyricsDocument&, const LyricsDocument&) = default;
};

// Empties the info fields, the header tags, the lines and their words, sets `offset` to 0 and the encoding to ANSI.
void ClearLyrics(LyricsDocument& doc);

// The text a line stores: `text` without leading and trailing blanks, except that a text made
// only of blanks is kept as it is (so a line of blanks keeps its blanks).
QString StoredLineText(const QString& text);

// Sorts the lines by time, keeping lines of equal time in their order (a stable sort that needs
// only 8 bytes of extra memory per line). Returns whether any line moved.
bool SortByTime(QList<LyricLine>& lines);

// Inserts one line after every line whose time is not later than `time` (binary search), with
// its text stored as StoredLineText. `restart` first discards all lines.
void InsertLyricLine(LyricsDocument& doc, qint32 time, const QString& text, bool timed,
                     bool restart = false);

}  // namespace lyrova

// Lines are moved, not copied, when the list grows.
Q_DECLARE_TYPEINFO(lyrova::LyricLine, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(lyrova::LyricWord, Q_PRIMITIVE_TYPE);
