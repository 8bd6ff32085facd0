#pragma once

#include "common/listfiles.h"
#include "player/lookup/listfilecache.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVarLengthArray>

// "LrcLink.ini" read once and again only when it changes, its pairs hashed by the song's
// folded path. Not thread-safe: LookupIndex guards it.
namespace lyrova {

class LinkTable {
 public:
  explicit LinkTable(const QString& path) : file_(path) {}

  // The lyrics path of the first pair whose song equals `song` (already trimmed) by
  // SameEntryIgnoringCase, as LyricsLookup::FindLink finds it; "" when no pair does.
  QString Find(const QString& song);

 private:
  ListFileCache file_;
  QList<SongLink> links_;
  // Song key -> the pairs with that key, in file order, so the first match is the first pair.
  QHash<quint64, QVarLengthArray<qsizetype, 1>> bySong_;
};

}  // namespace lyrova
