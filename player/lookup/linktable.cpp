#include "player/lookup/linktable.h"

#include "common/casematch.h"

namespace lyrova {

QString LinkTable::Find(const QString& song) {
  if (file_.Refresh()) {
    links_ = ParseLinkPairs(file_.Lines());
    bySong_.clear();
    for (qsizetype i = 0; i < links_.size(); ++i) bySong_[CaseKey(links_.at(i).songPath)].append(i);
  }
  const auto pairs = bySong_.constFind(CaseKey(song));
  if (pairs == bySong_.cend()) return {};
  for (const qsizetype index : *pairs)
    if (SameEntryIgnoringCase(links_.at(index).songPath, song)) return links_.at(index).lyricsPath;
  return {};
}

}  // namespace lyrova
