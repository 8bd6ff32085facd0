#include "player/lookup/lyricslookup.h"

#include "common/casematch.h"
#include "common/listfiles.h"
#include "common/paths.h"
#include "common/programcontract.h"
#include "common/textlines.h"
#include "player/lookup/lookupindex.h"

#include <algorithm>

namespace lyrova {
namespace {

// The file's lines; a missing or unreadable file reads as an empty list.
QStringList ReadListFile(const QString& path) {
  return ReadTextLines(path).value_or(QStringList());
}

qsizetype FindSongLink(const QList<SongLink>& links, const QString& songPath) {
  for (qsizetype i = 0; i < links.size(); ++i)
    if (SameEntryIgnoringCase(links.at(i).songPath, songPath)) return i;
  return -1;
}

// The longest file name most Linux file systems take, in bytes.
constexpr qsizetype kLongestFileNameBytes = 255;

}  // namespace

bool IsTrackName(const QString& song) {
  return !song.contains(u'/') && !TrimBlanks(song).isEmpty();
}

bool SongEntryExists(const QString& song) { return IsTrackName(song) || FileExists(song); }

QString TrackName(const QString& artist, const QString& title) {
  const QString cleanTitle = TrimBlanks(title);
  if (cleanTitle.isEmpty()) return {};
  const QString cleanArtist = TrimBlanks(artist);
  QString name = cleanArtist.isEmpty() ? cleanTitle : cleanArtist + QStringLiteral(" - ") + cleanTitle;
  for (QChar& c : name)
    if (c == u'/' || c.category() == QChar::Other_Control) c = u'_';
  if (name.toUtf8().size() + 4 > kLongestFileNameBytes) return {};
  return name;
}

LyricsLookup::LyricsLookup(const QString& dataFolder, const LookupIndex* index)
    : dataFolder_(dataFolder),
      index_(index && index->DataFolder() == dataFolder ? index : nullptr) {}

QString LyricsLookup::SearchDirFile() const {
  return JoinPath(dataFolder_, kSearchDirFileName);
}

QString LyricsLookup::LinkFile() const {
  return JoinPath(dataFolder_, kLinkFileName);
}

QString LyricsLookup::BuiltInDir() const { return JoinPath(dataFolder_, kBuiltInLyricsFolder); }

QString LyricsLookup::FindLyricsFile(const QString& songPath) const {
  if (TrimBlanks(songPath).isEmpty()) return {};
  const QString linked = FindLink(songPath);
  if (!linked.isEmpty()) return linked;
  const QString beside = StripExtension(songPath) + QStringLiteral(".lrc");
  const QString found = FindFileIgnoringCase(beside);
  if (!found.isEmpty()) return found;
  return FindInSearchDirs(FileNamePart(beside));
}

QString LyricsLookup::FindTrackLyrics(const QString& artist, const QString& title) const {
  const QString name = TrackName(artist, title);
  if (name.isEmpty()) return {};
  const QString linked = FindLink(name);
  if (!linked.isEmpty()) return linked;
  const QString found = FindInSearchDirs(name + QStringLiteral(".lrc"));
  if (!found.isEmpty()) return found;
  const QString titleOnly = TrackName(QString(), title);
  return titleOnly == name ? QString() : FindInSearchDirs(titleOnly + QStringLiteral(".lrc"));
}

QString LyricsLookup::FindInSearchDirs(const QString& name) const {
  if (index_) return index_->FindInSearchDirs(name);
  QString found;
  const QStringList dirs = ReadSearchDirs();
  for (const QString& dir : dirs) {
    found = FindFileIgnoringCase(JoinPath(dir, name));
    if (!found.isEmpty()) return found;
  }
  return {};
}

QStringList LyricsLookup::ReadSearchDirs() const {
  if (index_) return index_->SearchDirs();
  QStringList dirs;
  const QString builtIn = BuiltInDir();
  if (DirExists(builtIn)) dirs.append(builtIn);
  const QStringList listed = ParseSearchDirLines(ReadListFile(SearchDirFile()));
  for (const QString& dir : listed) {
    if (!DirExists(dir)) continue;
    const bool taken = std::any_of(dirs.cbegin(), dirs.cend(), [&dir](const QString& kept) {
      return SameEntryIgnoringCase(kept, dir);
    });
    if (!taken) dirs.append(dir);
  }
  return dirs;
}

bool LyricsLookup::WriteSearchDirs(const QStringList& dirs, QString* error) const {
  QStringList lines;
  lines.reserve(dirs.size());
  for (const QString& dir : dirs)
    if (!HoldsLineBreak(dir)) lines.append(dir);
  return WriteTextLines(SearchDirFile(), lines, TextEncoding::Ansi, error);
}

QString LyricsLookup::FindLink(const QString& songPath) const {
  if (index_) return index_->FindLink(songPath);
  const QString song = TrimBlanks(songPath);
  if (!SongEntryExists(song)) return {};
  const QList<SongLink> links = ParseLinkPairs(ReadListFile(LinkFile()));
  const qsizetype index = FindSongLink(links, song);
  return index < 0 ? QString() : links.at(index).lyricsPath;
}

bool LyricsLookup::SetLink(const QString& songPath, const QString& lyricsPath, QString* error) const {
  const QString song = TrimBlanks(songPath);
  const QString lyrics = TrimBlanks(lyricsPath);
  if (!SongEntryExists(song) || HoldsLineBreak(song) || HoldsLineBreak(lyrics)) return false;
  QList<SongLink> links = ParseLinkPairs(ReadListFile(LinkFile()));
  links.removeIf([](const SongLink& link) {
    return !SongEntryExists(link.songPath) || !FileExists(link.lyricsPath);
  });
  const qsizetype index = FindSongLink(links, song);
  // A blank lyrics path removes the link: stored as an empty line it would vanish on reading
  // and pair every later line with the wrong partner.
  if (!lyrics.isEmpty()) {
    if (index >= 0)
      links[index] = {song, lyrics};
    else
      links.append({song, lyrics});
  } else if (index >= 0) {
    links.removeAt(index);
  }
  return WriteTextLines(LinkFile(), LinkPairLines(links), TextEncoding::Ansi, error);
}

}  // namespace lyrova
