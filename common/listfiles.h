#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// The two list files of the Player, as text. "LrcDir.ini" holds one search directory a line, in
// search order. "LrcLink.ini" holds pairs of lines: a song's full path, then its lyrics file's
// full path. Both are plain line lists in the ANSI code page (UTF-8 is read too), lines ended by
// CR LF. Everything here is pure: no file is touched, so a fuzz target can drive it from bytes.
namespace lyrova {

// One song-to-lyrics link of "LrcLink.ini", both paths trimmed of blanks.
struct SongLink {
  QString songPath;
  QString lyricsPath;

  friend bool operator==(const SongLink&, const SongLink&) = default;
};

// The directory form kept in the list: blanks trimmed, one trailing "/" removed and the rest
// trimmed again. The root "/" stays "/". A ":" is an ordinary character.
QString NormalizeDir(const QString& text);

// The lines of a list file's bytes, read as ReadTextLines reads a file: encoding detected,
// byte-order mark dropped, any run of CR, LF and NUL one break.
QStringList ListFileLines(QByteArrayView bytes);

// The lines of "LrcDir.ini", each normalised, empty ones left out, in file order. Whether a
// directory exists and whether it repeats an earlier one is decided by the reader of the file.
QStringList ParseSearchDirLines(const QStringList& lines);

// The pairs of "LrcLink.ini" in file order, each line trimmed; a last unpaired line is ignored.
QList<SongLink> ParseLinkPairs(const QStringList& lines);

// The lines that store `links`: song path, then lyrics path, for each link in order.
QStringList LinkPairLines(const QList<SongLink>& links);

// True when the text holds a CR, LF or NUL, which a list file cannot store: written out it
// would split into two lines and shift every record after it.
bool HoldsLineBreak(const QString& text);

}  // namespace lyrova
