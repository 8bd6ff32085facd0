#pragma once

#include <QString>
#include <QStringList>

// Finding a song's lyrics file without asking, and the two list files behind it, which live in
// the data folder (lyrova::DataFolder() in the programs):
//   "LrcLink.ini"  explicit links from songs to lyrics files (pairs of lines);
//   "LrcDir.ini"   search directories, in search order (one a line);
//   "Lrc"          the built-in search directory, always searched first when it exists.
// Without an index nothing is cached: every call reads the list files anew. With a
// LookupIndex of the same data folder, FindLyricsFile, ReadSearchDirs and FindLink ask it
// instead, with the same results (see lookupindex.h); an index of another data folder is not
// used. Either way a change made by the dialogs or by the Scanner counts from the next call
// on. No operation shows a message; missing or unreadable list files behave as empty lists,
// and a failed write leaves the old file intact (list files are replaced atomically).
namespace lyrova {

class LookupIndex;

// A song of the link list and of the lookup is a file path or, for a track another player plays
// without a file of its own, its track name ("artist - title", or the title alone; see
// TrackName). A track name holds no "/", which tells the two apart, and it never goes missing.
bool IsTrackName(const QString& song);
bool SongEntryExists(const QString& song);

// The track name of a track that has no file: "artist - title", or the title when the artist
// is blank. A "/" (which no file name can hold) and control characters become "_". "" when
// the title is blank or the name could not be a file name (longer than a file system allows).
QString TrackName(const QString& artist, const QString& title);

class LyricsLookup {
 public:
  // `index`, when given, must outlive this object; it may be shared by any number of them.
  explicit LyricsLookup(const QString& dataFolder, const LookupIndex* index = nullptr);

  QString SearchDirFile() const;  // the path of "LrcDir.ini"
  QString LinkFile() const;       // the path of "LrcLink.ini"
  QString BuiltInDir() const;     // the path of the built-in "Lrc" folder

  // The lyrics file for a song; "" when none is found. In this order:
  //  1. the song's link, returned unchanged even when the linked file has vanished (loading
  //     it reports that);
  //  2. the song's own path with ".lrc" instead of its extension;
  //  3. that file name in each search directory of ReadSearchDirs, in list order.
  // Steps 2 and 3 try the exact name first, then a name in the same folder that differs only
  // in letter case (see FindFileIgnoringCase); nothing else, no partial names.
  QString FindLyricsFile(const QString& songPath) const;

  // The lyrics of a track another player plays without a file of its own, by its track name
  // (TrackName(artist, title)): its link, then "name.lrc" in the search directories, then
  // "title.lrc" there; "" when the track has no usable name.
  QString FindTrackLyrics(const QString& artist, const QString& title) const;

  // The built-in folder when it exists, then every line of "LrcDir.ini" that, normalised,
  // names an existing directory not already taken (compared ignoring letter case).
  QStringList ReadSearchDirs() const;

  // Replaces "LrcDir.ini" with `dirs`, one a line, exactly as given. An entry holding a line
  // break cannot be stored and is left out. False when the file could not be written, with
  // `error` (when given) saying why.
  bool WriteSearchDirs(const QStringList& dirs, QString* error = nullptr) const;

  // The lyrics path linked to the song (blanks trimmed); "" when the song file does not exist or
  // has no link (a track name always exists). When a song has several pairs the first wins.
  QString FindLink(const QString& songPath) const;

  // Links the song to `lyricsPath`, replacing its first pair in place, or appends a new pair;
  // with an empty (or blank) `lyricsPath` removes the song's pair. The rewrite keeps only pairs
  // whose song and lyrics files both still exist. Does nothing and returns false when the song
  // does not exist or a path holds a line break; false too when the file could not be written,
  // and then `error` (when given) says why.
  bool SetLink(const QString& songPath, const QString& lyricsPath, QString* error = nullptr) const;

 private:
  // `name` in the search directories, in list order (exact name first, then letter case).
  QString FindInSearchDirs(const QString& name) const;

  QString dataFolder_;
  const LookupIndex* index_ = nullptr;
};

}  // namespace lyrova
